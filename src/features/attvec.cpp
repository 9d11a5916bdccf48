#include "features/attvec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iostream>
#include <vector>

#include "byte_reader.h"
#include "command/irslist.h"
#include "strbufs.h"
#include "tarray.h"

namespace lorvan {
namespace {

std::uint32_t word_of(const LBitSetRep* rep, int k) { return rep != nullptr ? rep->word(k) : 0; }

// Word k of a mask, all members when there is no mask.
std::uint32_t mask_word(const LBitSet* mask, int k) {
  return mask != nullptr ? word_of(mask->rep(), k) : ~std::uint32_t{0};
}

// Calls f(i) for every member i of `set` that is also in `mask` (all when
// null), in increasing order.  The caller keeps `set` alive and unchanged.
template <class F>
void visit_members(const LBitSet& set, const LBitSet* mask, F f) {
  const LBitSetRep* rep = set.rep();
  if (rep == nullptr) return;
  const int n = rep->nwords();
  for (int k = 0; k < n; ++k) {
    for (std::uint32_t bits = rep->word(k) & mask_word(mask, k); bits != 0; bits &= bits - 1) {
      f((k << 5) + std::countr_zero(bits));
    }
  }
}

// Bits below the lowest member of `bits` (all bits when it is empty).
std::uint32_t below_lowest(std::uint32_t bits) {
  return bits != 0 ? (bits & (~bits + 1)) - 1 : ~std::uint32_t{0};
}

// Binary codes: one signed byte, or two bytes for types with more than 125
// attributes.
constexpr int kMaxByteCodedAttributes = 125;

}  // namespace

AttInterpreterList* AttVec::the_itp_list = nullptr;

// ---------------------------------------------------------------- life

AttVec::AttVec(IRSlist* text, const AttInterpreterList* t) {
  interpreter_list(t);
  initialize(text);
}

AttVec::AttVec(const AttVec& v, const LBitSet* mask) : RefCounter() {
  if (v.type_ == nullptr) return;
  interpreter_list(v.type_);
  unify(v, mask, 1);
}

AttVec& AttVec::operator=(const AttVec& w) {
  copy(w);
  return *this;
}

AttVec::~AttVec() { release_values(); }

void AttVec::interpreter_list(const AttInterpreterList* t) {
  if (t == nullptr) {
    std::cerr << "Creating AttVec with nil Interpreter\n";
    return;
  }
  release_values();
  type_ = t;
  defined_ = LBitSet(t->num_attributes());
  binary_ = LBitSet(t->num_attributes());
  allocate_storage();
}

void AttVec::allocate_storage() {
  nwords_ = type_->word_count();
  nbytes_ = type_->byte_count();
  words_.reset(new AttVal[storage_words()]());
}

void AttVec::grow_storage(int word_pos, int byte_pos) {
  const int old_words = nwords_;
  const int old_bytes = nbytes_;
  std::unique_ptr<AttVal[]> old = std::move(words_);
  const unsigned char* old_bytes_at = reinterpret_cast<const unsigned char*>(old.get() + old_words);
  allocate_storage();
  std::copy_n(old.get(), old_words, words_.get());
  std::copy_n(old_bytes_at, old_bytes, bytes());
  // A position the type does not have is a programming error.
  if (word_pos >= nwords_) tarray_index_fault(word_pos, nwords_);
  if (byte_pos >= nbytes_) tarray_index_fault(byte_pos, nbytes_);
}

void AttVec::release_values() {
  if (type_ == nullptr) return;
  const LBitSetRep* releasing = type_->release_mask().rep();
  if (releasing == nullptr) return;
  const LBitSetRep* defined = defined_.rep();
  const int n = std::min(releasing->nwords(), defined != nullptr ? defined->nwords() : 0);
  for (int k = 0; k < n; ++k) {
    for (std::uint32_t bits = defined->word(k) & releasing->word(k); bits != 0; bits &= bits - 1) {
      interpreter((k << 5) + std::countr_zero(bits))->del_val(this);
    }
  }
}

// ---------------------------------------------------------------- values

void AttVec::set_val(int i, AttVal value) {
  AttInterpreter* att = interpreter(i);
  defined_.set(i);
  att->set_val(this, value);
}

void AttVec::undefine(int i) {
  if (!defined_.test(i)) return;
  defined_.clear(i);
  interpreter(i)->del_val(this);
}

const char* AttVec::str_val(int i) const {
  return defined_.test(i) ? interpreter(i)->str_val(get_val(i)) : nullptr;
}

void AttVec::init() {
  release_values();
  defined_.clear();
  binary_.clear();
  if (words_ != nullptr) std::fill_n(words_.get(), storage_words(), AttVal{0});
}

// ---------------------------------------------------------------- reading

void AttVec::initialize(IRSlist* text) {
  if (text == nullptr || type_ == nullptr) return;
  while (IRSlist* first = text->remove_first()) {
    std::unique_ptr<IRSlist> element(first);
    const char* name = element->is_list() ? element->get_val() : element->val();
    if (name == nullptr) {
      std::cerr << "() is used as attribute name.\n";
      return;
    }
    int index = 0;
    if (AttInterpreter* att = type_->search_att_index(name, index)) {
      const AttVal x = att->make_val(element.get());
      att->unify_val(this, index, x, 1);
      // A shared value that lost to one read before is not held by anyone.
      if (x != 0 && att->releases_values() && att->att_val(this) != x) att->discard_val(x);
    } else if (const AttVec* alias = type_->search_alias(name)) {
      unify(*alias, nullptr, 1);
    } else {
      std::cerr << "Unknown attribute " << name << '\n';
    }
  }
}

// ---------------------------------------------------- unification, cmp

bool AttVec::same_type(const AttVec& w, const char* op) const {
  if (w.type_ == type_) return true;
  std::cerr << "AttVec::" << op << ": the vectors have different types ("
            << (type_ != nullptr ? type_->name() : "none") << ", "
            << (w.type_ != nullptr ? w.type_->name() : "none") << ")\n";
  return false;
}

int AttVec::unify(const AttVec& w, const LBitSet* mask, int doit) {
  const LBitSetRep* members = w.defined_.rep();
  if (members == nullptr || this == &w) return 1;
  if (w.type_ != type_ && !same_type(w, "unify")) return 0;
  const int n = members->nwords();
  for (int k = 0; k < n; ++k) {
    const std::uint32_t bits = members->word(k) & mask_word(mask, k);
    if (bits != 0 && unify_word(w, k, bits, doit) == 0) return 0;
  }
  return 1;
}

// One word of unification.  Binary attributes are handled a word at a time,
// exactly as the attribute-by-attribute walk would: a conflict at binary
// attribute c stops the walk there, so only the attributes below c (or
// below a failing non-binary attribute) are changed.
int AttVec::unify_word(const AttVec& w, int k, std::uint32_t members, int doit) {
  const std::uint32_t binary = members & word_of(type_->binary_mask().rep(), k);
  const std::uint32_t here = word_of(defined_.rep(), k);
  const std::uint32_t w_values = word_of(w.binary_.rep(), k);
  const std::uint32_t conflicts = binary & here & (word_of(binary_.rep(), k) ^ w_values);
  std::uint32_t reached = below_lowest(conflicts);
  bool ok = conflicts == 0;
  const int base = k << 5;
  for (std::uint32_t bits = members & ~binary & reached; bits != 0; bits &= bits - 1) {
    const int bit = std::countr_zero(bits);
    AttInterpreter* att = interpreter(base + bit);
    if (att->unify_val(this, base + bit, att->att_val(&w), doit) == 0) {
      reached = (std::uint32_t{1} << bit) - 1;
      ok = false;
      break;
    }
  }
  if (doit != 0) {
    for (std::uint32_t bits = binary & ~here & reached; bits != 0; bits &= bits - 1) {
      const int bit = std::countr_zero(bits);
      defined_.set(base + bit);
      set_binary_bit(base + bit, ((w_values >> bit) & 1) != 0);
    }
  }
  return ok ? 1 : 0;
}

void AttVec::modify_with(const AttVec& w, const LBitSet* mask) {
  if (this == &w || !same_type(w, "modify_with")) return;
  const LBitSet members = w.defined_;
  visit_members(members, mask,
                [&](int i) { interpreter(i)->modify_val(this, i, w.get_val(i)); });
}

void AttVec::complement_with(const AttVec& w, const LBitSet* mask) {
  if (this == &w || !same_type(w, "complement_with")) return;
  const LBitSet members = w.defined_;
  visit_members(members, mask,
                [&](int i) { interpreter(i)->unify_val(this, i, w.get_val(i), 1); });
}

int AttVec::cmp(const AttVec& w, const LBitSet* mask) const {
  if (this == &w) return 0;
  if (w.type_ != type_ && !same_type(w, "cmp")) return 2;
  const LBitSetRep* mine = defined_.rep();
  const LBitSetRep* theirs = w.defined_.rep();
  const int n = std::max(mine != nullptr ? mine->nwords() : 0,
                         theirs != nullptr ? theirs->nwords() : 0);
  bool more_here = false;
  bool more_there = false;
  for (int k = 0; k < n; ++k) {
    const std::uint32_t m = mask_word(mask, k);
    const std::uint32_t a = word_of(mine, k) & m;
    const std::uint32_t b = word_of(theirs, k) & m;
    more_here = more_here || (a & ~b) != 0;
    more_there = more_there || (b & ~a) != 0;
  }
  if (more_here && more_there) return 2;
  int r = more_here ? 1 : (more_there ? -1 : 0);
  // Walk the smaller set.
  const LBitSetRep* smaller = r == 1 ? theirs : mine;
  const LBitSetRep* binary_mask = type_ != nullptr ? type_->binary_mask().rep() : nullptr;
  for (int k = 0; k < n; ++k) {
    const std::uint32_t members = word_of(smaller, k) & mask_word(mask, k);
    if (members == 0) continue;
    const std::uint32_t binary = members & word_of(binary_mask, k);
    if ((binary & (word_of(binary_.rep(), k) ^ word_of(w.binary_.rep(), k))) != 0) return 2;
    for (std::uint32_t bits = members & ~binary; bits != 0; bits &= bits - 1) {
      const int i = (k << 5) + std::countr_zero(bits);
      const AttInterpreter* att = interpreter(i);
      const int c = att->cmp_vals(att->att_val(this), att->att_val(&w));
      if (c == 0) continue;
      if (r == 0) {
        r = c;
      } else if (r != c) {
        return 2;
      }
    }
  }
  return r;
}

void AttVec::minus(const AttVec& w, const LBitSet* mask) {
  if (!same_type(w, "minus")) return;
  const LBitSet members = w.defined_;
  visit_members(members, mask, [&](int i) { interpreter(i)->minus(this, &w); });
}

void AttVec::intersect(const AttVec& w, const LBitSet* mask) {
  if (this == &w || !same_type(w, "intersect")) return;
  const LBitSet members = w.defined_;
  visit_members(members, mask, [&](int i) { interpreter(i)->intersect(this, &w); });
  // Then what w leaves out goes, a word at a time.  The word is read before
  // its members are undefined, so this vector's set is never copied.
  for (int k = 0; k < defined_.nwords(); ++k) {
    const std::uint32_t kept = word_of(members.rep(), k) & mask_word(mask, k);
    for (std::uint32_t bits = word_of(defined_.rep(), k) & ~kept; bits != 0; bits &= bits - 1) {
      undefine((k << 5) + std::countr_zero(bits));
    }
  }
}

// ---------------------------------------------------------------- copies

void AttVec::copy(const AttVec& w) {
  if (w.type_ == nullptr || this == &w) return;
  if (type_ != w.type_) {
    interpreter_list(w.type_);
  } else {
    init();
  }
  defined_ |= w.defined_;
  binary_ |= w.binary_;
  visit_members(w.defined_, nullptr, [&](int i) {
    if (!is_binary(i)) {
      AttInterpreter* att = interpreter(i);
      att->set_val(this, att->att_val(&w));
    }
  });
}

AttVec* AttVec::desharing(AttVec*& p) {
  if (p != nullptr && p->shared()) {
    p->dec_ref_cnt();
    p = new AttVec(*p, nullptr);
    p->inc_ref_cnt();
  }
  return p;
}

// ---------------------------------------------------------------- printing

void AttVec::print_attributes(std::ostream& out, const LBitSet* mask, bool first) const {
  visit_members(defined_, mask, [&](int i) {
    if (!first) out << ' ';
    first = false;
    interpreter(i)->print(out, this);
  });
}

void AttVec::print(std::ostream& out, const LBitSet* mask, int use_aliases) const {
  if (use_aliases == 0 || type_ == nullptr) {
    out << '(';
    if (type_ != nullptr) print_attributes(out, mask, true);
    out << ')';
    return;
  }
  AttVec rest(*this, nullptr);
  bool first = true;
  const std::vector<const AttInterpreterList::Alias*>& order = type_->alias_order();
  std::vector<char> skipped(order.size(), 0);
  out << '(';
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (skipped[k] != 0) continue;
    const AttVec& alias = *order[k]->vec;
    const int c = cmp(alias);
    if (c != 0 && c != 1) continue;
    if (!first) out << ' ';
    first = false;
    out << order[k]->name;
    for (int g : type_->more_general_aliases(static_cast<int>(k))) {
      skipped[static_cast<std::size_t>(g)] = 1;
    }
    rest.minus(alias);
  }
  rest.print_attributes(out, mask, first);
  out << ')';
}

