// TAssoc<K, V>: a small association array of TPair<K, V> (key, value)
// pairs in entry order, with linear enter and look-up.  Meant for short
// lists; every operation is a linear scan.
//
// Keys compare with operator== unless a compare function is given (for
// example strcmp or lorvan::strcasecmp for const char* keys: 0 means
// equal).  The array holds keys and values by value and owns nothing they
// point to.
#ifndef LORVAN_INCLUDE_TASSOC_H_
#define LORVAN_INCLUDE_TASSOC_H_

#include "tarray.h"

namespace lorvan {

template <class K, class V>
struct TPair {
  K key;
  V val;
};

template <class K, class V>
class TAssoc {
 public:
  using Cmp = int (*)(K, K);

  explicit TAssoc(Cmp cmp = nullptr) : cmp_(cmp) {}

  int length() const { return pairs_.length(); }
  TPair<K, V>& operator[](int i) { return pairs_[i]; }
  const TPair<K, V>& operator[](int i) const { return pairs_[i]; }

  // Sets the value of key: replaces the value of an existing pair or
  // appends a new pair.  Returns the stored value.
  V& enter(const K& key, const V& val) {
    if (V* old = lookup(key)) return *old = val;
    pairs_.add_high(TPair<K, V>{key, val});
    return pairs_.high().val;
  }
  // The value stored for key, or null.
  V* lookup(const K& key) {
    int i = index_of(key);
    return i >= 0 ? &pairs_[i].val : nullptr;
  }
  const V* lookup(const K& key) const { return const_cast<TAssoc*>(this)->lookup(key); }
  // The index of key's pair, or -1.
  int index_of(const K& key) const {
    for (int i = 0; i < pairs_.length(); ++i) {
      if (same(pairs_[i].key, key)) return i;
    }
    return -1;
  }
  // Removes key's pair; false when there is none.
  bool remove(const K& key) {
    int i = index_of(key);
    if (i < 0) return false;
    pairs_.del(i);
    return true;
  }
  void clear() { pairs_.clear(); }

  TPair<K, V>* begin() { return pairs_.begin(); }
  TPair<K, V>* end() { return pairs_.end(); }
  const TPair<K, V>* begin() const { return pairs_.begin(); }
  const TPair<K, V>* end() const { return pairs_.end(); }

 private:
  bool same(const K& a, const K& b) const { return cmp_ != nullptr ? cmp_(a, b) == 0 : a == b; }

  TArray<TPair<K, V>> pairs_;
  Cmp cmp_;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_TASSOC_H_
