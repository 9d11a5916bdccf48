// TreeModifier: a named, ordered set of tree rules (tree_rule.h) that
// rewrites a tree in place -- for example every dependency tree a parser
// returns -- and the two commands that build and empty such sets:
//
//   (def-tree-rules <name> <rule> ... <rule>)
//       finds the TreeModifier called <name>, or makes an empty one and
//       registers it (type "TreeModifier", deleter del_TreeModifier), then
//       appends the rules after those it already has
//   (clear-tree-rules <name>)
//       destroys every rule of the modifier <name>, which stays registered;
//       nothing when there is none
//
// Ownership: a modifier owns its rules.  A registered modifier belongs to
// its name space and lives until it is deleted there or the process ends.
#ifndef LORVAN_DEPTREE_TREE_MODIFIER_H_
#define LORVAN_DEPTREE_TREE_MODIFIER_H_

#include <memory>
#include <vector>

#include "deptree/tree_rule.h"

namespace lorvan {

class IRSlist;
class RSTree;

class TreeModifier {
 public:
  // The named-object type string.
  static constexpr const char* kTypeName = "TreeModifier";

  TreeModifier() = default;
  TreeModifier(const TreeModifier&) = delete;
  TreeModifier& operator=(const TreeModifier&) = delete;

  // Reads one rule from each element of `rules`, in order, and appends it.
  // An element's first atom is its kind: exactly "up", "flat", "root" or
  // "down" (case-sensitive); other elements are ignored without a message.
  void def_rules(IRSlist* rules);
  // Applies every rule in definition order to the tree below and including
  // `root`; each rule finishes its walk before the next starts.  A DepTree
  // (the top node of a Deps) is passed as it is.  Nothing for null.
  void apply_rules(RSTree* root) const;
  // Destroys every rule.
  void clear() { rules_.clear(); }

  int size() const { return static_cast<int>(rules_.size()); }
  const TreeRule* rule(int i) const { return rules_[static_cast<std::size_t>(i)].get(); }

 private:
  std::vector<std::unique_ptr<TreeRule>> rules_;
};

// The deleter of registered modifiers.
void del_TreeModifier(void* modifier);

// The command handlers; both return null.
void* def_tree_rules(IRSlist* args);
void* clear_tree_rules(IRSlist* args);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_MODIFIER_H_
