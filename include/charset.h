// CharSet: a set of byte values (256 flags), used for the character classes
// of tokenizers and of the string functions.
//
// A member string names the members: every character stands for
// itself, and a character, a hyphen and a second character stand for every
// byte from the first to the second inclusive ("a-z0-9_").  A hyphen at the
// very end (or at the start) is literal; a range whose ends are reversed is
// empty.  Bytes are taken as unsigned values.  A CharSet is a plain value.
#ifndef LORVAN_INCLUDE_CHARSET_H_
#define LORVAN_INCLUDE_CHARSET_H_

#include <array>

namespace lorvan {

class CharSet {
 public:
  CharSet() = default;
  // The set named by `members`; null gives the empty set.
  explicit CharSet(const char* members) { init(members); }

  // Replaces the members by those named by `members` (null: empty set).
  void init(const char* members);
  // Adds the members named by `members` to the set.
  void add(const char* members);
  // Adds every member of `other`.
  void add(const CharSet& other);
  // Inverts every flag.
  void neg();
  void clear() { flags_.fill(false); }

  void set(int c, bool member = true) { flags_[static_cast<unsigned char>(c)] = member; }
  // Whether byte c is a member; c may be a (possibly negative) char or an
  // unsigned byte value.
  bool includes(int c) const { return flags_[static_cast<unsigned char>(c)]; }

  bool operator==(const CharSet&) const = default;

 private:
  std::array<bool, 256> flags_{};
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_CHARSET_H_