void prav(const AttVec* v) {
  if (v == nullptr) {
    std::cerr << "( )\n";
    return;
  }
  v->print(std::cerr, nullptr, 1);
  std::cerr << '\n';
}

// ---------------------------------------------------------------- binary form

void AttVec::pack(StrBufs& out) const {
  const int n = num_attributes();
  const bool wide = n > kMaxByteCodedAttributes;
  auto put_code = [&](int code) {
    if (wide) {
      out.push_short(code);
    } else {
      out.push_char(static_cast<char>(code));
    }
  };
  if (type_ != nullptr) {
    visit_members(defined_, nullptr, [&](int i) {
      AttInterpreter* att = interpreter(i);
      if (is_binary(i)) {
        put_code(binary_bit(i) ? i : ~i);
      } else if (att->att_val(this) == 0) {
        put_code(~i);
      } else {
        put_code(i);
        att->pack(this, out);
      }
    });
  }
  put_code(n + 1);
}

namespace {

bool unpack_fault(const char* what, int code) {
  std::cerr << "AttVec::unpack: " << what;
  if (code != 0) std::cerr << ' ' << code;
  std::cerr << '\n';
  return false;
}

}  // namespace

bool AttVec::unpack(ByteReader& in) {
  if (type_ == nullptr) return unpack_fault("the vector has no type", 0);
  const int n = num_attributes();
  const bool wide = n > kMaxByteCodedAttributes;
  for (;;) {
    const int code = wide ? static_cast<short>(in.get_unsigned_short())
                          : static_cast<signed char>(in.get_char());
    if (!in.ok()) return unpack_fault("truncated binary form", 0);
    if (code > n) return true;
    const int i = code >= 0 ? code : ~code;
    if (i >= n) return unpack_fault("bad attribute code", code);
    if (is_binary(i)) {
      defined_.set(i);
      set_binary_bit(i, code >= 0);
    } else if (code < 0) {
      set_val(i, 0);
    } else {
      defined_.set(i);
      interpreter(i)->unpack(this, in);
      if (!in.ok()) return unpack_fault("truncated binary form", 0);
    }
  }
}

bool AttVec::unpack(const char*& cursor, const char* end) {
  ByteReader in(cursor, static_cast<std::size_t>(end - cursor));
  const bool ok = unpack(in);
  cursor = in.cursor();
  return ok;
}

// ---------------------------------------------------------------- sets

LBitSet get_att_set(IRSlist* s) {
  LBitSet set;
  if (s == nullptr || !s->is_list() || AttVec::the_itp_list == nullptr) return set;
  AttVec::the_itp_list->make_att_set(set, s);
  return set;
}

}  // namespace lorvan
