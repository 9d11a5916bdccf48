// Building ParseTrees from dependency structures: the conversion of a Deps
// (its DepTree nodes) into ParseNodes, the selection of the attribute
// values a node shows, and the parser side of parse() (parse_tree.h).
//
// Every string a converted node shows is copied into the ParseTree's arena,
// so the tree stays valid after the Deps is cleared or destroyed.  The
// conversion does change the Deps in one way: nodes without a name are
// named (Deps::name_node), since every ParseNode carries its node's name as
// its label.  Attribute names of features point into the attribute type.
#ifndef LORVAN_APP_PARSE_TREE_BUILDER_H_
#define LORVAN_APP_PARSE_TREE_BUILDER_H_

#include <memory>

#include "parse_tree.h"

namespace lorvan {

class AttVec;
class DepTree;
class LBitSet;
class VanticParser;

// Appends to `node`'s features, in increasing index order, the pair
// (attribute name, string value) of every attribute that is in `shown` and
// that `vector` defines.  A null `shown` (no attributes selected) adds
// nothing.
void extract_features(ParseNode& node, const LBitSet* shown, const AttVec& vector);

// Converts `d` and its subtree into ParseNodes of `tree` and returns the
// converted `d` (not yet the tree's root).  Per node: the span, the word at
// the node's position ("" outside the sentence), the root, relation and
// category when the node has them, the node's name as label, its position
// as head_pos() (for a node without position the lowest position along its
// first-child chain, or its low), and the attributes of `shown` from its
// vector as features.  Children are inserted in head-position order, and
// antecedent links between converted nodes are carried over.  Null for a
// null `d`.
std::unique_ptr<ParseNode> deptree2parsenode(DepTree* d, const LBitSet* shown, ParseTree& tree);

// Runs `parser` on the sentence it was prepared with (chart and dependency
// extraction; the output-tree flag is cleared first) and, when the parse
// succeeded and made a dependency structure, makes the structure's conversion the root of
// `tree`, with the parser's show attributes as features.  The parser keeps
// its structure.
void get_parse_tree(VanticParser& parser, ParseTree& tree);

}  // namespace lorvan

#endif  // LORVAN_APP_PARSE_TREE_BUILDER_H_
