// TSlist<T>: a singly linked list stored as a ring, holding a pointer to its
// last link; the first element is the one after the last.  Slist is the
// list of untyped pointers.  TSlistIterator<T> (SlistIterator for Slist)
// walks a list and may delete the current element or insert next to it
// while walking.
//
// Ownership: the list owns its links, not what its elements point to.
// Destroying or clear()ing a list frees the links only; clear(deleter) also
// hands every element to deleter first.  Copying a list copies its elements
// (shallow for pointers).
//
// Compare functions are any callables cmp(a, b) returning an int that is
// negative, zero or positive as a sorts before, equal to or after b (a C
// function such as int f(const void*, const void*) serves for Slist).
// Ordered operations assume the list is kept in that order.
//
// Operations at both ends are O(1); each element costs one allocated link.
#ifndef LORVAN_INCLUDE_SLIST_H_
#define LORVAN_INCLUDE_SLIST_H_

#include <cstddef>
#include <iterator>
#include <utility>

namespace lorvan {

template <class T>
class TSlistIterator;

template <class T>
class TSlist {
  struct Link {
    T val;
    Link* next;
  };

 public:
  TSlist() = default;
  TSlist(const TSlist& other) { append_all(other); }
  TSlist(TSlist&& other) noexcept { steal(other); }
  TSlist& operator=(const TSlist& other) {
    if (this != &other) {
      clear();
      append_all(other);
    }
    return *this;
  }
  TSlist& operator=(TSlist&& other) noexcept {
    if (this != &other) {
      clear();
      steal(other);
    }
    return *this;
  }
  ~TSlist() { clear(); }

  bool empty() const { return last_ == nullptr; }
  int length() const { return count_; }

  // The first / last element, or T() when the list is empty.
  T first() const { return last_ != nullptr ? last_->next->val : T(); }
  T last() const { return last_ != nullptr ? last_->val : T(); }

  // Puts x at the front.
  void insert(const T& x) { link_after(nullptr, x); }
  // Puts x at the back.
  void append(const T& x) { link_after(last_, x); }
  // Removes and returns the front element; T() when the list is empty.
  T get() {
    if (last_ == nullptr) return T();
    return unlink_after(nullptr);
  }
  // Moves every element of other, in order, to the back of this list; other
  // becomes empty.  O(1).
  void concat(TSlist& other) {
    if (&other == this || other.last_ == nullptr) return;
    if (last_ != nullptr) {
      Link* first = last_->next;
      last_->next = other.last_->next;
      other.last_->next = first;
    }
    last_ = other.last_;
    count_ += other.count_;
    other.last_ = nullptr;
    other.count_ = 0;
  }

  // Frees all links.
  void clear() {
    while (last_ != nullptr) unlink_after(nullptr);
  }
  // Calls deleter(element) for every element, front to back, then frees the
  // links.
  template <class Deleter>
  void clear(Deleter deleter) {
    while (last_ != nullptr) deleter(unlink_after(nullptr));
  }

  // The first element equal to x (operator==), or null.
  T* search(const T& x) {
    return search_if([&x](const T& e) { return e == x; });
  }
  // The first element for which pred is true, or null.
  template <class Pred>
  T* search_if(Pred pred) {
    for (T& e : *this) {
      if (pred(e)) return &e;
    }
    return nullptr;
  }
  // Removes the first element equal to x; false when there is none.
  bool del(const T& x) {
    Link* prev = nullptr;
    for (Link* l = first_link(); l != nullptr; prev = l, l = after(l)) {
      if (l->val == x) {
        unlink_after(prev);
        return true;
      }
    }
    return false;
  }

  // Inserts x before the first element e with cmp(x, e) < 0.  With unique
  // set, x is not inserted when an element equal to it is present.  Returns
  // whether x was inserted.
  template <class Cmp>
  bool ord_insert(const T& x, Cmp cmp, bool unique = false) {
    Link* prev = nullptr;
    for (Link* l = first_link(); l != nullptr; prev = l, l = after(l)) {
      int r = cmp(x, l->val);
      if (r < 0) break;
      if (r == 0 && unique) return false;
    }
    link_after(prev, x);
    return true;
  }
  // The first element equal to x under cmp, or null; stops at the first
  // element that sorts after x.
  template <class Cmp>
  T* ord_search(const T& x, Cmp cmp) {
    Link* prev = nullptr;
    Link* l = ord_find(x, cmp, prev);
    return l != nullptr ? &l->val : nullptr;
  }
  // Removes the first element equal to x under cmp; false when none.
  template <class Cmp>
  bool ord_del(const T& x, Cmp cmp) {
    Link* prev = nullptr;
    if (ord_find(x, cmp, prev) == nullptr) return false;
    unlink_after(prev);
    return true;
  }

