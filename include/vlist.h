// TVlist<T>: a vector of elements (normally pointers) that can be kept
// sorted; Vlist is the vector of untyped pointers.
//
// It grows like TArray (by capacity/4 + 4 when full) and shares TArray's
// bounds check.  insert(x, cmp, unique) keeps the vector sorted by cmp with
// a binary search; bi_search(x, &pos, cmp) finds an element or the position
// where it belongs; sort(cmp) is a quicksort with a median-of-three pivot.
//
// Compare functions are callables cmp(a, b) returning an int that is
// negative, zero or positive as a sorts before, equal to or after b.
//
// The vector does not own what its pointers point to.
#ifndef LORVAN_INCLUDE_VLIST_H_
#define LORVAN_INCLUDE_VLIST_H_

#include <utility>

#include "tarray.h"

namespace lorvan {

template <class T>
class TVlist {
 public:
  TVlist() = default;
  explicit TVlist(int capacity) : a_(capacity) {}

  int length() const { return a_.length(); }
  bool empty() const { return a_.empty(); }
  T& operator[](int i) { return a_[i]; }
  const T& operator[](int i) const { return a_[i]; }

  // Appends x (the order is not checked).
  void append(const T& x) { a_.add_high(x); }
  // Inserts x at index i (0..length; negative: the end).
  void insert_at(int i, const T& x) { a_.get_vacant(i) = x; }
  void del(int i) { a_.del(i); }
  void clear() { a_.clear(); }

  // Inserts x into the vector sorted by cmp, after the elements equal to
  // it.  With unique set, x is not inserted when an equal element is
  // present.  Returns whether x was inserted.
  template <class Cmp>
  bool insert(const T& x, Cmp cmp, bool unique = false) {
    int pos = 0;
    if (bi_search(x, &pos, cmp) != nullptr) {
      if (unique) return false;
      pos = upper_bound(x, pos, cmp);
    }
    insert_at(pos, x);
    return true;
  }
  // Binary search in the vector sorted by cmp.  Returns the first element
  // equal to x and sets *pos to its index; or returns null and sets *pos to
  // the index at which x would be inserted.  pos may be null.
  template <class Cmp>
  T* bi_search(const T& x, int* pos, Cmp cmp) {
    int lo = 0;
    int hi = length();  // the answer lies in lo..hi
    while (lo < hi) {
      int mid = lo + (hi - lo) / 2;
      if (cmp(a_[mid], x) < 0) lo = mid + 1; else hi = mid;
    }
    if (pos != nullptr) *pos = lo;
    return (lo < length() && cmp(x, a_[lo]) == 0) ? &a_[lo] : nullptr;
  }

  // Sorts by cmp: quicksort with a median-of-three pivot (not stable).
  template <class Cmp>
  void sort(Cmp cmp) {
    if (length() > 1) quicksort(a_.begin(), 0, length() - 1, cmp);
  }

  T* begin() { return a_.begin(); }
  T* end() { return a_.end(); }
  const T* begin() const { return a_.begin(); }
  const T* end() const { return a_.end(); }

 private:
  // The first index after pos (an index of an element equal to x) whose
  // element sorts after x.
  template <class Cmp>
  int upper_bound(const T& x, int pos, Cmp& cmp) {
    int lo = pos;
    int hi = length();
    while (lo < hi) {
      int mid = lo + (hi - lo) / 2;
      if (cmp(x, a_[mid]) < 0) hi = mid; else lo = mid + 1;
    }
    return lo;
  }

  // Sorts v[lo..hi]; recurses into the smaller part so that the stack depth
  // stays logarithmic.
  template <class Cmp>
  static void quicksort(T* v, int lo, int hi, Cmp& cmp) {
    while (lo < hi) {
      int mid = lo + (hi - lo) / 2;
      // Order v[lo], v[mid], v[hi]; the median becomes the pivot.
      if (cmp(v[mid], v[lo]) < 0) std::swap(v[mid], v[lo]);
      if (cmp(v[hi], v[lo]) < 0) std::swap(v[hi], v[lo]);
      if (cmp(v[hi], v[mid]) < 0) std::swap(v[hi], v[mid]);
      T pivot = v[mid];
      int i = lo;
      int j = hi;
      while (i <= j) {
        while (cmp(v[i], pivot) < 0) ++i;
        while (cmp(pivot, v[j]) < 0) --j;
        if (i <= j) std::swap(v[i++], v[j--]);
      }
      if (j - lo < hi - i) {
        quicksort(v, lo, j, cmp);
        lo = i;
      } else {
        quicksort(v, i, hi, cmp);
        hi = j;
      }
    }
  }

  TArray<T> a_;
};

using Vlist = TVlist<void*>;

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_VLIST_H_
