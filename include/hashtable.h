// Chained hash tables with caller-given hash and compare functions.
//
//   THashTable<K, T>         elements of type T looked up by a key of type K
//                            (the element itself unless a key function is
//                            given); chains kept sorted or in entry order.
//   THashTableWithOrd<K, T>  sorted chains; the bucket count is
//                            get_a_prime_number_larger_than(requested).
//   THashTableWithoutOrd<K, T>  the same with unsorted chains.
//   HashTable, HashTableWithOrd, HashTableWithoutOrd  the untyped forms:
//                            elements void*, keys const void*.
//   SHashTable<T>            string-keyed with sorted chains, hashed with
//                            hashpjw and compared with lorvan::strcasecmp;
//                            the bucket count is the requested size, at
//                            least 11.
//   TLHashTable<T>, LHashTable  intrusive records (derived from Llink) keyed
//                            by a string; bucket = hashpjw_signed(key)
//                            modulo the bucket count the caller gives.
//
// Tables never rehash.  A table owns its elements only when it was given a
// deleter: then clear(), remove() and the destructor hand the elements to
// it.  The table keeps its own chain nodes (one allocation per element)
// except TLHashTable, whose chains run through the records themselves.
//
// Compare functions return an int that is negative, zero or positive as the
// first key sorts before, equal to or after the second.
//
// show_profile() prints how many buckets hold 0, 1, 2, ... elements: entries
// "size=" n ":" count, five per line (tab-separated), where the last entry
// counts the buckets with limit or more elements, followed by "total number
// of elements = " and the total.
#ifndef LORVAN_INCLUDE_HASHTABLE_H_
#define LORVAN_INCLUDE_HASHTABLE_H_

#include <cstddef>
#include <iostream>
#include <iterator>
#include <vector>

#include "llist.h"
#include "strfuncs.h"

namespace lorvan {

// Prints a chain-length histogram in the format described above.
// buckets_with_size[i] is the number of buckets with i elements; the last
// entry is the number with at least that many.
void print_chain_profile(std::ostream& out, const std::vector<long>& buckets_with_size,
                         long total);

// Counts chain lengths into limit + 1 classes (see print_chain_profile).
class ChainProfile {
 public:
  explicit ChainProfile(int limit) : counts_(static_cast<std::size_t>(limit > 0 ? limit : 1) + 1) {}
  void add_chain(long length) {
    std::size_t i = static_cast<std::size_t>(length);
    counts_[i < counts_.size() ? i : counts_.size() - 1] += 1;
    total_ += length;
  }
  // add_chain() for every chain of `buckets`; next(link) is the link after
  // link in its chain, or null.
  template <class Link, class Next>
  void add_chains(const std::vector<Link*>& buckets, Next next) {
    for (Link* head : buckets) {
      long n = 0;
      for (Link* l = head; l != nullptr; l = next(l)) ++n;
      add_chain(n);
    }
  }
  void print(std::ostream& out) const { print_chain_profile(out, counts_, total_); }

 private:
  std::vector<long> counts_;
  long total_ = 0;
};

template <class K, class T = K>
class THashTable {
  struct Node {
    T val;
    Node* next;
  };

 public:
  using HashFn = unsigned (*)(K);
  using CmpFn = int (*)(K, K);
  using KeyFn = K (*)(const T&);
  using Deleter = void (*)(T);

  // Where find() stopped: the place at which an element with the key
  // searched for belongs.  Valid until the table changes.
  class Place {
    friend class THashTable;
    Node** slot_ = nullptr;
  };

  // buckets: the exact bucket count (at least 1 is used).  With ordered set
  // every chain is kept in ascending order by cmp.
  THashTable(unsigned buckets, HashFn hash, CmpFn cmp, bool ordered, Deleter deleter = nullptr,
             KeyFn key = &THashTable::identity_key)
      : buckets_(buckets > 0 ? buckets : 1, nullptr),
        hash_(hash), cmp_(cmp), key_(key), deleter_(deleter), ordered_(ordered) {}
  THashTable(const THashTable&) = delete;
  THashTable& operator=(const THashTable&) = delete;
  ~THashTable() { clear(); }

  // The default key function: the element is its own key.
  static K identity_key(const T& x) { return x; }

  unsigned bucket_count() const { return static_cast<unsigned>(buckets_.size()); }
  int size() const { return size_; }
  bool ordered() const { return ordered_; }

