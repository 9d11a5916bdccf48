#include "deptree/tree_functions.h"

#include <iostream>

#include "command/irslist.h"

namespace lorvan {

namespace {

// The first of `from` and its later siblings, up to (not including)
// `end`, on which `cond` holds; null when none does.
RSTree* first_holding(const SubExp& cond, RSTree* from, const RSTree* end) {
  for (RSTree* n = from; n != nullptr && n != end; n = n->next()) {
    if (RTCond::holds(cond, n)) return n;
  }
  return nullptr;
}

}  // namespace

// ---- exist-child, exist-match ----

void ExistChild::init(IRSlist* args) {
  if (args->first() != nullptr) cond_ = LExp::get_exp(args->first());
}

void* ExistChild::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  RSTree* first = as_node(input)->first();
  return node_value(cond_ ? first_holding(cond_, first, nullptr) : first);
}

void ExistMatch::init(IRSlist* args) {
  std::unique_ptr<IRSlist> action = args->remove_arg(":action", true);
  if (action != nullptr) action_ = LExp::get_exp(action.get());
  ExistChild::init(args);
  // Anything but a pattern would be released as if it were a match.
  if (cond_ && cond_->output_type() != tree_match_type()) {
    std::cerr << "In (" << type_name() << " <LEXP>) <LEXP> must return TreeMatch*" << std::endl;
    cond_ = SubExp();
  }
}

void* ExistMatch::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !cond_) return nullptr;
  PostIterator walk(as_node(input));
  while (RSlist* n = walk.next()) {
    std::unique_ptr<TreeMatch> m = match_at(*cond_, static_cast<RSTree*>(n));
    if (m == nullptr) continue;
    action_.eval(match_value(m.get()), tree_match_type());
    return input;
  }
  return nullptr;
}

// ---- searches with a barrier ----

void BarrierSearch::init(IRSlist* args) {
  std::vector<SubExp> exps = compile_each(args);
  exps.resize(2);
  cond_ = std::move(exps[0]);
  barrier_ = std::move(exps[1]);
}

void* ExistDecendent::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !cond_) return nullptr;
  PreIterator walk(as_node(input));
  while (RSlist* visited = walk.next()) {
    auto* n = static_cast<RSTree*>(visited);
    if (n != input && holds(barrier_, n)) {
      walk.skip_subtree();
    } else if (holds(cond_, n)) {
      return node_value(n);
    }
  }
  return nullptr;
}

void* ExistCCmd::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !cond_) return nullptr;
  RSTree* start = as_node(input);
  if (RSTree* found = first_holding(cond_, start->first(), nullptr)) return node_value(found);
  for (RSTree* n = start; n != nullptr;) {
    RSTree* parent = n->parent();
    if (parent != nullptr) {
      if (RSTree* found = first_holding(cond_, parent->first(), n)) return node_value(found);
    }
    if (tests_ancestors() && n != start && holds(cond_, n)) return node_value(n);
    if (parent != nullptr && holds(barrier_, parent)) return nullptr;
    n = parent;
  }
  return nullptr;
}

// ---- all-children, self-or-exist-ancestor, num-children ----

void* AllChildren::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  bool all = true;
  for (RSTree* c = as_node(input)->first(); c != nullptr && cond_; c = c->next()) {
    if (!holds(cond_, c)) all = false;
  }
  return all ? input : nullptr;
}

void SelfOrExistAncestor::init(IRSlist* args) {
  if (args->first() != nullptr) cond_ = LExp::get_exp(args->first());
}

void* SelfOrExistAncestor::eval(void* input, int type) {
  if (!valid_arg_type(type) || !cond_) return nullptr;
  for (RSTree* n = as_node(input); n != nullptr; n = n->parent()) {
    if (holds(cond_, n)) return node_value(n);
  }
  return nullptr;
}

void NumChildren::init(IRSlist* args) {
  if (args->first() != nullptr) cond_ = LExp::get_exp(args->first());
}

