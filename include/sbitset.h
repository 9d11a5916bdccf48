// SBitSet: a set of the integers 0..31 held in one unsigned 32-bit word.
//
// Member i is the bit of value 2^i.  SBitSet is a plain value (copying copies
// the word) and the building block of LBitSet, which stores its members as an
// array of these words.  Member numbers outside 0..31 are never members:
// test() answers false for them and the single-member and ranged operations
// ignore the part of their argument that lies outside the word, so no
// argument can cause an undefined shift.
//
// Counting and iteration go a byte at a time through kByteBits, a 256-entry
// table giving for every byte value its number of members and their
// positions; LBitSet uses the same table.
//
// cmp() gives one of five results, shared with LBitSet::cmp():
//    0  the sets are equal
//    1  this set is a proper superset of the other
//   -1  this set is a proper subset of the other
//   -2  the sets are disjoint and neither is empty
//    2  they overlap but neither contains the other
#ifndef LORVAN_INCLUDE_SBITSET_H_
#define LORVAN_INCLUDE_SBITSET_H_

#include <array>
#include <cstdint>
#include <iosfwd>

namespace lorvan {

// The members of one byte value: how many, and their positions 0..7 in
// increasing order (pos[0..count-1]).
struct ByteBits {
  std::uint8_t count;
  std::uint8_t pos[8];
};

namespace internal {
constexpr std::array<ByteBits, 256> make_byte_bits() {
  std::array<ByteBits, 256> table{};
  for (int v = 0; v < 256; ++v) {
    ByteBits& e = table[v];
    e.count = 0;
    for (int bit = 0; bit < 8; ++bit) {
      e.pos[bit] = 0;
      if (v & (1 << bit)) e.pos[e.count++] = static_cast<std::uint8_t>(bit);
    }
  }
  return table;
}
}  // namespace internal

inline constexpr std::array<ByteBits, 256> kByteBits = internal::make_byte_bits();

// Number of members of a 32-bit word, counted through kByteBits.
constexpr int count_word_bits(std::uint32_t w) {
  return kByteBits[w & 0xff].count + kByteBits[(w >> 8) & 0xff].count +
         kByteBits[(w >> 16) & 0xff].count + kByteBits[w >> 24].count;
}

// Folds, word by word, what two sets share and what each has alone into
// one of cmp()'s five results.  Feed it corresponding words of both sets;
// once decided() is true further words cannot change result().
class SetRelation {
 public:
  void add(std::uint32_t a, std::uint32_t b) {
    a_only_ |= a & ~b;
    b_only_ |= b & ~a;
    common_ |= a & b;
  }
  bool decided() const { return a_only_ != 0 && b_only_ != 0 && common_ != 0; }
  int result() const {
    if (a_only_ != 0 && b_only_ != 0) return common_ != 0 ? 2 : -2;
    if (a_only_ != 0) return 1;
    if (b_only_ != 0) return -1;
    return 0;
  }

 private:
  // Unions of the members seen so far in a only, b only, and both.
  std::uint32_t a_only_ = 0;
  std::uint32_t b_only_ = 0;
  std::uint32_t common_ = 0;
};

class SBitSet {
 public:
  constexpr SBitSet() = default;
  constexpr explicit SBitSet(std::uint32_t word) : word_(word) {}

  constexpr std::uint32_t word() const { return word_; }

  // The word with only member i (0 when i is outside 0..31).
  static constexpr std::uint32_t bit(int i) {
    return static_cast<unsigned>(i) < 32 ? std::uint32_t{1} << i : 0;
  }
  // The word with members a..b inclusive, clipped to 0..31 (0 when empty).
  static constexpr std::uint32_t range(int a, int b) {
    if (a < 0) a = 0;
    if (b > 31) b = 31;
    if (b < a) return 0;
    return (~std::uint32_t{0} >> (31 - b)) & (~std::uint32_t{0} << a);
  }

  void set(int i) { word_ |= bit(i); }
  void set(int a, int b) { word_ |= range(a, b); }
  void clear(int i) { word_ &= ~bit(i); }
  void clear(int a, int b) { word_ &= ~range(a, b); }
  void clear() { word_ = 0; }
  void invert(int a, int b) { word_ ^= range(a, b); }
  void invert() { word_ = ~word_; }

  bool test(int i) const { return (word_ & bit(i)) != 0; }
  int count() const { return count_word_bits(word_); }
  bool empty() const { return word_ == 0; }
  // The only member, or -1 when the set does not have exactly one member.
  int singleton() const;
  int cmp(SBitSet other) const;

  // Writes the members from the highest to the lowest inside parentheses,
  // separated by spaces: {0, 3} prints "(3 0)".
  void printi(std::ostream& out) const;
  // Writes n characters '1' or '0' for members n-1 down to 0; n <= 0 means 32.
  void printb(std::ostream& out, int n = 32) const;

  SBitSet& operator|=(SBitSet o) { word_ |= o.word_; return *this; }
  SBitSet& operator&=(SBitSet o) { word_ &= o.word_; return *this; }
  SBitSet& operator^=(SBitSet o) { word_ ^= o.word_; return *this; }
  SBitSet& operator-=(SBitSet o) { word_ &= ~o.word_; return *this; }
  friend SBitSet operator|(SBitSet a, SBitSet b) { return a |= b; }
  friend SBitSet operator&(SBitSet a, SBitSet b) { return a &= b; }
  friend SBitSet operator^(SBitSet a, SBitSet b) { return a ^= b; }
  friend SBitSet operator-(SBitSet a, SBitSet b) { return a -= b; }
  friend SBitSet operator~(SBitSet a) { return SBitSet(~a.word_); }
  friend bool operator==(SBitSet a, SBitSet b) { return a.word_ == b.word_; }

 private:
  std::uint32_t word_ = 0;
};

// Visits the members of an SBitSet in increasing order; next() returns -1
// after the last one.  The iterator holds its own copy of the word.
class SBitSetIterator {
 public:
  explicit SBitSetIterator(SBitSet s) : rest_(s.word()) {}

  int next() {
    while (index_ == byte_->count) {
      if (rest_ == 0) return -1;
      base_ += 8;
      byte_ = &kByteBits[rest_ & 0xff];
      rest_ >>= 8;
      index_ = 0;
    }
    return base_ + byte_->pos[index_++];
  }

 private:
  std::uint32_t rest_;                 // bytes not yet reached
  int base_ = -8;                      // member number of bit 0 of *byte_
  const ByteBits* byte_ = &kByteBits[0];
  int index_ = 0;                      // next entry of byte_->pos
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_SBITSET_H_
