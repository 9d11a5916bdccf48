// PropVal and PropList: the properties of a dependency node or a relation
// record.
//
// A PropVal is one entry: a property id (ValType's name table), a value
// (interpreted by the property's value type) and a weight.  A PropList keeps
// its entries in ascending order of id; the entries of one id stand in the
// order they were added, the newest first.
//
// Ownership: a PropList owns the values it stores.  add_propval() stores the
// value type's copy_val() of the value it is given (the value itself for a
// property without a value type), and del_prop() and the destructor free
// stored values with the value type's del().  Entries handed out by
// get_vals() or the accessors still belong to the list.
#ifndef LORVAN_DEPTREE_PROP_LIST_H_
#define LORVAN_DEPTREE_PROP_LIST_H_

#include <iosfwd>

#include "slist.h"
#include "tarray.h"

namespace lorvan {

class IRSlist;

struct PropVal {
  PropVal() = default;
  PropVal(int id_, void* value_, float weight_) : id(id_), value(value_), weight(weight_) {}

  // The value; null when `t` is not negative and is not the argument type
  // of the property's values (0 when the property has none).
  void* val(int t) const;

  int id = 0;
  void* value = nullptr;
  float weight = 0;
};

class PropList {
 public:
  // An empty list with room for `capacity` entries.
  explicit PropList(int capacity = 0);
  ~PropList();
  PropList(const PropList&) = delete;
  PropList& operator=(const PropList&) = delete;

  int length() const { return vals_.length(); }
  const PropVal& operator[](int i) const { return vals_[i]; }
  const PropVal* begin() const { return vals_.begin(); }
  const PropVal* end() const { return vals_.end(); }

  // 1 when an entry with that id exists, else 0.  `pos` becomes the
  // position of the first entry with that id, or where one would go.
  int search(int id, int& pos) const;
  // 1 when an entry with entry's id and the identical value (the same
  // pointer) exists, `pos` its position; otherwise 0 and `pos` as above.
  int search(const PropVal& entry, int& pos) const;
  // The value of the first entry with that id, or null.
  void* get_val(int id) const;
  // Appends copies of the entries with that id, in order, to `out`; returns
  // how many (0 when there is none).
  int get_vals(int id, TSlist<PropVal>& out) const;
  // Removes (and frees the values of) every entry with that id; 1 when
  // there was one, else 0.
  int del_prop(int id);

  // Stores entry's value as the property's value type copies it.  When an
  // entry with the same id and that stored value exists, only its weight
  // is replaced; otherwise the entry goes before the entries of the same id
  // already present.
  void add_propval(const PropVal& entry);

  // Reads every element (PROPERTY VALUE [WEIGHT]) of `list` whose PROPERTY
  // names a property with a value type: the value is made by the value type
  // from VALUE (a list as it is, an atom as a list holding it), the weight
  // is WEIGHT as a number (0 without one).  Entries of one id keep the
  // order written, after any already present.  Other elements (atoms,
  // unknown or untyped properties, entries without VALUE) are skipped.
  void init(IRSlist* list);

  // For every entry whose property has a value type: " (" name " " the
  // value's text (toString, through quote_white), " " weight when it is not
  // 0, ")".
  void print(std::ostream& out) const;

 private:
  // Frees the value of vals_[pos] and removes the entry.
  void erase(int pos);

  TArray<PropVal> vals_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_PROP_LIST_H_
