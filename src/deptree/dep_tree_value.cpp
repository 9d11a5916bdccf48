#include "deptree/dep_tree_value.h"

#include "command/irslist.h"
#include "deptree/dep_tree.h"
#include "deptree/deps.h"

namespace lorvan {

void* DepTreeValue::make_val(IRSlist* args) {
  Deps* deps = Deps::the_deps;
  if (deps == nullptr || args == nullptr) return nullptr;
  return DepTree::value(deps->get_named_node(args->top_val()));
}

const char* DepTreeValue::toString(void* v) {
  const DepTree* node = DepTree::cast(v);
  return node != nullptr ? node->name() : nullptr;
}

// Never destroyed: property names keep it as their value type to the end.
DepTreeValue& DepTreeValue::shared() {
  static DepTreeValue& type = *new DepTreeValue;
  return type;
}

}  // namespace lorvan
