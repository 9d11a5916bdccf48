// TNode: the forest node of one parse item -- the item's category, its
// decompositions (the ways it was made, each weighed), the weight of its
// best analysis, a prior added when it competes as a root, and the
// analysis chosen for extraction.
//
// Ownership: nodes are made and owned by their ParseForest; a node owns
// its root decomposition and points to the forest, the item and the
// category without owning them.
#ifndef LORVAN_PARSER_TNODE_H_
#define LORVAN_PARSER_TNODE_H_

#include <iosfwd>

#include "parser/parse_forest.h"
#include "parser/pitem_dcmp.h"

namespace lorvan {

class GCate;

class TNode {
 public:
  // A node for `item` (which may not be null) of `forest`; decompose()
  // fills it.
  TNode(ParseForest* forest, PItem* item);
  TNode(const TNode&) = delete;
  TNode& operator=(const TNode&) = delete;

  ParseForest* forest() const { return forest_; }
  GCate* category() const { return category_; }
  PItem* pitem() const { return item_; }
  // The decomposition whose alternatives are the ways of making the item.
  PItemDcmp& dcmp() { return dcmp_; }
  const PItemDcmp& dcmp() const { return dcmp_; }
  const PItemDcmpIterator& iterator() const { return iterator_; }

  // The weight of the best analysis.
  float w() const { return w_; }
  int prior() const { return prior_; }
  void prior(int p) { prior_ = p; }
  // The number of analyses (for printing).
  double analyses() const { return analyses_; }

  // Fills the root decomposition from the item and its alternatives, then
  // counts the analyses and takes the best weight.  Called once, by the
  // forest, after the node is entered into its table.
  void decompose();

  // Chooses the best analysis of this node and of every node it uses; a
  // node already reset is left alone.
  void iter_reset();
  // True when the node has no analysis to extract.
  bool iter_finished() const { return iterator_.empty(); }

  // The dependency tree of the chosen analysis, made in `deps`, or null
  // when there is none.  Trees of items with antecedents are recorded in
  // `associations`.
  DepTree* get_deps(Deps& deps, Associations& associations);

  // Two blanks per depth, the category name, ": (" analyses ") w=" w and
  // a line end, then the item in its chart form and a line end.
  void print(std::ostream& out, int depth) const;

 private:
  void decompose(PItemDcmp& d, PItem* item);
  void decompose_one(PItemDcmp& d, PItem* x);
  float merge_weight(PItem* x) const;

  ParseForest* forest_;
  GCate* category_;
  PItem* item_;
  PItemDcmp dcmp_;
  PItemDcmpIterator iterator_;
  float w_ = 0.0f;
  int prior_ = 0;
  bool iterated_ = false;  // set by iter_reset(), so shared nodes reset once
  double analyses_ = 0.0;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_TNODE_H_
