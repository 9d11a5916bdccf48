#include "deptree/tree_rule.h"

#include <cstring>
#include <iostream>

#include "command/irslist.h"
#include "deptree/tree_patterns.h"
#include "expr/lvariable.h"

namespace lorvan {

TreeIterator* TreeRule::the_iterator = nullptr;

namespace {

constexpr unsigned kRuleScopeSize = 11;

// The variable scope in which one rule is compiled.
class RuleScope {
 public:
  RuleScope() { LVariable::open_scope(kRuleScopeSize); }
  ~RuleScope() { LVariable::close_scope(); }
  RuleScope(const RuleScope&) = delete;
  RuleScope& operator=(const RuleScope&) = delete;
};

// Whether `e` is the atom `word` (compared case-sensitively).
bool is_word(const IRSlist* e, const char* word) {
  return e != nullptr && !e->is_list() && e->val() != nullptr && std::strcmp(e->val(), word) == 0;
}

std::unique_ptr<LExp> compile_optional(IRSlist* e) {
  return e != nullptr ? LExp::get_exp(e) : nullptr;
}

}  // namespace

std::unique_ptr<LExp> compile_rule_condition(IRSlist* e) {
  std::unique_ptr<LExp> cond = compile_optional(e);
  if (cond != nullptr && cond->output_type() != tree_match_type()) {
    std::cerr << cond->type_name() << " cannot be used as a condition in tree rules." << std::endl;
    return nullptr;
  }
  return cond;
}

// ---- TreeRule ----

void TreeRule::init(IRSlist* args) {
  if (const char* text = args->remove_val(":name", true)) name_ = text;
  if (const char* text = args->remove_val(":comments", true)) comments_ = text;
  if (is_word(args->first(), "shallow")) {
    args->get_val();
    shallow_ = 1;
  }
}

// ---- up, down ----

void StructuralRule::init(IRSlist* args) {
  TreeRule::init(args);
  RuleScope scope;
  cond_ = compile_rule_condition(args->nth(0));
  action_ = compile_optional(args->nth(1));
}

void StructuralRule::walk(TreeIterator& walk) const {
  if (!cond_) return;
  TreeIterator* const outer = the_iterator;
  while (RSlist* visited = walk.next()) {
    std::unique_ptr<TreeMatch> m = match_at(*cond_, static_cast<RSTree*>(visited));
    if (m == nullptr) continue;
    the_iterator = &walk;
    void* value = action_.eval(match_value(m.get()), tree_match_type());
    if (value != nullptr && shallow()) walk.skip_subtree();
  }
  // The walk ends here; an iterator left behind would dangle.
  the_iterator = outer;
}

void UpRule::apply(RSTree* root) const {
  PostIterator it(root);
  walk(it);
}

void DownRule::apply(RSTree* root) const {
  PreIterator it(root);
  walk(it);
}

// ---- root ----

void RootRule::init(IRSlist* args) {
  RuleScope scope;
  action_ = compile_optional(args->first());
}

void RootRule::apply(RSTree* root) const { action_.eval(node_value(root), rstree_type()); }

// ---- flat ----

void FlatRule::init(IRSlist* args) {
  TreeRule::init(args);
  RuleScope scope;
  add_conditions(args->nth(0));
  action_ = compile_optional(args->nth(1));
}

void FlatRule::add_conditions(IRSlist* items) {
  if (items == nullptr) return;
  bool optional = false;
  bool max = false;
  bool too_many = false;
  for (IRSlist* item = items->first(); item != nullptr; item = item->next()) {
    if (is_word(item, "?")) {
      optional = true;
    } else if (is_word(item, ":max")) {
      max = true;
    } else if (item->is_list()) {
      std::unique_ptr<LExp> cond = compile_rule_condition(item);
      if (cond != nullptr && conds_.size() == kMaxConditions) {
        too_many = true;
      } else if (cond != nullptr) {
        const std::uint32_t bit = std::uint32_t{1} << conds_.size();
        if (!optional) required_ |= bit;
        if (max) max_ |= bit;
        conds_.emplace_back(std::move(cond));
      }
      optional = max = false;
    }
  }
  if (too_many) {
    std::cerr << "(flat ...) holds at most " << kMaxConditions
              << " conditions; the rule is ignored" << std::endl;
    conds_.clear();
  }
}

std::unique_ptr<TreeMatch> FlatRule::make_overall_match(
    std::vector<std::unique_ptr<TreeMatch>>& stored) {
  auto overall = std::make_unique<TreeMatch>();
  for (std::unique_ptr<TreeMatch>& m : stored) {
    overall->add(m != nullptr ? std::move(m) : std::make_unique<TreeMatch>());
  }
  return overall;
}

void FlatRule::apply(RSTree* root) const {
  const std::size_t n = conds_.size();
  if (n == 0) return;
  std::vector<std::unique_ptr<TreeMatch>> stored(n);
  std::uint32_t matched = 0;
  PostIterator walk(root);
  while (RSlist* visited = walk.next()) {
    auto* node = static_cast<RSTree*>(visited);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t bit = std::uint32_t{1} << i;
      if ((matched & bit) != 0 && (max_ & bit) == 0) continue;
      std::unique_ptr<TreeMatch> m = match_at(*conds_[i], node);
      if (m == nullptr) continue;
      stored[i] = std::move(m);
      matched |= bit;
      if ((required_ & ~matched) != 0) continue;
      std::unique_ptr<TreeMatch> overall = make_overall_match(stored);
      void* value = action_.eval(match_value(overall.get()), tree_match_type());
      overall.reset();
      matched = 0;
      if (value != nullptr && shallow()) return;
      break;
    }
  }
}

}  // namespace lorvan