  // Sorts by cmp (stable merge sort; allocates nothing).
  template <class Cmp>
  void sort(Cmp cmp) {
    if (count_ < 2) return;
    Link* head = open_ring();
    head = merge_sort(head, count_, cmp);
    close_ring(head);
  }
  // Reverses the order of the elements.
  void reverse() {
    if (count_ < 2) return;
    Link* head = open_ring();
    Link* done = nullptr;
    while (head != nullptr) {
      Link* rest = head->next;
      head->next = done;
      done = head;
      head = rest;
    }
    close_ring(done);
  }
  // Merges other, sorted by cmp, into this list, sorted by cmp; on ties the
  // elements of this list come first.  other becomes empty.
  template <class Cmp>
  void merge(TSlist& other, Cmp cmp) {
    if (&other == this || other.last_ == nullptr) return;
    if (last_ == nullptr) {
      steal(other);
      return;
    }
    int n = count_ + other.count_;
    Link* a = open_ring();
    Link* b = other.open_ring();
    other.last_ = nullptr;
    other.count_ = 0;
    count_ = n;
    close_ring(merge_runs(a, b, cmp));
  }

  // The elements for which pred is true, in order.
  template <class Pred>
  TSlist select(Pred pred) const {
    TSlist out;
    for (const T& e : *this) {
      if (pred(e)) out.append(e);
    }
    return out;
  }
  // The results of fn for every element, in order.
  template <class Fn>
  auto collect(Fn fn) const {
    TSlist<decltype(fn(std::declval<const T&>()))> out;
    for (const T& e : *this) out.append(fn(e));
    return out;
  }
  // Replaces every element e by fn(e).
  template <class Fn>
  void map(Fn fn) {
    for (T& e : *this) e = fn(e);
  }
  // Calls fn(e) for every element, front to back.
  template <class Fn>
  void apply(Fn fn) {
    for (T& e : *this) fn(e);
  }

  // Forward iteration over the elements (the list must not change meanwhile;
  // use TSlistIterator for that).
  template <class V>
  class basic_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = V*;
    using reference = V&;
    basic_iterator() = default;
    basic_iterator(Link* l, const Link* last) : l_(l), last_(last) {}
    reference operator*() const { return l_->val; }
    pointer operator->() const { return &l_->val; }
    basic_iterator& operator++() {
      l_ = (l_ == last_) ? nullptr : l_->next;
      return *this;
    }
    basic_iterator operator++(int) {
      basic_iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const basic_iterator& o) const { return l_ == o.l_; }

   private:
    Link* l_ = nullptr;
    const Link* last_ = nullptr;
  };
  using iterator = basic_iterator<T>;
  using const_iterator = basic_iterator<const T>;
  iterator begin() { return iterator(first_link(), last_); }
  iterator end() { return iterator(); }
  const_iterator begin() const { return const_iterator(first_link(), last_); }
  const_iterator end() const { return const_iterator(); }

 private:
  friend class TSlistIterator<T>;

