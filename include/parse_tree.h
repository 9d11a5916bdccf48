// The public parse result: a ParseTree of ParseNodes made from the parser's
// dependency structure, each node holding plain strings (word, root,
// category, relation, label) and the displayed attribute values, plus the
// printers of the demo program.
//
// Ownership: a ParseTree owns its root and its string arena; every node owns
// its children, so destroying a node destroys its subtree.  Every string a
// node shows is copied into the tree's arena and stays valid until the
// tree's next reset() or its destruction, independent of the parser.
// Attribute names of features are not copied: they belong to the attribute
// type that defines them.
#ifndef LORVAN_INCLUDE_PARSE_TREE_H_
#define LORVAN_INCLUDE_PARSE_TREE_H_

#include <iostream>
#include <memory>
#include <vector>

#include "strbufs.h"

namespace lorvan {

class ParseTree;

// Text printed in the word column for a node without a word ("()" unless
// the demo program's -e option changes it).  Not owned.
extern const char* empty_cat_str;

// One displayed attribute: its name (not copied) and value (in the arena).
struct FeatureValue {
  const char* name;
  const char* value;
};

class ParseNode {
 public:
  explicit ParseNode(ParseTree* tree);
  ParseNode(const ParseNode&) = delete;
  ParseNode& operator=(const ParseNode&) = delete;

  ParseTree* tree() const { return tree_; }
  ParseNode* parent() const { return parent_; }
  const std::vector<std::unique_ptr<ParseNode>>& children() const { return children_; }

  // Each is null until set; a setter stores a copy in the tree's arena
  // (a null text unsets the field).
  const char* word() const { return word_; }
  const char* root() const { return root_; }
  const char* category() const { return category_; }
  const char* relation() const { return relation_; }
  const char* label() const { return label_; }
  void word(const char* text) { word_ = copy(text); }
  void root(const char* text) { root_ = copy(text); }
  void category(const char* text) { category_ = copy(text); }
  void relation(const char* text) { relation_ = copy(text); }
  void label(const char* text) { label_ = copy(text); }

  const std::vector<FeatureValue>& features() const { return features_; }
  // Appends (name, a copy of value).
  void add_feature(const char* name, const char* value);

  // Another node of the same tree, or null.  Not owned.
  ParseNode* antecedent() const { return antecedent_; }
  void antecedent(ParseNode* node) { antecedent_ = node; }

  int low() const { return low_; }
  int high() const { return high_; }
  void low(int n) { low_ = n; }
  void high(int n) { high_ = n; }
  // Position of the node's word; -1 until set.
  int head_pos() const { return head_pos_; }
  void head_pos(int n) { head_pos_ = n; }
  float weight() const { return weight_; }
  void add_weight(float x) { weight_ += x; }

  // Takes `child`, becomes its parent and inserts it before the first
  // existing child whose head_pos() is greater than the child's, or at the
  // end.
  void ord_insert(std::unique_ptr<ParseNode> child);

  // The node's own part of the bracketed print (see ParseTree::print).
  void print_root(std::ostream& out) const;

 private:
  const char* copy(const char* text) const;

  ParseTree* tree_;
  ParseNode* parent_ = nullptr;
  std::vector<std::unique_ptr<ParseNode>> children_;
  const char* word_ = nullptr;
  const char* root_ = nullptr;
  const char* category_ = nullptr;
  const char* relation_ = nullptr;
  const char* label_ = nullptr;
  std::vector<FeatureValue> features_;
  ParseNode* antecedent_ = nullptr;
  int low_ = 0;
  int high_ = 0;
  int head_pos_ = -1;
  float weight_ = 0;
};

class ParseTree {
 public:
  ParseTree();
  ~ParseTree();
  ParseTree(const ParseTree&) = delete;
  ParseTree& operator=(const ParseTree&) = delete;

  // Destroys the root and empties the arena.
  void reset();

  ParseNode* root() const { return root_.get(); }
  // Makes `node` the root.  A previous root is not destroyed: it is handed
  // back to the caller.
  std::unique_ptr<ParseNode> root(std::unique_ptr<ParseNode> node);

  // Concatenates up to five strings (nulls skipped) into the arena.
  const char* get_str(const char* a, const char* b = nullptr, const char* c = nullptr,
                      const char* d = nullptr, const char* e = nullptr);

  // Bracketed print: the root at depth 0 when there is one, then a newline.
  void print(std::ostream& out) const;

 private:
  StrBufs strings_;
  std::unique_ptr<ParseNode> root_;
};

// One node of the bracketed print at `depth`, with its subtree.
void print_parse_node(std::ostream& out, const ParseNode* node, int depth);

// The dependency-tree listing of the demo program: "(" and a newline for the
// top node, one line per node in order of head position (each head between
// its left and right dependents), and ")" without a newline.  Nothing for a
// null node.
void print_dependency_tree(const ParseNode* node, std::ostream& out = std::cout);

// One line of the listing, tab-separated: label, word (or empty_cat_str),
// root ("~" when equal to the word ignoring case), category ("U" without),
// parent label ("*" under the top node), relation, then the optional
// "(gov ...)", "(antecedent ...)" and "(atts ...)" fields.  Nothing for the
// top node.
void print_dependency_node(const ParseNode* node, std::ostream& out = std::cout);

// The triple listing: "gov-root\tgov-cat:rel:dep-cat\tdep-root" for every
// node that has a relation, a parent, and where both have a category and a
// root; then the children in order.  Nothing for a null node.
void print_triples(const ParseNode* node, std::ostream& out = std::cout);

// Parses `text` (one sentence) with the current parser and fills `tree`.
// Does nothing for a null text or while no parser is current, so the tree
// keeps what it holds (nothing after a reset()).
void parse(const char* text, ParseTree& tree);
// The same for a null-terminated array of words.
void parse(const char* const* words, ParseTree& tree);

// Selects the attributes shown as features: `names` is split at blanks and
// tabs (the text is modified), and the names the current parser's attribute
// type knows become its shown set.  Does nothing while no parser is current.
void extract_features(char* names);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_PARSE_TREE_H_
