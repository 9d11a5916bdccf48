#include "parser/parse_forest.h"

#include <algorithm>
#include <ostream>

#include "command/arg_types.h"
#include "deptree/deps.h"
#include "deptree/tree_modifier.h"
#include "features/avlist.h"
#include "features/traceatt.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_item.h"
#include "lexicon/avmeaning.h"
#include "parser/builtin_atts.h"
#include "parser/gcate.h"
#include "parser/mic.h"
#include "parser/parser_weights.h"
#include "parser/pitem.h"
#include "parser/root_cate.h"
#include "parser/tnode.h"
#include "parser/vantic_parser.h"

namespace lorvan {

namespace {

// The nodes of `root`'s subtree in pre-order, `root` included.
std::vector<DepTree*> subtree_nodes(DepTree* root) {
  std::vector<DepTree*> out;
  for (DepTree* n = root; n != nullptr; n = next_in_subtree(n, root)) out.push_back(n);
  return out;
}

// Whether a trace record of `item` comes from an item of `lexitem`.
bool traces_from(const TraceVal* traces, const LexItem* lexitem) {
  if (traces == nullptr) return false;
  for (const TraceRec& rec : traces->list()) {
    if (rec.item != nullptr && rec.item->lexitem() == lexitem) return true;
  }
  return false;
}

// Whether one of the pending movements of `tree`'s vector has traces from
// an item of `lexitem`.
bool has_gap_for(const DepTree* tree, const LexItem* lexitem) {
  const AttVec* vec = tree->attvec();
  const AVList* moves = vec != nullptr ? avlist_val(*vec, builtin_atts().move) : nullptr;
  if (moves == nullptr) return false;
  for (int k = 0; k < moves->length(); ++k) {
    const AttVec* v = (*moves)[k];
    if (v != nullptr && traces_from(trace_val(*v), lexitem)) return true;
  }
  return false;
}

// The node name of a lexical item's meaning, or null.
const char* meaning_node_name(Deps& deps, const LexItem* l) {
  const AVMeaning* m = AVMeaning::castToAVMeaning(l->meaning());
  std::string name;
  if (m == nullptr || !node_name(m->vec(), name)) return nullptr;
  return deps.dup_str(name.c_str());
}

}  // namespace

// ---- ParseForest ----

ParseForest::ParseForest(int buckets) { nodes_.reserve(buckets > 0 ? buckets : 1); }

ParseForest::~ParseForest() = default;

TNode* ParseForest::trace(PItem* item) {
  if (TNode* node = find(item)) return node;
  auto made = std::make_unique<TNode>(this, item);
  TNode* node = made.get();
  nodes_.emplace(item, std::move(made));
  order_.push_back(node);
  node->decompose();
  return node;
}

TNode* ParseForest::find(const PItem* item) const {
  auto it = nodes_.find(item);
  return it != nodes_.end() ? it->second.get() : nullptr;
}

void ParseForest::root(TNode* node) {
  if (std::find(roots_.begin(), roots_.end(), node) == roots_.end()) roots_.push_back(node);
}

void ParseForest::find_optimal_roots() {
  LexAnalyzer* analyzer = parser_ != nullptr ? parser_->lex_analyzer() : nullptr;
  const int n = analyzer != nullptr ? analyzer->sentleng() : 0;
  MIC mic(n);
  int last_high = -1;
  for (TNode* r : roots_) {
    mic.offer(r, r->pitem()->low(), r->pitem()->high(), r->w() + static_cast<float>(r->prior()));
    last_high = std::max(last_high, r->pitem()->high());
  }
  std::vector<const char*> words(static_cast<std::size_t>(n));
  std::vector<float> word_weights(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    words[static_cast<std::size_t>(i)] = analyzer->word(i);
    word_weights[static_cast<std::size_t>(i)] = parser_->weight_of_word(analyzer->word(i));
  }
  const std::vector<TNode*> chosen = mic.choose(words, word_weights, last_high);
  std::erase_if(roots_, [&chosen](TNode* r) {
    return std::find(chosen.begin(), chosen.end(), r) == chosen.end();
  });
}

void ParseForest::print(std::ostream& out) const {
  out << "TNodes:\n";
  for (const TNode* node : order_) node->print(out, 0);
}

// ---- Root collection ----

void RootCate::get_roots(VanticParser* parser, ParseForest& forest) const {
  const GCate* c = category();
  if (c == nullptr) return;
  static const int item_type = arg_type_id("PItem*");
  for (int e = parser->sentleng() - 1; e >= 0; --e) {
    for (int p = c->num_positions(); p >= 0; --p) {
      if (const ItemList* items = c->find_headed_items(p, e)) {
        for (PItem* item : *items) {
          if (cond() != nullptr && cond()->eval(item, item_type) == nullptr) continue;
          TNode* node = forest.trace(item);
          if (weight() != nullptr) {
            node->prior(static_cast<int>(value_to_int(weight()->eval(item, item_type))));
          }
          forest.root(node);
        }
      }
      if (c->is_necessary(p)) break;
    }
  }
}

// ---- Extraction helpers ----

DepTree* make_dep_node(Deps& deps, const LexItem* l) {
  int lo = l->low();
  int hi = l->high();
  while (hi >= lo && deps.word(hi)[0] == ',') --hi;
  DepTree* head = nullptr;
  std::vector<DepTree*> kept;
  for (const LexItem* c : l->components()) {
    if (lo < c->low() && c->high() < hi) break;
    DepTree* s = make_dep_node(deps, c);
    s->rel(c->relation() != nullptr ? c->relation() : "lex-dep");
    if (c->low() <= l->head() && l->head() <= c->high()) head = s;
    if (c->low() == lo) lo = c->high() + 1;
    if (c->high() == hi) hi = c->low() - 1;
    kept.push_back(s);
  }
  DepTree* result = head;
  if (result == nullptr) {
    result = deps.new_node();
    const bool empty = l->high() < l->low();
    if (!empty) result->init(l->low() == l->high() ? l->low() : l->head(), nullptr);
    result->low(lo);
    result->high(hi);
    result->cat(l->cate() != nullptr ? l->cate() : meaning_node_name(deps, l));
    if (empty) {
      result->root("~");
    } else if (lo == l->low() && hi == l->high()) {
      result->root(l->root());
    } else {
      result->root(deps.words(lo, hi));
    }
    if (const AVMeaning* m = AVMeaning::castToAVMeaning(l->meaning())) result->unify(m->vec());
  }
  for (DepTree* s : kept) {
    if (s != head) result->ord_insert(s);
  }
  if (head != nullptr) head->rel(nullptr);
  for (int j = l->low(); j <= l->high(); ++j) {
    if (j == result->pos() || part_of_component(j, result)) continue;
    DepTree* word = deps.new_node();
    word->init(j, "lex-mod");
    result->ord_insert(word);
  }
  return result;
}

DepTree* make_dep_node(Deps& deps, const PItem* item) {
  DepTree* node = deps.new_node();
  node->low(item->low());
  node->high(item->high());
  node->root("~");
  const GCate* c = item->location();
  node->cat(c != nullptr ? c->name() : nullptr);
  node->unify(item->attvec());
  return node;
}

PItem* find_antecedent(PItem* x) {
  const BuiltinAtts& atts = builtin_atts();
  if (!x->defined(atts.trace)) return nullptr;
  const AttVal t = x->get_val(atts.trace);
  auto holds = [&](const PItem* p) { return p->val_is(atts.trace, t); };
  PItem* at = x;
  while (at->modifier() != nullptr) {
    if (holds(at->head())) {
      at = at->head();
    } else if (holds(at->modifier())) {
      at = at->modifier();
    } else {
      break;
    }
  }
  if (at->modifier() == nullptr) return nullptr;
  if (at->head()->defined(atts.move)) return at->modifier();
  if (!at->modifier()->defined(atts.move)) return nullptr;
  PItem* bottom = at;
  while (bottom->modifier() != nullptr) bottom = bottom->head();
  return bottom;
}

bool part_of_component(int position, const DepTree* tree) {
  for (const DepTree* n = next_in_subtree(tree, tree); n != nullptr; n = next_in_subtree(n, tree)) {
    if (n->low() <= position && position <= n->high()) return true;
  }
  return false;
}

bool match_lexitem(const DepTree* tree, const LexItem* lexitem) {
  return tree->attvec() != nullptr && lexitem_val(*tree->attvec()) == lexitem;
}

bool contain_gapped_child(const DepTree* tree, const LexItem* lexitem) {
  if (has_gap_for(tree, lexitem)) return true;
  for (const DepTree* c = tree->first(); c != nullptr; c = c->next()) {
    if (has_gap_for(c, lexitem)) return true;
  }
  return false;
}

void attach_trace(Deps& deps, DepTree* n, DepTree* m, PItem* item) {
  if (m->empty_span() || m->attvec() == nullptr || m == n) return;
  const LexItem* l = lexitem_val(*m->attvec());
  if (l == nullptr) return;
  for (PItem* x = item; x != nullptr; x = x->eq_pitem()) {
    const TraceVal* traces = trace_val(x->attvec());
    if (traces == nullptr) continue;
    for (const TraceRec& rec : traces->list()) {
      if (rec.item == nullptr || rec.item->lexitem() != l || rec.name == nullptr) continue;
      if (!contain_gapped_child(m, l) || m->getChildByRel(rec.name) != nullptr) continue;
      DepTree* gap = deps.new_node();
      gap->low(m->high() + 1);
      gap->high(m->high());
      gap->root(n->root());
      gap->cat(n->raw_cat());
      gap->rel(rec.name);
      gap->attvec(n->attvec());
      m->ord_insert(gap);
      gap->antecedent(n);
      return;
    }
  }
}

// ---- The parser's extraction ----

void VanticParser::make_parse_forest(ParseForest& forest) {
  forest.parser(this);
  for (const RootCate& r : roots()) r.get_roots(this, forest);
  forest.find_optimal_roots();
}

namespace {

// The tree of the chosen roots: one root's tree, or a node holding the
// trees of several.
DepTree* root_trees(Deps& deps, const ParseForest& forest, Associations& associations) {
  const std::vector<TNode*>& roots = forest.roots();
  if (roots.empty()) return nullptr;
  if (roots.size() == 1) {
    roots.front()->iter_reset();
    return roots.front()->get_deps(deps, associations);
  }
  DepTree* top = deps.new_node();
  for (TNode* r : roots) {
    r->iter_reset();
    if (DepTree* t = r->get_deps(deps, associations)) top->ord_insert(t);
  }
  return top;
}

// Inserts the traces of moved constituents, the latest nodes first.
void attach_traces(Deps& deps, const Associations& associations) {
  if (associations.empty() || deps.tree() == nullptr) return;
  const std::vector<DepTree*> nodes = subtree_nodes(deps.tree());
  for (auto n = nodes.rbegin(); n != nodes.rend(); ++n) {
    for (const auto& [tree, item] : associations) {
      if (tree != *n || tree->parent() == nullptr) continue;
      for (DepTree* m : subtree_nodes(tree->parent())) attach_trace(deps, tree, m, item);
    }
  }
}

}  // namespace

void VanticParser::get_deps() {
  ParseForest forest(101);
  make_parse_forest(forest);
  Deps& d = *deps();
  if (lex_analyzer() != nullptr) d.words(*lex_analyzer());
  Associations associations;
  d.init(root_trees(d, forest, associations));
  attach_traces(d, associations);
  d.attachIsolatedNodes();
  if (deps_modifier() != nullptr) deps_modifier()->apply_rules(d.tree());
  if (lex_analyzer() != nullptr) d.setFoci(lex_analyzer()->foci());
}

}  // namespace lorvan
