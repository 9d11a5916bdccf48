#include "deptree/tree_match.h"

#include "command/arg_types.h"

namespace lorvan {

void TreeMatch::add(std::unique_ptr<TreeMatch> sub) {
  if (sub != nullptr) append(sub.release());
}

void TreeMatch::add_first(std::unique_ptr<TreeMatch> sub) {
  if (sub != nullptr) insert(sub.release());
}

TreeMatch* TreeMatch::left_cornor() {
  TreeMatch* r = this;
  while (r->first() != nullptr) r = r->first();
  return r;
}

bool TreeMatch::has_sub_node(const RSTree* n) const {
  for (TreeMatch* s = first(); s != nullptr; s = s->next()) {
    if (s->node() == n) return true;
  }
  return false;
}

int rstree_type() {
  static const int id = arg_type_id("RSTree*");
  return id;
}

int tree_match_type() {
  static const int id = arg_type_id("TreeMatch*");
  return id;
}

RSTree* match_root_node(void* match) {
  return match != nullptr ? as_match(match)->node() : nullptr;
}

}  // namespace lorvan
