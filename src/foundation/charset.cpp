#include "charset.h"

namespace lorvan {

void CharSet::init(const char* members) {
  clear();
  add(members);
}

void CharSet::add(const char* members) {
  if (members == nullptr) return;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(members);
  while (*p != 0) {
    if (p[1] == '-' && p[2] != 0) {
      for (unsigned c = p[0]; c <= p[2]; ++c) flags_[c] = true;
      p += 3;
    } else {
      flags_[*p++] = true;
    }
  }
}

void CharSet::add(const CharSet& other) {
  for (unsigned c = 0; c < flags_.size(); ++c) flags_[c] = flags_[c] || other.flags_[c];
}

void CharSet::neg() {
  for (bool& f : flags_) f = !f;
}

}  // namespace lorvan