  // The stored element whose key equals key, or null.
  T* find(K key) const {
    Place place;
    return const_cast<THashTable*>(this)->find(key, place);
  }
  // The same; place receives where an element with this key belongs.
  T* find(K key, Place& place) {
    Node** slot = &buckets_[bucket_of(key)];
    for (; *slot != nullptr; slot = &(*slot)->next) {
      int r = cmp_(key, key_((*slot)->val));
      if (r == 0) {
        place.slot_ = slot;
        return &(*slot)->val;
      }
      if (r < 0 && ordered_) break;
    }
    place.slot_ = slot;
    return nullptr;
  }
  // Stores x at place, which find() gave for x's key while returning null,
  // with no change to the table since.  Returns the stored element.
  T* insert_at(Place place, const T& x) {
    *place.slot_ = new Node{x, *place.slot_};
    ++size_;
    return &(*place.slot_)->val;
  }
  // Stores x unless an element with an equal key is present.  Returns
  // whether x was stored.
  bool insert(const T& x) {
    Place place;
    if (find(key_(x), place) != nullptr) return false;
    insert_at(place, x);
    return true;
  }
  // Removes the element with key.  With removed given, the element is
  // moved there and not handed to the deleter.  False when there is none.
  bool remove(K key, T* removed = nullptr) {
    Place place;
    if (find(key, place) == nullptr) return false;
    Node* n = *place.slot_;
    *place.slot_ = n->next;
    --size_;
    if (removed != nullptr) *removed = n->val; else dispose(n->val);
    delete n;
    return true;
  }
  // Removes every element (handing each to the deleter, if any).
  void clear() {
    for (Node*& head : buckets_) {
      while (Node* n = head) {
        head = n->next;
        dispose(n->val);
        delete n;
      }
    }
    size_ = 0;
  }

  // Calls fn(element) for every element, bucket by bucket, each chain in
  // order.
  template <class Fn>
  void for_each(Fn fn) const {
    for (Node* head : buckets_) {
      for (Node* n = head; n != nullptr; n = n->next) fn(n->val);
    }
  }

  // Forward iteration over the elements (the table must not change
  // meanwhile).
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T&;
    iterator() = default;
    reference operator*() const { return node_->val; }
    pointer operator->() const { return &node_->val; }
    iterator& operator++() {
      node_ = node_->next;
      settle();
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& o) const { return node_ == o.node_; }

   private:
    friend class THashTable;
    iterator(const std::vector<Node*>* buckets, std::size_t b)
        : buckets_(buckets), bucket_(b), node_(b < buckets->size() ? (*buckets)[b] : nullptr) {
      settle();
    }
    // Moves on to the next non-empty bucket while node_ is null.
    void settle() {
      while (node_ == nullptr && buckets_ != nullptr && ++bucket_ < buckets_->size()) {
        node_ = (*buckets_)[bucket_];
      }
    }
    const std::vector<Node*>* buckets_ = nullptr;
    std::size_t bucket_ = 0;
    Node* node_ = nullptr;
  };
  iterator begin() const { return iterator(&buckets_, 0); }
  iterator end() const { return iterator(); }

  void show_profile(std::ostream& out = std::cerr, int limit = 20) const {
    ChainProfile profile(limit);
    profile.add_chains(buckets_, [](Node* n) { return n->next; });
    profile.print(out);
  }

 private:
  std::size_t bucket_of(K key) const { return hash_(key) % buckets_.size(); }
  void dispose(T& x) {
    if (deleter_ != nullptr) deleter_(x);
  }

  std::vector<Node*> buckets_;
  HashFn hash_;
  CmpFn cmp_;
  KeyFn key_;
  Deleter deleter_;
  bool ordered_;
  int size_ = 0;
};

template <class K, class T = K>
class THashTableWithOrd : public THashTable<K, T> {
  using Base = THashTable<K, T>;

 public:
  THashTableWithOrd(unsigned requested, typename Base::HashFn hash, typename Base::CmpFn cmp,
                    typename Base::Deleter deleter = nullptr,
                    typename Base::KeyFn key = &Base::identity_key)
      : Base(get_a_prime_number_larger_than(requested), hash, cmp, true, deleter, key) {}
};

template <class K, class T = K>
class THashTableWithoutOrd : public THashTable<K, T> {
  using Base = THashTable<K, T>;

 public:
  THashTableWithoutOrd(unsigned requested, typename Base::HashFn hash, typename Base::CmpFn cmp,
                       typename Base::Deleter deleter = nullptr,
                       typename Base::KeyFn key = &Base::identity_key)
      : Base(get_a_prime_number_larger_than(requested), hash, cmp, false, deleter, key) {}
};

