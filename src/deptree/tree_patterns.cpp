#include "deptree/tree_patterns.h"

#include <iostream>

#include "command/irslist.h"

namespace lorvan {

namespace {

// Adds a record for `n`, without sub-records, to `rec`.
void add_leaf(TreeMatch& rec, RSTree* n) { rec.add(std::make_unique<TreeMatch>(n)); }

}  // namespace

std::unique_ptr<TreeMatch> match_at(LExp& pattern, RSTree* n) {
  return std::unique_ptr<TreeMatch>(as_match(pattern.eval(node_value(n), rstree_type())));
}

std::unique_ptr<TreeMatch> match_child(LExp& pattern, RSTree* from, const TreeMatch* skip,
                                       RSTree*& child) {
  for (child = from; child != nullptr; child = child->next()) {
    if (skip != nullptr && skip->has_sub_node(child)) continue;
    if (auto m = match_at(pattern, child)) return m;
  }
  return nullptr;
}

// ---- RTCond / RTPat ----

RTCond::RTCond() { set_input_type(rstree_type()); }

bool RTCond::holds(const SubExp& e, RSTree* n) {
  return n != nullptr && e && e->eval(node_value(n), rstree_type()) != nullptr;
}

RTPat::RTPat() { set_output_type(tree_match_type()); }

bool RTPat::is_optional(const LExp* e) {
  const auto* pat = dynamic_cast<const RTPat*>(e);
  return pat != nullptr && pat->optional();
}

void RTPat::take_variable(IRSlist* args) {
  IRSlist* head = args->first();
  if (head == nullptr || head->is_list() || head->val() == nullptr) return;
  var_ = VarRef(LVariable::declareVar(args->get_val(), rstree_type()));
}

void RTPat::bind(RSTree* n) const {
  if (var_) var_->assign(node_value(n), rstree_type());
}

std::unique_ptr<LExp> RTPat::compile_pattern(IRSlist* e) const {
  if (e == nullptr) return nullptr;
  std::unique_ptr<LExp> sub = LExp::get_exp(e);
  if (sub != nullptr && sub->output_type() != tree_match_type()) {
    report_non_pattern(*sub);
    return nullptr;
  }
  return sub;
}

void RTPat::report_non_pattern(const LExp&) const {
  std::cerr << "In (" << type_name() << " <LEXP>) <LEXP> must return TreeMatch*" << std::endl;
}

// ---- node, is-leaf ----

void NodeCond::init(IRSlist* args) {
  take_variable(args);
  if (args->first() != nullptr) cond_ = LExp::get_exp(args->first());
}

void* NodeCond::eval(void* input, int type) {
  if (!valid_arg_type(type) || !holds(cond_, as_node(input))) return nullptr;
  bind(as_node(input));
  return match_value(new TreeMatch(as_node(input)));
}

LeafCond::LeafCond() { set_output_type(rstree_type()); }

void LeafCond::init(IRSlist* args) {
  for (IRSlist* a = args->first(); a != nullptr; a = a->next()) compile_pattern(a);
}

void* LeafCond::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  return as_node(input)->first() == nullptr ? input : nullptr;
}

// ---- t?, t+, t* ----

void WrapRTPat::init(IRSlist* args) { cond_ = compile_pattern(args->first()); }

void* OptRTPat::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !cond_) return nullptr;
  return cond_->eval(input, rstree_type());
}

std::unique_ptr<TreeMatch> PlusRTPat::repetition(RSTree* n) const {
  std::unique_ptr<TreeMatch> m = match_at(*cond_, n);
  if (m != nullptr && m->node() == nullptr) m.reset();
  return m;
}

void* PlusRTPat::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !cond_) return nullptr;
  std::unique_ptr<TreeMatch> m = repetition(as_node(input));
  if (m == nullptr) return nullptr;
  // Each further repetition continues below the left corner of the last.
  for (TreeMatch* tail = m.get(); tail != nullptr;) {
    TreeMatch* corner = tail->left_cornor();
    tail = nullptr;
    if (corner->node() == nullptr) break;
    for (RSTree* c = corner->node()->first(); c != nullptr; c = c->next()) {
      if (auto r = repetition(c)) {
        tail = r.get();
        corner->add(std::move(r));
        break;
      }
    }
  }
  return match_value(m.release());
}

