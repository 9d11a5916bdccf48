// LBitSet: an unbounded set of non-negative integers, shared with
// copy-on-write.
//
// An LBitSet is a handle to a reference-counted LBitSetRep, or to nothing:
// the null handle is the empty set.  Copying a handle shares the
// representation and bumps its count; destroying or reassigning a handle
// drops its reference, and the last one frees the representation.  Every
// modifying operation first makes the handle's representation private when
// it is shared (count 2 or more), so a modified copy never changes the set
// it was copied from.  Reference counts are not atomic: handles sharing a
// representation must stay on one thread.
//
// Member i lives in word i/32 of the representation as member i%32.  The
// virtual-bits flag gives the value of every member beyond the stored words:
// 0 for an ordinary set, 1 once the set is inverted, which makes it
// infinite.  Setting a member beyond the stored words grows the word array
// to fit (new words take the virtual-bits value); a fresh set made by
// setting member i gets i/32 + 1 words.
//
// Ranged operations act on members a..b inclusive.  b < a prints
// "LBitSetRep::set(a, b)" (resp. clear, invert) on the error stream and
// changes nothing.  Setting a negative member is a programming error that
// stops the program (assertion "bit>=0"); clearing, inverting or testing
// negative members does nothing (there are none).
//
// count(), iteration and printing see only the stored words: on an infinite
// set they cover the finitely many stored members, and printing then appends
// " vbits=1".
//
// Binary form (pack/unpack): the word count as a 2-byte big-endian number
// (0 for the null handle), then every word as a 4-byte big-endian number.
// The virtual-bits flag is not stored.
#ifndef LORVAN_INCLUDE_LBITSET_H_
#define LORVAN_INCLUDE_LBITSET_H_

#include <cstdint>
#include <iosfwd>
#include <utility>
#include <vector>

#include "sbitset.h"

namespace lorvan {

class StrBufs;

namespace internal {
// Reports a negative member number given to LBitSet::set and stops the
// program.
[[noreturn]] void negative_bit_fault(int bit);
}  // namespace internal

// The shared representation: reference count, virtual-bits flag and the
// word array, allocated in one block together with room for `capacity()`
// words.  Made only through make() or copy(), which return it holding one
// reference; freed by the unref() that drops the last one.
class LBitSetRep {
 public:
  // A representation with `nwords` words that all hold the virtual-bits
  // value `vbits`, and room for max(nwords, capacity) words.
  static LBitSetRep* make(int nwords, bool vbits, int capacity = 0);
  // A new representation with this one's words and flag, extended to
  // max(nwords, this->nwords()) words, with room for at least `capacity`.
  LBitSetRep* copy(int nwords, int capacity) const;

  void ref() { ++refs_; }
  // Drops one reference to `rep` (null is allowed) and frees it at zero.
  static void unref(LBitSetRep* rep) {
    if (rep != nullptr && --rep->refs_ == 0) destroy(rep);
  }

  int refs() const { return refs_; }
  int nwords() const { return nwords_; }
  int capacity() const { return capacity_; }
  bool vbits() const { return vbits_; }
  void set_vbits(bool v) { vbits_ = v; }
  // The value of every word beyond the stored ones.
  std::uint32_t virtual_word() const { return vbits_ ? ~std::uint32_t{0} : 0; }

  SBitSet* words() { return reinterpret_cast<SBitSet*>(this + 1); }
  const SBitSet* words() const { return reinterpret_cast<const SBitSet*>(this + 1); }
  // Word w (w >= 0), or the virtual word beyond the stored ones.
  std::uint32_t word(int w) const {
    return w < nwords_ ? words()[w].word() : virtual_word();
  }
  bool test(int i) const {
    if (i < 0) return false;
    const int w = i >> 5;
    return w < nwords_ ? words()[w].test(i & 31) : vbits_;
  }

  // Grows the stored words to `nwords` (at most capacity()); the new words
  // take the virtual-bits value.
  void extend(int nwords);

  LBitSetRep(const LBitSetRep&) = delete;
  LBitSetRep& operator=(const LBitSetRep&) = delete;

 private:
  LBitSetRep(int capacity, bool vbits) : capacity_(capacity), vbits_(vbits) {}
  ~LBitSetRep() = default;
  static void destroy(LBitSetRep* rep);

  int refs_ = 1;
  int nwords_ = 0;
  int capacity_;
  bool vbits_;
  // The words follow the object in the same allocation.
};

class LBitSet {
 public:
  // The null handle: the empty set.
  LBitSet() = default;
  // Adopts one reference to `rep` (as returned by LBitSetRep::make/copy);
  // null gives the null handle.
  explicit LBitSet(LBitSetRep* rep) : rep_(rep) {}
  // A set sized for n members (n/32 words, rounded up; the null handle when
  // n <= 0) holding the members in `values`, a list ended by a negative
  // number or a number not below n.  `values` may be null.
  explicit LBitSet(int n, const int* values = nullptr);

  LBitSet(const LBitSet& other) : rep_(other.rep_) {
    if (rep_ != nullptr) rep_->ref();
  }
  LBitSet(LBitSet&& other) noexcept : rep_(std::exchange(other.rep_, nullptr)) {}
  LBitSet& operator=(const LBitSet& other) {
    if (other.rep_ != nullptr) other.rep_->ref();
    LBitSetRep::unref(rep_);
    rep_ = other.rep_;
    return *this;
  }
  LBitSet& operator=(LBitSet&& other) noexcept {
    if (this != &other) {
      LBitSetRep::unref(rep_);
      rep_ = std::exchange(other.rep_, nullptr);
    }
    return *this;
  }
  ~LBitSet() { LBitSetRep::unref(rep_); }

