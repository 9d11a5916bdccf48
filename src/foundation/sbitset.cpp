#include "sbitset.h"

#include <ostream>

namespace lorvan {

int SBitSet::singleton() const {
  SBitSetIterator it(*this);
  const int first = it.next();
  return first >= 0 && it.next() < 0 ? first : -1;
}

int SBitSet::cmp(SBitSet other) const {
  SetRelation relation;
  relation.add(word_, other.word_);
  return relation.result();
}

void SBitSet::printi(std::ostream& out) const {
  out << '(';
  const char* separator = "";
  for (int i = 31; i >= 0; --i) {
    if (!test(i)) continue;
    out << separator << i;
    separator = " ";
  }
  out << ')';
}

void SBitSet::printb(std::ostream& out, int n) const {
  if (n <= 0) n = 32;
  for (int i = n - 1; i >= 0; --i) out << (test(i) ? '1' : '0');
}

}  // namespace lorvan