// ---- tree, treeu, treeq ----

void BranchCond::init(IRSlist* args) {
  take_variable(args);
  IRSlist* test = args->first();
  if (test == nullptr) return;
  test_ = LExp::get_exp(test);
  for (IRSlist* s = test->next(); s != nullptr; s = s->next()) {
    if (auto sub = compile_pattern(s)) subs_.emplace_back(std::move(sub));
  }
}

void BranchCond::report_non_pattern(const LExp& e) const {
  std::cerr << e.type_name() << " cannot be used as a subtree condition in (tree ...) "
            << std::endl;
}

void* BranchCond::eval(void* input, int type) {
  RSTree* n = as_node(input);
  if (!valid_arg_type(type) || !holds(test_, n)) return nullptr;
  auto rec = std::make_unique<TreeMatch>(n);
  if (!match_subs(*rec)) return nullptr;
  bind(n);
  return match_value(rec.release());
}

bool BranchCond::match_subs(TreeMatch& rec) const {
  for (const SubExp& sub : subs_) {
    RSTree* child = nullptr;
    std::unique_ptr<TreeMatch> m = match_child(*sub, rec.node()->first(), &rec, child);
    if (m == nullptr && !is_optional(sub.get())) return false;
    rec.add(m != nullptr ? std::move(m) : std::make_unique<TreeMatch>());
  }
  return true;
}

bool BranchCond::match_subs_in_order(TreeMatch& rec, bool placeholders) const {
  RSTree* position = rec.node()->first();
  for (const SubExp& sub : subs_) {
    RSTree* child = nullptr;
    std::unique_ptr<TreeMatch> m = match_child(*sub, position, nullptr, child);
    if (m != nullptr) {
      position = child->next();
      rec.add(std::move(m));
    } else if (placeholders && is_optional(sub.get())) {
      rec.add(std::make_unique<TreeMatch>());
    } else {
      return false;
    }
  }
  return true;
}

// ---- path ----

void PathCond::init(IRSlist* args) {
  for (IRSlist* s = args->first(); s != nullptr; s = s->next()) {
    if (auto step = compile_pattern(s)) steps_.emplace_back(std::move(step));
  }
}

void PathCond::report_non_pattern(const LExp&) const {
  std::cerr << "PathCond: all arguments must be LExps that return 'TreeMatch*'";
}

void* PathCond::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || steps_.empty()) return nullptr;
  RSTree* current = as_node(input);
  std::unique_ptr<TreeMatch> m = match_at(*steps_.front(), current);
  if (m == nullptr) return nullptr;
  for (std::size_t i = 1; i < steps_.size(); ++i) {
    RSTree* child = nullptr;
    std::unique_ptr<TreeMatch> step = match_child(*steps_[i], current->first(), nullptr, child);
    if (step != nullptr) {
      current = child;
      m->left_cornor()->add_first(std::move(step));
    } else if (!is_optional(steps_[i].get())) {
      return nullptr;
    }
  }
  m->node(current);
  return match_value(m.release());
}

// ---- attachment-points ----

void AttachmentPoints::init(IRSlist* args) {
  std::vector<SubExp> exps = compile_each(args);
  exps.resize(3);
  test_ = std::move(exps[0]);
  select_ = std::move(exps[1]);
  continue_ = std::move(exps[2]);
}

void* AttachmentPoints::eval(void* input, int type) {
  RSTree* n = as_node(input);
  if (!valid_arg_type(type) || !holds(test_, n)) return nullptr;
  auto rec = std::make_unique<TreeMatch>(n);
  if (RSTree* up = n->parent()) {
    add_leaf(*rec, up);
    while (holds(continue_, up) && (up = up->parent()) != nullptr) {
      if (holds(select_, up)) add_leaf(*rec, up);
    }
  }
  for (RSTree* s = n->prev(); s != nullptr && holds(continue_, s); s = s->last()) {
    if (holds(select_, s)) add_leaf(*rec, s);
  }
  return match_value(rec.release());
}

}  // namespace lorvan
