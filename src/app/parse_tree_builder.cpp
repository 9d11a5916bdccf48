#include "app/parse_tree_builder.h"

#include <unordered_map>

#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "lbitset.h"
#include "parser/vantic_parser.h"

namespace lorvan {
namespace {

using Associations = std::unordered_map<const DepTree*, ParseNode*>;

bool has_text(const char* s) { return s != nullptr && *s != '\0'; }

// The position a node sorts by among its siblings.  A node without a
// position of its own takes its first child's (found the same way) when
// that is positive and lies before its low (or it has no low), else its
// low.  Computed bottom-up from the end of the first-child chain, without
// recursion.
int head_position(const DepTree* d) {
  const DepTree* n = d;
  while (n->pos() < 0 && n->first() != nullptr) n = n->first();
  int a = n->pos() >= 0 ? n->pos() : n->low();
  while (n != d) {
    n = n->parent();
    if (!(a > 0 && (a < n->low() || n->low() < 0))) a = n->low();
  }
  return a;
}

// One node with d's own fields; the tree links are made by the caller.
std::unique_ptr<ParseNode> convert_node(DepTree* d, const LBitSet* shown, ParseTree& tree) {
  auto n = std::make_unique<ParseNode>(&tree);
  n->low(d->low());
  n->high(d->high());
  n->word(d->deps()->word(d->pos()));
  if (d->raw_root() != nullptr) n->root(d->raw_root());
  if (has_text(d->rel())) n->relation(d->rel());
  if (d->name() == nullptr) d->deps()->name_node(d);
  n->label(d->name());
  if (has_text(d->raw_cat())) n->category(d->raw_cat());
  if (d->attvec() != nullptr) extract_features(*n, shown, *d->attvec());
  n->head_pos(head_position(d));
  return n;
}

// Points every converted node whose DepTree has a converted antecedent at
// that antecedent's ParseNode.
void link_antecedents(const DepTree* top, const Associations& nodes) {
  for (const DepTree* m = top; m != nullptr; m = next_in_subtree(m, top)) {
    const DepTree* ante = m->antecedent();
    if (ante == nullptr) continue;
    auto from = nodes.find(m);
    auto to = nodes.find(ante);
    if (from != nodes.end() && to != nodes.end()) from->second->antecedent(to->second);
  }
}

// Calls `f` with every word of `text`, which is split in place at blanks
// and tabs.
template <class F>
void for_each_word(char* text, F f) {
  char* p = text;
  while (*p != '\0') {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') break;
    char* word = p;
    while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
    if (*p != '\0') *p++ = '\0';
    f(word);
  }
}

}  // namespace

void extract_features(ParseNode& node, const LBitSet* shown, const AttVec& vector) {
  if (shown == nullptr) return;
  for (int i = 0; i < vector.num_attributes(); ++i) {
    if (shown->test(i) && vector.defined(i)) node.add_feature(vector.att_name(i), vector.str_val(i));
  }
}

// The walk is iterative, so trees of any depth convert.  A child can go
// into its parent as soon as it is made: insertion orders by head_pos()
// alone, and children arrive in order, as a conversion child by child
// would insert them.
std::unique_ptr<ParseNode> deptree2parsenode(DepTree* d, const LBitSet* shown, ParseTree& tree) {
  if (d == nullptr) return nullptr;
  Associations nodes;
  std::unique_ptr<ParseNode> top = convert_node(d, shown, tree);
  nodes.emplace(d, top.get());
  for (DepTree* m = next_in_subtree(d, d); m != nullptr; m = next_in_subtree(m, d)) {
    std::unique_ptr<ParseNode> n = convert_node(m, shown, tree);
    ParseNode* raw = n.get();
    nodes.at(m->parent())->ord_insert(std::move(n));
    nodes.emplace(m, raw);
  }
  link_antecedents(d, nodes);
  return top;
}

// ---- Parsing with the current parser ----

void get_parse_tree(VanticParser& parser, ParseTree& tree) {
  parser.output_tree(0);
  // A parse that failed leaves no structure of this sentence to show.
  if (!parser.parse()) return;
  Deps* deps = parser.current_deps();
  if (deps != nullptr) tree.root(deptree2parsenode(deps->tree(), parser.show_attributes(), tree));
}

void parse(const char* text, ParseTree& tree) {
  VanticParser* parser = VanticParser::the_parser;
  if (text == nullptr || parser == nullptr) return;
  parser->prepare_to_parse(text, nullptr);
  get_parse_tree(*parser, tree);
}

void parse(const char* const* words, ParseTree& tree) {
  VanticParser* parser = VanticParser::the_parser;
  if (words == nullptr || parser == nullptr) return;
  parser->prepare_to_parse(words);
  get_parse_tree(*parser, tree);
}

void extract_features(char* names) {
  VanticParser* parser = VanticParser::the_parser;
  if (names == nullptr || parser == nullptr || parser->att_type() == nullptr) return;
  const AttInterpreterList& type = *parser->att_type();
  LBitSet shown(type.num_attributes());
  for_each_word(names, [&](const char* name) {
    int index = -1;
    if (type.search_att_index(name, index) != nullptr) shown.set(index);
  });
  parser->show_attributes(&shown);
}

}  // namespace lorvan
