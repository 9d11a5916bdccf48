#include "deptree/tree_modifier.h"

#include <cstring>

#include "command/irslist.h"
#include "command/named_obj.h"

namespace lorvan {

namespace {

// A new rule of the kind named `kind`, or null for an unknown kind.
std::unique_ptr<TreeRule> make_rule(const char* kind) {
  if (kind == nullptr) return nullptr;
  if (std::strcmp(kind, "up") == 0) return std::make_unique<UpRule>();
  if (std::strcmp(kind, "flat") == 0) return std::make_unique<FlatRule>();
  if (std::strcmp(kind, "root") == 0) return std::make_unique<RootRule>();
  if (std::strcmp(kind, "down") == 0) return std::make_unique<DownRule>();
  return nullptr;
}

TreeModifier* find_modifier(const char* name) {
  return static_cast<TreeModifier*>(get_named_obj(name, TreeModifier::kTypeName, 0));
}

// The modifier called `name`, made and registered when there is none; null
// when the name is taken by an object of another type.
TreeModifier* find_or_make_modifier(const char* name) {
  if (TreeModifier* found = find_modifier(name)) return found;
  auto made = std::make_unique<TreeModifier>();
  NamedObjEntry* entry =
      register_named_obj(name, made.get(), TreeModifier::kTypeName, del_TreeModifier);
  if (entry == nullptr || entry->object != made.get()) return nullptr;
  return made.release();
}

}  // namespace

void TreeModifier::def_rules(IRSlist* rules) {
  if (rules == nullptr) return;
  for (IRSlist* e = rules->first(); e != nullptr; e = e->next()) {
    if (!e->is_list() || e->first()->is_list()) continue;
    std::unique_ptr<TreeRule> rule = make_rule(e->get_val());
    if (rule == nullptr) continue;
    rule->init(e);
    rules_.push_back(std::move(rule));
  }
}

void TreeModifier::apply_rules(RSTree* root) const {
  if (root == nullptr) return;
  for (const std::unique_ptr<TreeRule>& rule : rules_) rule->apply(root);
}

void del_TreeModifier(void* modifier) { delete static_cast<TreeModifier*>(modifier); }

void* def_tree_rules(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  if (TreeModifier* modifier = find_or_make_modifier(name)) modifier->def_rules(args);
  return nullptr;
}

void* clear_tree_rules(IRSlist* args) {
  const char* name = args->top_val();
  if (name == nullptr) return nullptr;
  if (TreeModifier* modifier = find_modifier(name)) modifier->clear();
  return nullptr;
}

}  // namespace lorvan