  // The representation, or null for the null handle.
  const LBitSetRep* rep() const { return rep_; }
  int nwords() const { return rep_ != nullptr ? rep_->nwords() : 0; }
  bool vbits() const { return rep_ != nullptr && rep_->vbits(); }

  // Adds member i; i < 0 stops the program.
  void set(int i) {
    if (rep_ != nullptr && rep_->refs() == 1 &&
        static_cast<unsigned>(i >> 5) < static_cast<unsigned>(rep_->nwords())) {
      rep_->words()[i >> 5].set(i & 31);
      return;
    }
    set_slow(i);
  }
  // Adds members a..b.  On an infinite set the range stops at the last
  // stored word, since the members beyond are already set.  a < 0 stops
  // the program.
  void set(int a, int b);
  // Removes every member.  An unshared representation is kept (zeroed, its
  // flag cleared) for reuse; a shared one is released, leaving the null
  // handle.
  void clear();
  void clear(int i);
  void clear(int a, int b);
  // Complements the set, flipping the virtual-bits flag too.
  void invert();
  // Flips members a..b, growing the words to fit b.
  void invert(int a, int b);

  bool test(int i) const { return rep_ != nullptr && rep_->test(i); }
  // Members in the stored words.
  int count() const;
  // No member at all (the stored words are clear and the flag is 0).
  bool empty() const;
  // Every non-negative integer is a member (all stored words full and the
  // flag is 1).
  bool full() const;
  // The only member, or -1 when the set does not have exactly one member.
  int singleton() const;
  // 0 equal; 1 proper superset of `other`; -1 proper subset; -2 disjoint
  // and neither empty; 2 overlapping with neither containing the other.
  int cmp(const LBitSet& other) const;

  LBitSet& operator|=(const LBitSet& other);
  LBitSet& operator&=(const LBitSet& other);
  LBitSet& operator^=(const LBitSet& other);
  LBitSet& operator-=(const LBitSet& other);

  friend LBitSet operator|(const LBitSet& a, const LBitSet& b) { LBitSet r(a); r |= b; return r; }
  friend LBitSet operator&(const LBitSet& a, const LBitSet& b) { LBitSet r(a); r &= b; return r; }
  friend LBitSet operator^(const LBitSet& a, const LBitSet& b) { LBitSet r(a); r ^= b; return r; }
  friend LBitSet operator-(const LBitSet& a, const LBitSet& b) { LBitSet r(a); r -= b; return r; }
  friend LBitSet operator~(const LBitSet& a) { LBitSet r(a); r.invert(); return r; }

  friend bool operator==(const LBitSet& a, const LBitSet& b) { return a.cmp(b) == 0; }
  friend bool operator!=(const LBitSet& a, const LBitSet& b) { return a.cmp(b) != 0; }
  friend bool operator<(const LBitSet& a, const LBitSet& b) { return a.cmp(b) == -1; }
  friend bool operator>(const LBitSet& a, const LBitSet& b) { return a.cmp(b) == 1; }
  friend bool operator<=(const LBitSet& a, const LBitSet& b) {
    const int c = a.cmp(b);
    return c == 0 || c == -1;
  }
  friend bool operator>=(const LBitSet& a, const LBitSet& b) {
    const int c = a.cmp(b);
    return c == 0 || c == 1;
  }

  // Appends the binary form to the current string of `buf`.  A set of more
  // than 65535 words is written as its first 65535 words, so the record
  // stays readable.
  void pack(StrBufs& buf) const;
  // Replaces this set by the one whose binary form starts at `cursor` and
  // moves the cursor past it.
  void unpack(const char*& cursor);

  // "empty_bitset" for the null handle; otherwise the members in increasing
  // order separated by single spaces, then " vbits=1" when the flag is set.
  void print(std::ostream& out) const;

 private:
  void set_slow(int i);
  // Makes the representation private and at least `min_words` long and
  // returns it.
  LBitSetRep* own(int min_words);
  std::uint32_t word(int w) const { return rep_ != nullptr ? rep_->word(w) : 0; }
  std::uint32_t virtual_word() const { return rep_ != nullptr ? rep_->virtual_word() : 0; }
  template <class Op>
  LBitSet& combine(const LBitSet& other, Op op);

  LBitSetRep* rep_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const LBitSet& set);

// Visits the members in the stored words of a set in increasing order;
// next() returns -1 after the last one.  The iterator shares the set's
// representation, so changing the original set meanwhile does not disturb
// it (the change goes to a private copy).
class LBitSetIterator {
 public:
  explicit LBitSetIterator(const LBitSet& set)
      : set_(set), words_(set.rep() != nullptr ? set.rep()->words() : nullptr) {}

  int next() {
    for (;;) {
      const int m = current_.next();
      if (m >= 0) return (word_ << 5) + m;
      if (word_ + 1 >= set_.nwords()) return -1;
      current_ = SBitSetIterator(words_[++word_]);
    }
  }

 private:
  LBitSet set_;
  const SBitSet* words_;
  int word_ = -1;  // index of the word current_ walks
  SBitSetIterator current_{SBitSet()};
};

// A set and its member count, for sorting by size.
struct LBitSetCount {
  LBitSet set;
  int count;
};

// Empties `list` and refills it with the same sets in descending order of
// member count; sets of equal count keep their relative order.
void sort_by_count(std::vector<LBitSet>& list);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_LBITSET_H_
