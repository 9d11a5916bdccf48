// PItemDcmp: one way of making a parse item -- the step that refers to a
// part of the item (its head part, a modifier attached to it, or the
// lexical item itself) with the relation of the step, and the alternative
// ways of making the rest of the item, kept in ascending order of weight.
// PItemDcmpIterator holds the analysis chosen from a node's
// decompositions: one decomposition per level, deepest first.
//
// Ownership: a decomposition owns its alternatives; it points to the item,
// the relation and the forest node without owning them.  The iterator
// points into decompositions owned elsewhere.
#ifndef LORVAN_PARSER_PITEM_DCMP_H_
#define LORVAN_PARSER_PITEM_DCMP_H_

#include <memory>
#include <vector>

namespace lorvan {

class DepRel;
class PItem;
class TNode;

class PItemDcmp {
 public:
  // A decomposition referring to `item` through `rel` (either may be
  // null); `head` is 1 when the item is the head part (or the lexical
  // item), 0 for an attached modifier.
  PItemDcmp(int head, PItem* item, DepRel* rel, TNode* node)
      : head_(head), item_(item), rel_(rel), node_(node) {}
  PItemDcmp(const PItemDcmp&) = delete;
  PItemDcmp& operator=(const PItemDcmp&) = delete;

  int head() const { return head_; }
  PItem* pitem() const { return item_; }
  DepRel* rel() const { return rel_; }
  TNode* tnode() const { return node_; }

  // The weight of the best analysis below and including this step, and
  // the weight of the step itself.
  float weight() const { return weight_; }
  void weight(float w) { weight_ = w; }
  float extra_weight() const { return extra_weight_; }
  void extra_weight(float w) { extra_weight_ = w; }

  // The alternatives, cheapest first.
  const std::vector<std::unique_ptr<PItemDcmp>>& alternatives() const { return alternatives_; }
  // The cheapest alternative, or null.
  PItemDcmp* best() const { return alternatives_.empty() ? nullptr : alternatives_.front().get(); }
  // Inserts `d` after every alternative that does not weigh more.
  void insert(std::unique_ptr<PItemDcmp> d);

  // The number of analyses: the sum over the alternatives (1 without
  // any), times the number of the node referred to unless that node is
  // `owner` (a lexical item's step refers to its own node).
  double analyses(const TNode* owner) const;

 private:
  int head_;
  PItem* item_;
  DepRel* rel_;
  TNode* node_;
  float weight_ = 0.0f;
  float extra_weight_ = 0.0f;
  std::vector<std::unique_ptr<PItemDcmp>> alternatives_;
};

// Ascending order of weight (strict less-than).
bool cmp_PItemDcmp(const PItemDcmp& a, const PItemDcmp& b);

class PItemDcmpIterator {
 public:
  // Chooses the best analysis below `root`: at every level the cheapest
  // alternative, descending into its alternatives.
  void reset(const PItemDcmp& root);
  // The chosen decompositions, deepest first; empty when there is no
  // analysis.
  const std::vector<PItemDcmp*>& singles() const { return path_; }
  bool empty() const { return path_.empty(); }

 private:
  std::vector<PItemDcmp*> path_;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_PITEM_DCMP_H_