  Link* first_link() const { return last_ != nullptr ? last_->next : nullptr; }
  // The link after l, or null after the last; l null means before the first.
  Link* after(const Link* l) const {
    if (l == nullptr) return first_link();
    return l == last_ ? nullptr : l->next;
  }
  // Links x after a (null a: at the front).
  void link_after(Link* a, const T& x) {
    Link* l = new Link{x, nullptr};
    if (last_ == nullptr) {
      l->next = l;
      last_ = l;
    } else {
      Link* prev = a != nullptr ? a : last_;
      l->next = prev->next;
      prev->next = l;
      if (a == last_) last_ = l;
    }
    ++count_;
  }
  // Unlinks the link after a (null a: the first link), which must exist,
  // and returns its element.
  T unlink_after(Link* a) {
    Link* prev = a != nullptr ? a : last_;
    Link* victim = prev->next;
    if (victim == prev) {
      last_ = nullptr;
    } else {
      prev->next = victim->next;
      if (victim == last_) last_ = prev;
    }
    --count_;
    T val = std::move(victim->val);
    delete victim;
    return val;
  }
  template <class Cmp>
  Link* ord_find(const T& x, Cmp cmp, Link*& prev) const {
    prev = nullptr;
    for (Link* l = first_link(); l != nullptr; prev = l, l = after(l)) {
      int r = cmp(x, l->val);
      if (r == 0) return l;
      if (r < 0) break;
    }
    return nullptr;
  }
  // Turns the ring into a null-terminated chain and returns its head; the
  // count is kept.
  Link* open_ring() {
    Link* head = last_->next;
    last_->next = nullptr;
    return head;
  }
  // Makes a ring of the null-terminated chain head.
  void close_ring(Link* head) {
    Link* l = head;
    while (l->next != nullptr) l = l->next;
    l->next = head;
    last_ = l;
  }
  template <class Cmp>
  static Link* merge_runs(Link* a, Link* b, Cmp& cmp) {
    Link* head = nullptr;
    Link** tail = &head;
    while (a != nullptr && b != nullptr) {
      Link*& from = cmp(b->val, a->val) < 0 ? b : a;
      *tail = from;
      tail = &from->next;
      from = from->next;
    }
    *tail = a != nullptr ? a : b;
    return head;
  }
  // Sorts the chain of n links starting at head (null-terminated).
  template <class Cmp>
  static Link* merge_sort(Link* head, int n, Cmp& cmp) {
    if (n < 2) return head;
    Link* mid_prev = head;
    for (int i = 1; i < n / 2; ++i) mid_prev = mid_prev->next;
    Link* mid = mid_prev->next;
    mid_prev->next = nullptr;
    return merge_runs(merge_sort(head, n / 2, cmp), merge_sort(mid, n - n / 2, cmp), cmp);
  }
  void append_all(const TSlist& other) {
    for (const T& e : other) append(e);
  }
  void steal(TSlist& other) {
    last_ = other.last_;
    count_ = other.count_;
    other.last_ = nullptr;
    other.count_ = 0;
  }

  Link* last_ = nullptr;
  int count_ = 0;
};

// Walks a TSlist and may edit it at the walk's position:
//
//   TSlistIterator<Item*> it(list);
//   while (Item** p = it.next()) if (dead(*p)) it.del();
//
// next() returns a pointer to the next element (the first one on the first
// call), or null at the end.  del() removes the current element; the
// following next() returns the element that came after it.
// insert_before(x) puts x just before the current position (x is not
// visited); insert_after(x) puts x just after it (x is the next element
// visited).  Before the first next() both insert at the front; at the end
// both append.  The list must not be edited other than through the
// iterator while the walk goes on.
template <class T>
class TSlistIterator {
  using Link = typename TSlist<T>::Link;

 public:
  explicit TSlistIterator(TSlist<T>& list) : list_(&list) {}

  void reset() {
    prev_ = cur_ = nullptr;
    started_ = removed_ = false;
  }
  T* next() {
    if (!started_) {
      started_ = true;
      cur_ = list_->after(prev_);
    } else if (removed_) {
      removed_ = false;
      cur_ = list_->after(prev_);
    } else if (cur_ != nullptr) {
      prev_ = cur_;
      cur_ = list_->after(cur_);
    }
    return current();
  }
  // The current element, or null (before the start, at the end, or after
  // del()).
  T* current() const { return cur_ != nullptr ? &cur_->val : nullptr; }

  void del() {
    if (cur_ == nullptr) return;
    list_->unlink_after(prev_);
    cur_ = nullptr;
    removed_ = true;
  }
  void insert_before(const T& x) {
    list_->link_after(prev_, x);
    prev_ = list_->after(prev_);
  }
  void insert_after(const T& x) {
    if (cur_ != nullptr) {
      list_->link_after(cur_, x);
    } else {
      list_->link_after(prev_, x);
      // Visited next: after del() next() takes the link after prev_; at the
      // end the walk resumes there too.
      if (started_) removed_ = true;
    }
  }

 private:
  TSlist<T>* list_;
  Link* prev_ = nullptr;  // the link before the current position
  Link* cur_ = nullptr;
  bool started_ = false;
  bool removed_ = false;  // the current element was deleted
};

using Slist = TSlist<void*>;
using SlistIterator = TSlistIterator<void*>;

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_SLIST_H_
