// Tree rules: a condition paired with an action that rewrites a tree in
// place.  Rules are written in def-tree-rules (tree_modifier.h):
//
//   (up   [shallow] [:name TEXT] [:comments TEXT] CONDITION ACTION)
//   (down [shallow] [:name TEXT] [:comments TEXT] CONDITION ACTION)
//   (root EXPRESSION)
//   (flat [shallow] [:name TEXT] [:comments TEXT] (ITEM ...) ACTION)
//
// An up (down) rule walks the tree in post-order (pre-order), evaluates its
// CONDITION -- a tree pattern (tree_patterns.h) -- on every node and, for
// every match, its ACTION on the match.  With `shallow`, an action that
// gives non-zero makes the walk pass over the rest of that node's subtree
// (down) or go on with the node's parent (up).  A root rule evaluates its
// expression once on the root.  A flat rule collects matches of several
// conditions at nodes met in post-order and runs its action on all of
// them together (see FlatRule).
//
// The condition and the action are compiled in a variable scope of their
// own, so pattern variables of the condition are seen by the action and by
// nothing else.  While the action of an up or down rule runs,
// TreeRule::the_iterator is that rule's walk; editing functions that move
// the node of a match's root record go through it so the walk stays valid.
//
// Ownership: a rule owns its compiled expressions and its name and
// comments.  Matches are made and released within apply().
#ifndef LORVAN_DEPTREE_TREE_RULE_H_
#define LORVAN_DEPTREE_TREE_RULE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "deptree/tree_match.h"
#include "expr/lexp.h"

namespace lorvan {

class IRSlist;

class TreeRule {
 public:
  // The walk of the up or down rule whose action is being evaluated; null
  // outside such an action.
  static TreeIterator* the_iterator;

  TreeRule() = default;
  virtual ~TreeRule() = default;
  TreeRule(const TreeRule&) = delete;
  TreeRule& operator=(const TreeRule&) = delete;

  // Rewrites the tree below and including `root` (not null).
  virtual void apply(RSTree* root) const = 0;
  // Reads the rule from its element list (the kind already removed):
  // removes :name and :comments wherever they stand, then a leading
  // `shallow` (case-sensitive).
  virtual void init(IRSlist* args);

  bool shallow() const { return shallow_ != 0; }
  // The :name and :comments texts, or null.
  const char* name() const { return name_.empty() ? nullptr : name_.c_str(); }
  const char* comments() const { return comments_.empty() ? nullptr : comments_.c_str(); }

 protected:
  SubExp action_;
  int shallow_ = 0;

 private:
  std::string name_;
  std::string comments_;
};

// A rule whose condition is a pattern: compiled from element 0, the action
// from element 1.  A condition whose output type is not "TreeMatch*"
// prints "<kind> cannot be used as a condition in tree rules." and the
// rule never fires.
class StructuralRule : public TreeRule {
 public:
  void init(IRSlist* args) override;

 protected:
  // Walks with `walk` (set up on the root) and acts on every match.
  void walk(TreeIterator& walk) const;

  SubExp cond_;
};

class UpRule : public StructuralRule {
 public:
  void apply(RSTree* root) const override;
};

class DownRule : public StructuralRule {
 public:
  void apply(RSTree* root) const override;
};

// Compiles element 0 as the action; evaluates it once on the root with type
// "RSTree*", ignoring the value.
class RootRule : public StructuralRule {
 public:
  void init(IRSlist* args) override;
  void apply(RSTree* root) const override;
};

// Conditions C0 ... Cn-1 (at most kMaxConditions), each possibly optional
// (`?` before it) and possibly a max condition (`:max` before it).
//
// Walking the tree in post-order, a condition without a stored match (or a
// max condition, which keeps the latest) is tried on every node; its match
// is stored.  As soon as every required condition has a match, the action
// runs on an overall match -- a root record without a node whose
// sub-records are the stored matches in condition order, with placeholders
// for those without one -- and every condition starts over, from the next
// node.  With `shallow`, a non-zero action ends the walk.
//
// An item that is not a pattern prints "<kind> cannot be used as a
// condition in tree rules." and is left out together with its markers.  A
// rule with more than kMaxConditions conditions prints "(flat ...) holds at
// most 32 conditions; the rule is ignored" and never fires.
class FlatRule : public TreeRule {
 public:
  static constexpr int kMaxConditions = 32;

  void init(IRSlist* args) override;
  void apply(RSTree* root) const override;

 private:
  // Adds the items of the condition list.
  void add_conditions(IRSlist* items);
  // A root record over `stored`, which it empties.
  static std::unique_ptr<TreeMatch> make_overall_match(
      std::vector<std::unique_ptr<TreeMatch>>& stored);

  std::vector<SubExp> conds_;
  std::uint32_t required_ = 0;  // bit i: condition i is not optional
  std::uint32_t max_ = 0;       // bit i: condition i is a max condition
};

// Compiles `e` as a rule condition: null (reported) when its output type is
// not "TreeMatch*".
std::unique_ptr<LExp> compile_rule_condition(IRSlist* e);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_RULE_H_
