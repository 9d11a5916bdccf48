#include "features/disjatt.h"

#include <cstring>
#include <iostream>
#include <string_view>

#include "byte_reader.h"
#include "command/irslist.h"
#include "features/attvec.h"

namespace lorvan {

// ----------------------------------------------------------- AttValueTable

void AttValueTable::read(IRSlist* facets, const char* name, int limit) {
  if (facets == nullptr) return;
  for (IRSlist* facet = facets->first(); facet != nullptr; facet = facet->next()) {
    if (!facet->is_list()) continue;
    const char* head = facet->get_val(0);
    if (head == nullptr || std::string_view(head) != "allowable-values") continue;
    values_.add_high("~");
    int count = 0;
    for (IRSlist* value = facet->first()->next(); value != nullptr; value = value->next()) {
      if (value->is_list() || value->val() == nullptr) continue;
      values_.add_high(value->val());
      ++count;
    }
    if (count > limit) {
      std::cerr << "The attribute " << name << " can only have up to " << limit << " values, "
                << count << " found.\n";
    }
  }
}

int AttValueTable::position(const char* text) const {
  if (text == nullptr) return -1;
  for (int k = 0; k < values_.length(); ++k) {
    if (std::strcmp(values_[k].c_str(), text) == 0) return k;
  }
  return -1;
}

// ---------------------------------------------------------- DisjunctiveAtt

template <class Storage, int kBits>
void DisjunctiveAtt<Storage, kBits>::init(IRSlist* facets) {
  values_.read(facets, this->name(), kBits);
}

template <class Storage, int kBits>
AttVal DisjunctiveAtt<Storage, kBits>::get_val(const char* text) {
  if (text == nullptr) return 0;
  const int pos = values_.position(text);
  if (pos < 0) {
    if (text[0] != '~') {
      std::cerr << this->type_name() << "::get_val: Unknown attribute value " << text << '\n';
    }
    return 0;
  }
  if (pos == 0 || pos > kBits) return 0;
  return AttVal{1} << (pos - 1);
}

template <class Storage, int kBits>
AttVal DisjunctiveAtt<Storage, kBits>::make_val(IRSlist* s) {
  const char* first = AttInterpreter::get_att_val(s);
  if (s == nullptr || (first != nullptr && first[0] == '~')) return 0;
  AttVal mask = 0;
  while (s->first() != nullptr) {
    if (const char* text = s->get_val()) mask |= get_val(text);
  }
  return mask;
}

template <class Storage, int kBits>
int DisjunctiveAtt<Storage, kBits>::unify_val(AttVec* v, int index, AttVal x, int doit) {
  x &= kMask;
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const AttVal c = this->att_val(v) & kMask;
  if (c == 0 && x == 0) return 1;
  const AttVal both = c & x;
  if (both == 0) return 0;
  if (doit != 0 && both != c) this->set_val(v, both);
  return 1;
}

template <class Storage, int kBits>
int DisjunctiveAtt<Storage, kBits>::cmp_vals(AttVal a, AttVal b) const {
  a &= kMask;
  b &= kMask;
  if (a == b) return 0;
  if (a == 0 || b == 0) return 2;
  const AttVal both = a & b;
  if (both == a) return 1;
  if (both == b) return -1;
  return 2;
}

template <class Storage, int kBits>
const char* DisjunctiveAtt<Storage, kBits>::str_val(AttVal x) {
  x &= kMask;
  if (x == 0) return "~";
  text_.clear();
  for (int bit = 0; bit < kBits; ++bit) {
    if ((x & (AttVal{1} << bit)) == 0) continue;
    if (!text_.empty()) text_ += ' ';
    text_ += values_.entry(bit + 1);
  }
  return text_.c_str();
}

template <class Storage, int kBits>
AttVal DisjunctiveAtt<Storage, kBits>::valid_bits() const {
  const int named = values_.size() - 1;
  if (named >= kBits) return kMask;
  return named > 0 ? (AttVal{1} << named) - 1 : 0;
}

template <class Storage, int kBits>
void DisjunctiveAtt<Storage, kBits>::unpack(AttVec* v, ByteReader& in) {
  const AttVal before = this->att_val(v);
  Storage::unpack(v, in);
  if (!in.ok()) return;
  const AttVal x = this->att_val(v);
  if ((x & ~valid_bits()) == 0) return;
  std::cerr << this->type_name() << "::unpack: the mask " << x << " names values that "
            << this->name() << " does not have\n";
  this->set_val(v, before);
  in.skip(in.remaining() + 1);  // fails the reader
}

template class DisjunctiveAtt<LongVAtt, 32>;
template class DisjunctiveAtt<CharAtt, 8>;

// ----------------------------------------------------------------- DisjAtt

const char* DisjAtt::type_name() const { return "DisjAtt"; }

AttInterpreter* DisjAtt::new_interp() const { return new DisjAtt; }

void disjatt_init() { AttInterpreter::attitp_proto_once<DisjAtt>(); }

}  // namespace lorvan
