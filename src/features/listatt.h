// ListAtt: the attribute kind whose value is a shared list of nested
// vectors (an AVList, avlist.h) of the nested type, or null; written
// (args (...) (...)), each inner list a vector in text form.
//
// Two lists unify when they have the same length and unify element by
// element; they compare element by element (lists of different lengths
// are incomparable).  StackAtt (stackatt.h) refines the rules for lists
// that behave as stacks.
//
// Sharing and copy-on-write work as for VecAtt (vecatt.h), at two levels:
// a shared list is replaced by a copy (sharing the elements) before it
// changes, and a shared element is replaced by a copy before it changes.
// An element that is the very vector the other side holds is left alone.
//
// Ownership: a description owns its str_val buffer (valid until the next
// str_val on it); lists are owned by their holders.
#ifndef LORVAN_FEATURES_LISTATT_H_
#define LORVAN_FEATURES_LISTATT_H_

#include "features/att_interpreter.h"
#include "features/avlist.h"
#include "features/shared_value.h"

namespace lorvan {

class ListAtt : public ComplexAtt {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;

  // Stores x (a hold on it) unless it is the stored list already; the list
  // it replaces loses a hold.
  void set_val(AttVec* v, AttVal x) override;
  // Drops the hold on the stored list and stores null.
  void del_val(AttVec* v) override;
  // Not defined in v: stores x when `doit`; 1.  Defined: x null ->
  // whether the stored list is null; stored null -> 0; lengths differ ->
  // 0; otherwise element k unifies with x's element k for every k in
  // order, a failure giving 0 (earlier elements stay changed).
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // Both lists present: each stored element is modified with x's element
  // at the same position, and x's further elements are appended as
  // copies.  Otherwise the attribute takes x, shared.
  void modify_val(AttVec* v, int index, AttVal x) override;
  // Both define lists of the same length: element-wise minus; when every
  // element is left empty the attribute is undefined.  Otherwise nothing.
  void minus(AttVec* v, const AttVec* w) override;
  // Both define lists: lengths differ -> the attribute is undefined; else
  // element-wise intersect.  Otherwise the base rule.
  void intersect(AttVec* v, const AttVec* w) override;
  // A null side: the base rule (0 both null, else 2); lengths differ: 2;
  // otherwise the element comparisons combined (combine_cmp).
  int cmp_vals(AttVal a, AttVal b) const override;
  // A new list of one new vector of the nested type per element of `s`;
  // null when `s` has no element (or nests too deeply).
  AttVal make_val(IRSlist* s) override;
  // Deletes x when nobody holds it.
  void discard_val(AttVal x) override;
  // ~name for null; nothing when no element has a defined attribute;
  // otherwise "(" name, then " " and each element printed with aliases,
  // then ")".
  void print(std::ostream& out, const AttVec* v) override;
  // " " and each element printed with aliases; null for null.
  const char* str_val(AttVal x) override;
  // The element count (16-bit big-endian; at most 65535 elements are
  // written), then each element's binary form.
  void pack(const AttVec* v, StrBufs& out) const override;
  // Reads a list written by pack; nothing is stored when the form is bad
  // (then `in` is failed).
  void unpack(AttVec* v, ByteReader& in) override;

 protected:
  static AVList* as_list(AttVal x) { return reinterpret_cast<AVList*>(x); }
  AVList* stored(const AttVec* v) const { return shared_value<AVList>(v, storage_position()); }
  // Copy-on-write: the stored list, made private to v first when shared.
  AVList* own_stored(AttVec* v) { return own_shared<AVList>(v, storage_position()); }
  // Unifies elements 0..n-1 of the stored list (non-null, at least n long)
  // with those of x; with `doit` the changed list and elements are made
  // private first.
  int unify_prefix(AttVec* v, const AVList& x, int n, int doit);
  // Folds an element comparison c into the running result r: false when
  // the lists become incomparable.
  static bool combine_cmp(int& r, int c);
};

// Registers the ListAtt prototype (the attribute kind only; the
// list-attribute expressions register elsewhere).  Runs once.
void listatt_kind_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_LISTATT_H_
