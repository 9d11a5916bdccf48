// TRel: a relation record -- a named property list, such as an assertion
// attached to a dependency structure.
//
// The name is registered as a property name, and the record holds the name
// table's copy of it.  The integer value is 0 for every record made here.
// The record owns its entries' values (see PropList); whoever holds a record
// owns it (a dependency structure owns its assertions).
#ifndef LORVAN_DEPTREE_TREL_H_
#define LORVAN_DEPTREE_TREL_H_

#include <iosfwd>

#include "deptree/prop_list.h"

namespace lorvan {

class TRel : public PropList {
 public:
  // An empty record named `name` with room for `capacity` entries.
  TRel(const char* name, int value, int capacity);

  const char* name() const { return name_; }
  int value() const { return value_; }

  // "(" name, the entries as PropList::print writes them, ")".
  void print(std::ostream& out) const;

 private:
  const char* name_;
  int value_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREL_H_
