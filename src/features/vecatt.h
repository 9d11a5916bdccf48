// VecAtt: the nested-vector attribute kind, written (agr (+plu (per 3))).
// The value word points to an AttVec of the nested type (ComplexAtt), or
// is null (written ~agr).
//
// Sharing.  A nested vector may be held by several vectors at once; its
// reference count is the number of holders.  set_val adds a hold (and
// drops the one on the value it replaces), del_val drops it, and the last
// hold deletes the vector.  Before an operation changes a stored nested
// vector in place (unify with doit, modify, minus, intersect), a shared one
// is replaced by a private copy, so other holders never see the change.
// A nested vector that is the very value the other side holds is left
// alone: unifying, modifying or intersecting it with itself changes
// nothing.
//
// Also here: the holds on shared vectors used by every kind that keeps
// vectors (VecAtt, AVList), and the depth limit on nested values read from
// text or binary forms.
//
// Ownership: a description owns its str_val buffer (valid until the next
// str_val on it); values are owned by their holders as described above.
#ifndef LORVAN_FEATURES_VECATT_H_
#define LORVAN_FEATURES_VECATT_H_

#include "features/att_interpreter.h"
#include "features/attvec.h"
#include "features/shared_value.h"

namespace lorvan {

// Adds a hold on `v` (null is allowed).
inline void hold_attvec(AttVec* v) {
  if (v != nullptr) v->inc_ref_cnt();
}
// Drops a hold on `v` (null is allowed) and deletes it when none is left.
inline void release_attvec(AttVec* v) { release_shared(v); }

// Counts how deeply nested values are being read.  Values nested more than
// kMaxDepth levels are refused, so that hostile input cannot exhaust the
// stack here or in the recursive operations on the values later.
class NestedValueDepth {
 public:
  static constexpr int kMaxDepth = 256;

  NestedValueDepth() { ++depth_; }
  ~NestedValueDepth() { --depth_; }
  NestedValueDepth(const NestedValueDepth&) = delete;
  NestedValueDepth& operator=(const NestedValueDepth&) = delete;

  // Whether the limit is passed; prints "<attribute>: values nested more
  // than 256 levels deep are not read" and a line end if so.
  bool too_deep(const AttInterpreter& att) const;

 private:
  static int depth_;
};

class VecAtt : public ComplexAtt {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;

  // Stores x (a hold on it) unless it is the stored vector already; the
  // vector it replaces loses a hold.
  void set_val(AttVec* v, AttVal x) override;
  // Drops the hold on the stored vector and stores null.
  void del_val(AttVec* v) override;
  // Not defined in v: stores x when `doit` (shared); 1.  Defined: x null
  // -> whether the stored pointer is null; stored null -> 0; otherwise the
  // stored vector's unify(*x, no mask, doit), after copy-on-write when
  // `doit` is set.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // Both present: the stored vector (copy-on-write) is modified with *x;
  // otherwise the attribute takes x, shared.
  void modify_val(AttVec* v, int index, AttVal x) override;
  // Both define non-null vectors: undefines the attribute when they
  // compare equal, else the stored vector (copy-on-write) loses what w's
  // says the same way.  Otherwise nothing.
  void minus(AttVec* v, const AttVec* w) override;
  // Both define non-null vectors: the stored vector (copy-on-write) is
  // intersected with w's.  Otherwise the base rule.
  void intersect(AttVec* v, const AttVec* w) override;
  // Both non-null: a->cmp(*b); both null: 0; else 2.
  int cmp_vals(AttVal a, AttVal b) const override;
  // A new vector of the nested type read from the first element of `s`;
  // null when `s` has no element (or nests too deeply).
  AttVal make_val(IRSlist* s) override;
  // Deletes x when nobody holds it.
  void discard_val(AttVal x) override;
  // ~name for null, nothing for an empty vector, else "(" name " " the
  // vector printed with aliases ")".
  void print(std::ostream& out, const AttVec* v) override;
  // The vector printed with aliases; null for null.
  const char* str_val(AttVal x) override;
  // The nested vector's binary form.  (A vector writes a null value as
  // its code alone, without calling pack.)
  void pack(const AttVec* v, StrBufs& out) const override;
  // A new vector of the nested type read from `in`; nothing is stored when
  // the form is bad (then `in` is failed).
  void unpack(AttVec* v, ByteReader& in) override;

 private:
  static AttVec* as_vec(AttVal x) { return reinterpret_cast<AttVec*>(x); }
  AttVec* stored(const AttVec* v) const { return shared_value<AttVec>(v, storage_position()); }
  // Copy-on-write: the stored vector, made private to v first when shared.
  AttVec* own_stored(AttVec* v) { return own_shared<AttVec>(v, storage_position()); }
};

// Registers the VecAtt prototype.  Runs once.
void vecatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_VECATT_H_
