// AVList: a shared, ordered list of attribute-value vectors -- the value of
// a ListAtt or StackAtt attribute (a subcategorisation list, a list of
// pending movements).
//
// Sharing.  The list carries a reference count managed by its holders (the
// vectors whose attribute stores it), 0 when made; the list never frees
// itself.  Each element's own reference count includes the list's hold:
// adding an element adds a hold, removing it drops one, and an element
// whose last hold goes is deleted.  Copying a list shares its elements.
// A holder that wants to change a shared list replaces it by a copy first;
// own() does the same for one element.
//
// Elements are never null.  Indexing outside 0..length()-1 is a
// programming error that stops the program (except for del(), which
// ignores it).
#ifndef LORVAN_FEATURES_AVLIST_H_
#define LORVAN_FEATURES_AVLIST_H_

#include "features/attvec.h"
#include "tarray.h"

namespace lorvan {

class AVList : public RefCounter {
 public:
  AVList() = default;
  // The same elements, each with one more hold; the new list's own count
  // is 0.
  AVList(const AVList& other);
  AVList& operator=(const AVList&) = delete;
  // Drops the hold on every element.
  ~AVList();

  int length() const { return elements_.length(); }
  bool empty() const { return elements_.empty(); }
  AttVec* operator[](int i) const { return elements_[i]; }
  const TArray<AttVec*>& list() const { return elements_; }

  // Appends v with a hold on it; null is ignored.
  void push(AttVec* v);
  // Inserts v at position i (0..length()) with a hold on it; null is
  // ignored.
  void insert(int i, AttVec* v);
  // Removes element i and drops the list's hold on it; an index out of
  // range does nothing.
  void del(int i);
  // Removes element i and hands the list's hold on it to the caller.
  AttVec* take(int i);
  // Removes elements from the end (dropping their holds) until at most n
  // are left.
  void truncate(int n);
  // Element i, first replaced by a private copy when it is shared
  // (copy-on-write of one element).
  AttVec* own(int i);

 private:
  TArray<AttVec*> elements_;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_AVLIST_H_
