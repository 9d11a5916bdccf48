// TreeMatch: the result of matching a tree pattern -- a small tree of match
// records that says which tree node matched which part of the pattern.
//
// A record stands for one node of the matched tree (node()), or for nothing
// when it is a placeholder: an optional part of a pattern that matched
// nothing, kept so that the records after it stay in their positions.  Its
// sub-records are its children, in pattern order.
//
// In the expression language a match travels as a value of type
// "TreeMatch*" and a tree node as a value of type "RSTree*"; the helpers
// below convert in both directions.
//
// Ownership: a record owns its sub-records (destroying a record destroys
// them).  It never owns the tree node it stands for.  A pattern hands each
// new match to its caller, who releases it once done.
#ifndef LORVAN_DEPTREE_TREE_MATCH_H_
#define LORVAN_DEPTREE_TREE_MATCH_H_

#include <memory>

#include "rslist.h"

namespace lorvan {

class TreeMatch : public RSTree {
 public:
  // A record for `node` (null: a placeholder), without sub-records.
  explicit TreeMatch(RSTree* node = nullptr) : node_(node) {}

  RSTree* node() const { return node_; }
  void node(RSTree* n) { node_ = n; }

  TreeMatch* parent() const { return static_cast<TreeMatch*>(RSTree::parent()); }
  TreeMatch* first() const { return static_cast<TreeMatch*>(RSTree::first()); }
  TreeMatch* next() const { return static_cast<TreeMatch*>(RSTree::next()); }
  TreeMatch* nth(int i) const { return static_cast<TreeMatch*>(RSTree::nth(i)); }

  // Appends / prepends a sub-record (taking ownership; null is ignored).
  void add(std::unique_ptr<TreeMatch> sub);
  void add_first(std::unique_ptr<TreeMatch> sub);

  // The record reached by following first sub-records down to a record
  // without sub-records (this record when it has none).
  TreeMatch* left_cornor();

  // Whether `n` is the node of one of this record's sub-records.
  bool has_sub_node(const RSTree* n) const;

 private:
  RSTree* node_;
};

// The type ids of "RSTree*" and "TreeMatch*".
int rstree_type();
int tree_match_type();

// Conversions between values of the expression language and their objects.
inline RSTree* as_node(void* v) { return static_cast<RSTree*>(v); }
inline void* node_value(RSTree* n) { return n; }
inline TreeMatch* as_match(void* v) { return static_cast<TreeMatch*>(v); }
inline void* match_value(TreeMatch* m) { return m; }

// The node of a match's root record, or null (for a null match too).
RSTree* match_root_node(void* match);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_MATCH_H_
