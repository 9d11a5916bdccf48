// ParseForest: the analyses of one sentence read off the filled chart.
// Every item reachable from a root item gets one forest node (TNode) that
// lists the ways the item was made; the roots are the nodes of the root
// categories' items, narrowed by find_optimal_roots() to the cheapest set
// of roots covering the sentence.
//
// Ownership: the forest owns its nodes (and through them every
// decomposition); it points to the parser and to the parser's items, which
// must stay unchanged (no reset) while the forest exists.
#ifndef LORVAN_PARSER_PARSE_FOREST_H_
#define LORVAN_PARSER_PARSE_FOREST_H_

#include <iosfwd>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lorvan {

class DepTree;
class Deps;
class LexItem;
class PItem;
class TNode;
class VanticParser;

// A tree built for an item that has antecedents, with that item: traces
// are later inserted for these pairs (see get_deps()).
using Association = std::pair<DepTree*, PItem*>;
using Associations = std::vector<Association>;

class ParseForest {
 public:
  // `buckets` sizes the node table.
  explicit ParseForest(int buckets = 101);
  ~ParseForest();
  ParseForest(const ParseForest&) = delete;
  ParseForest& operator=(const ParseForest&) = delete;

  // The parser whose items and weights are used; null: every merge step
  // weighs 0 and no word has a cost.
  VanticParser* parser() const { return parser_; }
  void parser(VanticParser* p) { parser_ = p; }

  // The node of `item`, made and decomposed on first request.
  TNode* trace(PItem* item);
  // The node of `item` when one was made, or null.
  TNode* find(const PItem* item) const;
  int size() const { return static_cast<int>(nodes_.size()); }

  const std::vector<TNode*>& roots() const { return roots_; }
  // Appends `node` to the roots unless it is there already.
  void root(TNode* node);
  // Keeps only the roots of the cheapest cover of word slots 1..n-1 (n the
  // analyzer's word count), in their list order.
  void find_optimal_roots();

  // "TNodes:" and a line end, then every node (TNode::print, depth 0).
  void print(std::ostream& out) const;

 private:
  VanticParser* parser_ = nullptr;
  std::unordered_map<const PItem*, std::unique_ptr<TNode>> nodes_;
  std::vector<const TNode*> order_;  // nodes in the order they were made
  std::vector<TNode*> roots_;
};

// ---- Dependency extraction helpers (used by TNode::get_deps and
// VanticParser::get_deps) ----

// The tree of a lexical item: its components as dependents, one node for
// the rest of its span, and a "lex-mod" node for each of its other words.
DepTree* make_dep_node(Deps& deps, const LexItem* lexitem);
// The tree of an item without lexical item: one node with its span, root
// "~" and its category's name.
DepTree* make_dep_node(Deps& deps, const PItem* item);
// The item whose constituent moved away to leave `item`'s trace, or null.
PItem* find_antecedent(PItem* item);
// Whether some node below `tree` covers word `position`.
bool part_of_component(int position, const DepTree* tree);
// Whether `tree`'s vector holds the lexical item `lexitem`.
bool match_lexitem(const DepTree* tree, const LexItem* lexitem);
// Whether `tree` or one of its direct children has a pending movement
// whose traces come from an item of `lexitem`.
bool contain_gapped_child(const DepTree* tree, const LexItem* lexitem);
// Inserts under `m` an empty node standing for the antecedent `n` when one
// of the traces of `item` (or its alternatives) originates at m's lexical
// item, m holds the gap, and m has no dependent of that role yet.
void attach_trace(Deps& deps, DepTree* n, DepTree* m, PItem* item);

}  // namespace lorvan

#endif  // LORVAN_PARSER_PARSE_FOREST_H_
