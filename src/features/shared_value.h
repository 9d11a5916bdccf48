// Holds on shared values: the storage rules of the kinds whose value word
// points to a reference-counted object T (a RefCounter with a copy
// constructor): nested vectors (VecAtt), lists of vectors (ListAtt,
// StackAtt) and traces (TraceAtt).
//
// A vector's value word holds one count on the object it points to; the
// last hold that goes deletes the object.  An object is changed in place
// only once the vector holds it alone (copy-on-write), so other holders
// never see the change.
#ifndef LORVAN_FEATURES_SHARED_VALUE_H_
#define LORVAN_FEATURES_SHARED_VALUE_H_

#include "features/attvec.h"

namespace lorvan {

// Drops a hold on `p` (null is allowed) and deletes it when none is left.
template <class T>
void release_shared(T* p) {
  if (p != nullptr && p->dec_ref_cnt() <= 0) delete p;
}

// The object that value word `pos` of v points to, or null.
template <class T>
T* shared_value(const AttVec* v, int pos) {
  return reinterpret_cast<T*>(v->word(pos));
}

// Stores x (null is allowed) in value word `pos` of v with a hold on it,
// unless it is stored there already; the object it replaces loses its hold.
template <class T>
void store_shared(AttVec* v, int pos, T* x) {
  T* old = shared_value<T>(v, pos);
  if (old == x) return;
  if (x != nullptr) x->inc_ref_cnt();
  v->set_word(pos, reinterpret_cast<AttVal>(x));
  release_shared(old);
}

// Copy-on-write: the object in value word `pos` of v, first replaced there
// by a copy that v alone holds when others hold it too.  Null for null.
template <class T>
T* own_shared(AttVec* v, int pos) {
  T* p = shared_value<T>(v, pos);
  if (p == nullptr || !p->shared()) return p;
  T* copy = new T(*p);
  store_shared(v, pos, copy);
  return copy;
}

}  // namespace lorvan

#endif  // LORVAN_FEATURES_SHARED_VALUE_H_
