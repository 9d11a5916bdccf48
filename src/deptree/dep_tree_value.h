// DepTreeValue: the value type of properties whose values are dependency
// nodes, such as "ante" and "ref".  A value is a node (as an "RSTree*"
// value); it prints as the node's name and reads back as the node of that
// name in the structure being read (Deps::the_deps).
//
// Values are not owned: nodes belong to their Deps, so copy_val() returns
// the value itself and del() does nothing.
#ifndef LORVAN_DEPTREE_DEP_TREE_VALUE_H_
#define LORVAN_DEPTREE_DEP_TREE_VALUE_H_

#include "deptree/val_type.h"

namespace lorvan {

class DepTreeValue : public ValType {
 public:
  const char* pointer_type() const override { return "RSTree*"; }
  // The node named by the first argument in Deps::the_deps; null when no
  // structure is being read or no node has that name.
  void* make_val(IRSlist* args) override;
  void* copy_val(void* v) override { return v; }
  // The node's name; null for null.
  const char* toString(void* v) override;

  // The instance init_prop_names() gives to "ante" and "ref"; never
  // destroyed.
  static DepTreeValue& shared();
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEP_TREE_VALUE_H_
