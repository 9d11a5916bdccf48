#include "parser/tnode.h"

#include <algorithm>
#include <cstring>
#include <ostream>

#include "deptree/deps.h"
#include "parser/builtin_atts.h"
#include "parser/chart_printer.h"
#include "parser/dep_rel.h"
#include "parser/gcate.h"
#include "parser/parser_weights.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"
#include "strfuncs.h"

namespace lorvan {

namespace {

// The antecedents of `item` and of its alternatives, each once.
std::vector<PItem*> antecedents_of(PItem* item) {
  std::vector<PItem*> out;
  for (PItem* x = item; x != nullptr; x = x->eq_pitem()) {
    PItem* a = find_antecedent(x);
    if (a != nullptr && std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
  }
  return out;
}

bool span_contains(const PItem* outer, const PItem* inner) {
  return outer->low() <= inner->low() && inner->high() <= outer->high();
}

// Whether the head tree of step `d` stands for the item `x` itself.  It
// does not when x has no word of its own (no lexical item, not
// prepositional) and was projected through a relation other than a
// subcategory or subclass link: x then gets a node of its own.
bool head_stands_for_item(const PItem* x, const PItemDcmp& d) {
  const BuiltinAtts& atts = builtin_atts();
  if (x->defined(atts.lexitem) || (atts.cat_p != 0 && x->val_is(atts.cat, atts.cat_p))) return true;
  if (d.rel() == nullptr) return true;
  const char* type = d.rel()->type();
  return type != nullptr &&
         (lorvan::strcasecmp(type, "subcat") == 0 || lorvan::strcasecmp(type, "subclass") == 0);
}

// Dependents that fill an argument of x's "args" take the argument's role
// as their relation.
void relabel_arguments(const PItem* x, const std::vector<std::pair<DepTree*, int>>& arg_index) {
  for (const auto& [tree, k] : arg_index) {
    if (const char* role = arg_role(x, k)) tree->rel(role);
  }
}

}  // namespace

TNode::TNode(ParseForest* forest, PItem* item)
    : forest_(forest), category_(item->location()), item_(item), dcmp_(1, item, nullptr, nullptr) {}

void TNode::decompose() {
  decompose(dcmp_, item_);
  analyses_ = dcmp_.analyses(this);
  w_ = dcmp_.weight();
}

void TNode::decompose(PItemDcmp& d, PItem* item) {
  for (PItem* x = item; x != nullptr; x = x->eq_pitem()) decompose_one(d, x);
  if (const PItemDcmp* best = d.best()) d.weight(d.weight() + best->weight());
}

void TNode::decompose_one(PItemDcmp& d, PItem* x) {
  PItem* h = x->head();
  PItem* m = x->modifier();
  if (h != nullptr && m != nullptr) {
    // A merge: the step attaches m; its alternatives make the head part.
    auto e = std::make_unique<PItemDcmp>(0, m, x->deprel(), forest_->trace(m));
    decompose(*e, h);
    const float g = merge_weight(x);
    e->extra_weight(g);
    e->weight(g + e->tnode()->w() + (e->best() != nullptr ? e->best()->weight() : 0.0f));
    d.insert(std::move(e));
  } else if (h != nullptr && x->deprel() != nullptr) {
    // A projection through a head or subclass relation.
    auto e = std::make_unique<PItemDcmp>(1, h, x->deprel(), forest_->trace(h));
    e->extra_weight(x->weight() - h->weight());
    e->weight(e->tnode()->w() + e->extra_weight());
    d.insert(std::move(e));
  } else if (h != nullptr) {
    // A plain copy: its cost joins d, its head's ways of making are d's.
    const float extra = x->weight() - h->weight();
    d.extra_weight(d.extra_weight() + extra);
    d.weight(d.weight() + extra);
    for (PItem* y = h; y != nullptr; y = y->eq_pitem()) decompose_one(d, y);
  } else {
    // An item made from a lexical item.
    auto e = std::make_unique<PItemDcmp>(1, x, nullptr, forest_->trace(x));
    e->extra_weight(x->weight());
    e->weight(x->weight());
    d.insert(std::move(e));
  }
}

float TNode::merge_weight(PItem* x) const {
  VanticParser* parser = forest_->parser();
  return parser != nullptr ? parser->get_weight(x) : 0.0f;
}

void TNode::iter_reset() {
  if (iterated_) return;
  iterated_ = true;
  iterator_.reset(dcmp_);
  for (const PItemDcmp* d : iterator_.singles()) {
    if (d->tnode() != nullptr && d->tnode() != this) d->tnode()->iter_reset();
  }
}

DepTree* TNode::get_deps(Deps& deps, Associations& associations) {
  if (iter_finished()) return nullptr;
  PItem* x = item_;
  const std::vector<PItem*> antecedents = antecedents_of(x);
  DepTree* head = nullptr;
  DepTree* result = nullptr;
  std::vector<DepTree*> dependents;
  std::vector<std::pair<DepTree*, int>> arg_index;
  for (const PItemDcmp* d : iterator_.singles()) {
    if (d->tnode() == nullptr || d->tnode() == this) {
      const LexItem* l = d->pitem()->lexitem();
      head = result = l != nullptr ? make_dep_node(deps, l) : make_dep_node(deps, d->pitem());
      continue;
    }
    DepTree* t = d->tnode()->get_deps(deps, associations);
    if (t == nullptr) continue;
    if (const DepRel* r = d->rel()) {
      t->rel(r->type());
      arg_index.emplace_back(t, r->position() - 1);
    }
    if (d->head() == 0) {
      dependents.push_back(t);
    } else {
      head = t;
      if (head_stands_for_item(x, *d)) result = t;
    }
    for (PItem* a : antecedents) {
      if (span_contains(a, d->pitem()) && a->unifiable(d->pitem()->attvec())) {
        associations.emplace_back(t, x);
      }
    }
    t->weight(t->weight() + d->extra_weight());
  }
  if (head != nullptr && result == nullptr) {
    result = make_dep_node(deps, x);
    result->low(x->low());
    result->high(x->low() - 1);
    deps.name_node(result);
    dependents.push_back(head);
  }
  if (result == nullptr) return nullptr;
  for (auto it = dependents.rbegin(); it != dependents.rend(); ++it) result->ord_insert(*it);
  relabel_arguments(x, arg_index);
  result->unify(x->attvec());
  return result;
}

void TNode::print(std::ostream& out, int depth) const {
  for (int i = 0; i < depth; ++i) out << "  ";
  out << (category_ != nullptr ? category_->name() : "") << ": (" << analyses_ << ")"
      << " w=" << w_ << "\n";
  print_pitem(out, item_);
  out << "\n";
}

}  // namespace lorvan