void* NumChildren::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return int_to_value(0);
  long count = 0;
  for (RSTree* c = as_node(input)->first(); c != nullptr; c = c->next()) {
    if (!cond_ || holds(cond_, c)) ++count;
  }
  return int_to_value(count);
}

// ---- first-child, last-child ----

void* FirstChild::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  RSTree* n = as_node(input);
  return n->parent() == nullptr || n->prev() == nullptr ? input : nullptr;
}

void* LastChild::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  RSTree* n = as_node(input);
  return n->parent() == nullptr || n->next() == nullptr ? input : nullptr;
}

// ---- get-node ----

RSTreeGetNode::RSTreeGetNode() { set_input_type(rstree_type()); }

void* RSTreeGetNode::eval(void* input, int type) {
  if (!valid_arg_type(type)) return nullptr;
  RSTree* n = as_node(input);
  for (const SubExp& step : exps()) {
    if (n == nullptr) break;
    n = first_holding(step, n->first(), nullptr);
  }
  return node_value(n);
}

// ---- parent, tree-root ----

RSTreeParent::RSTreeParent() : LAdaptor(rstree_type()) { set_input_type(rstree_type()); }

void* RSTreeParent::convert(void* input) {
  return input != nullptr ? node_value(as_node(input)->parent()) : nullptr;
}

TreeRoot::TreeRoot() : LAdaptor(rstree_type()) { set_input_type(rstree_type()); }

void* TreeRoot::convert(void* input) {
  return input != nullptr ? node_value(as_node(input)->root()) : nullptr;
}

// ---- match, forall-subtree-matches ----

MatchNode::MatchNode() : LAdaptor(rstree_type()) { set_input_type(tree_match_type()); }

void MatchNode::init(IRSlist* args) {
  while (args->first() != nullptr && !args->first()->is_list()) {
    path_.push_back(static_cast<int>(args->get_long_val()));
  }
  LAdaptor::init(args);
}

void* MatchNode::convert(void* input) {
  TreeMatch* rec = as_match(input);
  for (int i : path_) {
    if (rec == nullptr) break;
    rec = i >= 1 ? rec->nth(i - 1) : nullptr;
    if (rec == nullptr) std::cerr << "(match ...) resulted in nil" << std::endl;
  }
  return rec != nullptr ? node_value(rec->node()) : nullptr;
}

ForAllMatches::ForAllMatches() { set_output_type(-1); }

void ForAllMatches::init(IRSlist* args) {
  LVariable::open_scope(11);
  const char* name = args->first() != nullptr && !args->first()->is_list() ? args->get_val()
                                                                             : nullptr;
  if (name != nullptr) var_ = VarRef(LVariable::declareVar(name, rstree_type()));
  LAdaptor::init(args);
  LVariable::close_scope();
  set_output_type(-1);
}

void* ForAllMatches::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  bool all = true;
  PreIterator walk(as_match(input));
  while (RSlist* visited = walk.next()) {
    RSTree* n = static_cast<TreeMatch*>(visited)->node();
    if (n == nullptr) continue;
    if (var_) var_->assign(node_value(n), rstree_type());
    if (inner() == nullptr || inner()->eval(input, tree_match_type()) == nullptr) all = false;
  }
  return all ? input : nullptr;
}

// ---- ancestor-of ----

void AncestorOf::init(IRSlist* args) {
  BinaryFunc::init(args);
  for (SubExp* operand : {&first_, &second_}) {
    const int t = operand->output_type();
    if (!*operand || t == -1 || t == rstree_type()) continue;
    std::cerr << "(ancestor-of <lexp> <lexp>): both arguments must return RSTree*" << std::endl;
    *operand = SubExp();
  }
}

void* AncestorOf::eval(void* input, int type) {
  if (!first_ || !second_) return int_to_value(0);
  RSTree* a = as_node(first_->eval(input, type));
  RSTree* b = as_node(second_->eval(input, type));
  return int_to_value(a != nullptr && b != nullptr && a->ancestor_of(b) ? 1 : 0);
}

}  // namespace lorvan