using HashTable = THashTable<const void*, void*>;
using HashTableWithOrd = THashTableWithOrd<const void*, void*>;
using HashTableWithoutOrd = THashTableWithoutOrd<const void*, void*>;

template <class T>
class SHashTable : public THashTable<const char*, T> {
  using Base = THashTable<const char*, T>;

 public:
  SHashTable(unsigned requested, typename Base::KeyFn key, typename Base::Deleter deleter = nullptr)
      : Base(requested > 11 ? requested : 11, &hashpjw, &lorvan::strcasecmp, true, deleter, key) {}
};

// Intrusive string-keyed table; T derives from Llink.  The key of a record
// is key(record), by default record->key().
template <class T>
class TLHashTable {
 public:
  using KeyFn = const char* (*)(const T*);
  using CmpFn = int (*)(const char*, const char*);
  using Deleter = void (*)(T*);

  // The chain slot at which a new record for the key searched for is to be
  // inserted.  Valid until the table changes.
  class Place {
    friend class TLHashTable;
    Llink** slot_ = nullptr;
  };

  TLHashTable(unsigned buckets, CmpFn cmp, Deleter deleter = nullptr,
              KeyFn key = &TLHashTable::record_key)
      : buckets_(buckets > 0 ? buckets : 1, nullptr), cmp_(cmp), key_(key), deleter_(deleter) {}
  TLHashTable(const TLHashTable&) = delete;
  TLHashTable& operator=(const TLHashTable&) = delete;
  ~TLHashTable() { clear(); }

  unsigned bucket_count() const { return static_cast<unsigned>(buckets_.size()); }
  int size() const { return size_; }

  // The record with key, or null.
  T* search(const char* key) const {
    for (Llink* l = buckets_[bucket_of(key)]; l != nullptr; l = l->lnext) {
      if (cmp_(key, key_(typed(l))) == 0) return typed(l);
    }
    return nullptr;
  }
  // The same; place receives the slot for a new record with this key.
  T* search(const char* key, Place& place) {
    place.slot_ = &buckets_[bucket_of(key)];
    return static_cast<const TLHashTable*>(this)->search(key);
  }
  // Chains x in at place (from search() for x's key, which gave null).
  void insert(Place place, T* x) {
    Llink* link = x;
    link->lnext = *place.slot_;
    *place.slot_ = link;
    ++size_;
  }
  // Chains x in unless a record with x's key is present; returns x, or the
  // record already present (x is then left alone).
  T* enter(T* x) {
    Place place;
    if (T* old = search(key_(x), place)) return old;
    insert(place, x);
    return x;
  }
  // Unchains and returns the record with key (the caller owns it), or null.
  T* remove(const char* key) {
    for (Llink** slot = &buckets_[bucket_of(key)]; *slot != nullptr; slot = &(*slot)->lnext) {
      T* x = typed(*slot);
      if (cmp_(key, key_(x)) == 0) {
        *slot = (*slot)->lnext;
        static_cast<Llink*>(x)->lnext = nullptr;
        --size_;
        return x;
      }
    }
    return nullptr;
  }
  // Unchains every record, handing each to the deleter, if any.
  void clear() {
    for (Llink*& head : buckets_) {
      while (Llink* l = head) {
        head = l->lnext;
        l->lnext = nullptr;
        if (deleter_ != nullptr) deleter_(typed(l));
      }
    }
    size_ = 0;
  }

  // Calls fn(record) for every record.  fn may not unchain records.
  template <class Fn>
  void for_each(Fn fn) const {
    for (Llink* head : buckets_) {
      for (Llink* l = head; l != nullptr; l = l->lnext) fn(typed(l));
    }
  }

  void show_profile(std::ostream& out = std::cerr, int limit = 20) const {
    ChainProfile profile(limit);
    profile.add_chains(buckets_, [](Llink* l) { return l->lnext; });
    profile.print(out);
  }

 private:
  static const char* record_key(const T* x) { return x->key(); }
  static T* typed(Llink* l) { return static_cast<T*>(l); }
  std::size_t bucket_of(const char* key) const { return hashpjw_signed(key) % buckets_.size(); }

  std::vector<Llink*> buckets_;
  CmpFn cmp_;
  KeyFn key_;
  Deleter deleter_;
  int size_ = 0;
};

using LHashTable = TLHashTable<Llink>;

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_HASHTABLE_H_
