#include "lbitset.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <new>

#include "strbufs.h"

namespace lorvan {

static_assert(sizeof(LBitSetRep) % alignof(SBitSet) == 0,
              "the words must be aligned right behind the representation");

namespace internal {
void negative_bit_fault(int bit) {
  std::cerr << "lbitset: LBitSet::set(" << bit << "): Assertion `bit>=0' failed."
            << std::endl;
  std::abort();
}
}  // namespace internal

namespace {

constexpr int kMaxPackedWords = 0xFFFF;

void report_bad_range(const char* op, int a, int b) {
  std::cerr << "LBitSetRep::" << op << "(" << a << ", " << b << ")" << std::endl;
}

// Number of words that hold members 0..last.
int words_to_hold(int last) { return last / 32 + 1; }

// Calls f(word, lo, hi) for every word touched by members a..b (0 <= a <=
// b), with lo..hi the range relative to that word; SBitSet's ranged
// operations clip it to the word.
template <class F>
void for_each_word_in_range(SBitSet* words, int a, int b, F f) {
  for (int w = a / 32; w <= b / 32; ++w) f(words[w], a - 32 * w, b - 32 * w);
}

}  // namespace

// ---- LBitSetRep -------------------------------------------------------------

LBitSetRep* LBitSetRep::make(int nwords, bool vbits, int capacity) {
  capacity = std::max(nwords, capacity);
  void* block = ::operator new(sizeof(LBitSetRep) + sizeof(SBitSet) * capacity);
  LBitSetRep* rep = new (block) LBitSetRep(capacity, vbits);
  rep->extend(nwords);
  return rep;
}

LBitSetRep* LBitSetRep::copy(int nwords, int capacity) const {
  nwords = std::max(nwords, nwords_);
  LBitSetRep* rep = make(0, vbits_, std::max(nwords, capacity));
  std::uninitialized_copy_n(words(), nwords_, rep->words());
  rep->nwords_ = nwords_;
  rep->extend(nwords);
  return rep;
}

void LBitSetRep::extend(int nwords) {
  if (nwords <= nwords_) return;
  std::uninitialized_fill_n(words() + nwords_, nwords - nwords_, SBitSet(virtual_word()));
  nwords_ = nwords;
}

void LBitSetRep::destroy(LBitSetRep* rep) {
  rep->~LBitSetRep();
  ::operator delete(rep);
}

// ---- LBitSet: construction and ownership -------------------------------------

LBitSet::LBitSet(int n, const int* values) {
  if (n <= 0) return;
  rep_ = LBitSetRep::make(words_to_hold(n - 1), false);
  if (values == nullptr) return;
  for (; *values >= 0 && *values < n; ++values) set(*values);
}

LBitSetRep* LBitSet::own(int min_words) {
  if (rep_ == nullptr) return rep_ = LBitSetRep::make(min_words, false);
  const int n = std::max(min_words, rep_->nwords());
  const bool shared = rep_->refs() > 1;
  if (!shared && n <= rep_->capacity()) {
    rep_->extend(n);
    return rep_;
  }
  // A private copy of a shared set gets exactly what it needs; a set that
  // outgrows its own room doubles it, so growing member by member stays
  // linear.
  const int capacity = shared ? n : std::max(n, 2 * rep_->capacity());
  LBitSetRep* copy = rep_->copy(n, capacity);
  LBitSetRep::unref(rep_);
  return rep_ = copy;
}

// ---- LBitSet: members --------------------------------------------------------

void LBitSet::set_slow(int i) {
  if (i < 0) internal::negative_bit_fault(i);
  if (test(i)) return;  // includes the virtual members of an inverted set
  own(words_to_hold(i))->words()[i / 32].set(i % 32);
}

void LBitSet::set(int a, int b) {
  if (b < a) return report_bad_range("set", a, b);
  if (a < 0) internal::negative_bit_fault(a);
  if (vbits()) {
    b = std::min(b, nwords() * 32 - 1);
    if (b < a) return;
  }
  for_each_word_in_range(own(words_to_hold(b))->words(), a, b,
                         [](SBitSet& w, int lo, int hi) { w.set(lo, hi); });
}

void LBitSet::clear() {
  if (rep_ == nullptr) return;
  if (rep_->refs() > 1) {
    LBitSetRep::unref(rep_);
    rep_ = nullptr;
    return;
  }
  std::fill_n(rep_->words(), rep_->nwords(), SBitSet());
  rep_->set_vbits(false);
}

void LBitSet::clear(int i) {
  if (!test(i)) return;
  own(words_to_hold(i))->words()[i / 32].clear(i % 32);
}

void LBitSet::clear(int a, int b) {
  if (b < a) return report_bad_range("clear", a, b);
  a = std::max(a, 0);
  if (!vbits()) b = std::min(b, nwords() * 32 - 1);  // nothing is set beyond
  if (b < a) return;
  for_each_word_in_range(own(words_to_hold(b))->words(), a, b,
                         [](SBitSet& w, int lo, int hi) { w.clear(lo, hi); });
}

void LBitSet::invert() {
  LBitSetRep* rep = own(0);
  for (int w = 0; w < rep->nwords(); ++w) rep->words()[w].invert();
  rep->set_vbits(!rep->vbits());
}

void LBitSet::invert(int a, int b) {
  if (b < a) return report_bad_range("invert", a, b);
  a = std::max(a, 0);
  if (b < a) return;
  for_each_word_in_range(own(words_to_hold(b))->words(), a, b,
                         [](SBitSet& w, int lo, int hi) { w.invert(lo, hi); });
}

// ---- LBitSet: queries --------------------------------------------------------

int LBitSet::count() const {
  int n = 0;
  const SBitSet* words = rep_ != nullptr ? rep_->words() : nullptr;
  for (int w = 0; w < nwords(); ++w) n += words[w].count();
  return n;
}

bool LBitSet::empty() const {
  if (vbits()) return false;
  for (int w = 0; w < nwords(); ++w) {
    if (word(w) != 0) return false;
  }
  return true;
}

bool LBitSet::full() const {
  if (!vbits()) return false;
  for (int w = 0; w < nwords(); ++w) {
    if (word(w) != ~std::uint32_t{0}) return false;
  }
  return true;
}

int LBitSet::singleton() const {
  if (vbits()) return -1;
  LBitSetIterator it(*this);
  const int first = it.next();
  return first >= 0 && it.next() < 0 ? first : -1;
}

int LBitSet::cmp(const LBitSet& other) const {
  if (rep_ == other.rep_) return 0;
  SetRelation relation;
  const int common = std::min(nwords(), other.nwords());
  if (common > 0) {
    const SBitSet* a = rep_->words();
    const SBitSet* b = other.rep_->words();
    for (int w = 0; w < common && !relation.decided(); ++w) relation.add(a[w].word(), b[w].word());
  }
  // The longer set's remaining words meet the other's virtual word.
  const int n = std::max(nwords(), other.nwords());
  for (int w = common; w < n && !relation.decided(); ++w) relation.add(word(w), other.word(w));
  relation.add(virtual_word(), other.virtual_word());
  return relation.result();
}

// ---- LBitSet: set algebra ----------------------------------------------------

// Applies op word by word, this set's words on the left; beyond its stored
// words each side contributes its virtual word, and op of the two virtual
// words gives the new flag.  `other` may be this very set.
template <class Op>
LBitSet& LBitSet::combine(const LBitSet& other, Op op) {
  // Every operation maps two empty operands to the empty set.
  if (rep_ == nullptr && other.rep_ == nullptr) return *this;
  const bool vbits = op(virtual_word(), other.virtual_word()) != 0;
  LBitSetRep* rep = own(other.nwords());
  SBitSet* words = rep->words();
  for (int w = 0; w < rep->nwords(); ++w) words[w] = SBitSet(op(words[w].word(), other.word(w)));
  rep->set_vbits(vbits);
  return *this;
}

LBitSet& LBitSet::operator|=(const LBitSet& other) {
  return combine(other, [](std::uint32_t a, std::uint32_t b) { return a | b; });
}

LBitSet& LBitSet::operator&=(const LBitSet& other) {
  return combine(other, [](std::uint32_t a, std::uint32_t b) { return a & b; });
}

LBitSet& LBitSet::operator^=(const LBitSet& other) {
  return combine(other, [](std::uint32_t a, std::uint32_t b) { return a ^ b; });
}

LBitSet& LBitSet::operator-=(const LBitSet& other) {
  return combine(other, [](std::uint32_t a, std::uint32_t b) { return a & ~b; });
}

// ---- LBitSet: binary form and printing -----------------------------------------

void LBitSet::pack(StrBufs& buf) const {
  const int n = std::min(nwords(), kMaxPackedWords);
  buf.push_short(n);
  for (int w = 0; w < n; ++w) buf.push_int(static_cast<int>(word(w)));
}

void LBitSet::unpack(const char*& cursor) {
  const int n = StrBufs::get_unsigned_short(cursor);
  LBitSet result;
  if (n > 0) {
    LBitSetRep* rep = LBitSetRep::make(n, false);
    result = LBitSet(rep);
    for (int w = 0; w < n; ++w) rep->words()[w] = SBitSet(StrBufs::get_unsigned_int(cursor));
  }
  *this = std::move(result);
}

void LBitSet::print(std::ostream& out) const {
  if (rep_ == nullptr) {
    out << "empty_bitset";
    return;
  }
  LBitSetIterator it(*this);
  const char* separator = "";
  for (int m = it.next(); m >= 0; m = it.next()) {
    out << separator << m;
    separator = " ";
  }
  if (vbits()) out << " vbits=" << 1;
}

std::ostream& operator<<(std::ostream& out, const LBitSet& set) {
  set.print(out);
  return out;
}

// ---- sort_by_count -------------------------------------------------------------

void sort_by_count(std::vector<LBitSet>& list) {
  std::vector<LBitSetCount> counted;
  counted.reserve(list.size());
  for (LBitSet& set : list) {
    const int count = set.count();
    counted.push_back({std::move(set), count});
  }
  list.clear();
  std::stable_sort(counted.begin(), counted.end(),
                   [](const LBitSetCount& a, const LBitSetCount& b) { return a.count > b.count; });
  for (LBitSetCount& c : counted) list.push_back(std::move(c.set));
}

}  // namespace lorvan
