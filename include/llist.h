// Llink and LList: an intrusive singly linked list.  A record that is to be
// kept in an LList derives from Llink, which holds the link; the list only
// chains records together and allocates nothing.
//
// Ownership: the list does not own its records.  clear() unchains them;
// clear(deleter) hands each to deleter.  A record is in at most one list at
// a time.
//
// Ordered operations take a compare callable.  ord_insert(x, cmp) calls
// cmp(x, record) with both arguments records; ord_search(key, cmp) and
// ord_del(key, cmp) call cmp(key, record) with whatever key the caller
// passes.  cmp returns an int that is negative, zero or positive as its first
// argument sorts before, equal to or after the record.
#ifndef LORVAN_INCLUDE_LLIST_H_
#define LORVAN_INCLUDE_LLIST_H_

namespace lorvan {

struct Llink {
  Llink* lnext = nullptr;  // the next record of the list, or null
};

class LList {
 public:
  LList() = default;
  LList(const LList&) = delete;
  LList& operator=(const LList&) = delete;

  Llink* first() const { return head_; }
  bool empty() const { return head_ == nullptr; }
  // Number of records; O(n).
  int length() const {
    int n = 0;
    for (const Llink* l = head_; l != nullptr; l = l->lnext) ++n;
    return n;
  }

  // Puts x at the front.
  void insert(Llink* x) {
    x->lnext = head_;
    head_ = x;
  }
  // Inserts x before the first record r with cmp(x, r) < 0.
  template <class Cmp>
  void ord_insert(Llink* x, Cmp cmp) {
    Llink** slot = &head_;
    while (*slot != nullptr && cmp(x, *slot) >= 0) slot = &(*slot)->lnext;
    x->lnext = *slot;
    *slot = x;
  }
  // The first record with cmp(key, r) == 0, or null; stops at the first
  // record that sorts after key.
  template <class Key, class Cmp>
  Llink* ord_search(const Key& key, Cmp cmp) const {
    for (Llink* l = head_; l != nullptr; l = l->lnext) {
      int r = cmp(key, l);
      if (r == 0) return l;
      if (r < 0) break;
    }
    return nullptr;
  }
  // Unchains and returns the record ord_search would find (the caller owns
  // it), or null.
  template <class Key, class Cmp>
  Llink* ord_del(const Key& key, Cmp cmp) {
    for (Llink** slot = &head_; *slot != nullptr; slot = &(*slot)->lnext) {
      int r = cmp(key, *slot);
      if (r == 0) return unlink_at(slot);
      if (r < 0) break;
    }
    return nullptr;
  }
  // Unchains x; false when x is not in the list.
  bool remove(Llink* x) {
    for (Llink** slot = &head_; *slot != nullptr; slot = &(*slot)->lnext) {
      if (*slot == x) {
        unlink_at(slot);
        return true;
      }
    }
    return false;
  }

  // Unchains all records without touching them otherwise.
  void clear() { head_ = nullptr; }
  // Hands every record, front to back, to deleter and empties the list.
  template <class Deleter>
  void clear(Deleter deleter) {
    while (head_ != nullptr) deleter(unlink_at(&head_));
  }

 private:
  static Llink* unlink_at(Llink** slot) {
    Llink* x = *slot;
    *slot = x->lnext;
    x->lnext = nullptr;
    return x;
  }

  Llink* head_ = nullptr;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_LLIST_H_
