#include "expr/lvariable.h"

#include <algorithm>
#include <iostream>
#include <memory>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "symtab.h"

namespace lorvan {

namespace {

constexpr unsigned kGlobalScopeSize = 23;
constexpr unsigned kMinScopeSize = 11;

struct Scope {
  explicit Scope(unsigned size) : table(std::max(size, kMinScopeSize)) {}
  TSymTab<LVariable*> table;
  std::vector<VarRef> held;  // keeps every variable declared here alive
};

// The scope stack, innermost last.  Never destroyed, so global variables
// stay reachable until the process ends.
std::vector<std::unique_ptr<Scope>>& scopes() {
  static auto& stack = *[] {
    auto* s = new std::vector<std::unique_ptr<Scope>>;
    s->push_back(std::make_unique<Scope>(kGlobalScopeSize));
    return s;
  }();
  return stack;
}

}  // namespace

void LVariable::assign(void* value, int t) {
  if (type_ == -1 || type_ == t) {
    value_ = value;
    return;
  }
  std::cerr << "the variable " << name_ << " is assigned an incompatible type: "
            << arg_type_label(t) << ". The expected type is: " << arg_type_label(type_) << "\n";
}

void LVariable::push() {
  saved_.emplace_back(value_, type_);
  type_ = -1;
}

void LVariable::pop() {
  if (saved_.empty()) return;
  value_ = saved_.back().first;
  type_ = saved_.back().second;
  saved_.pop_back();
}

LVariable* LVariable::declareVar(const char* name, int type) {
  if (name == nullptr) return nullptr;
  Scope& scope = *scopes().back();
  VarRef v(new LVariable(name, type));
  if (!scope.table.enter(name, v.get())) return scope.table.val(name);
  scope.held.push_back(v);
  return v.get();
}

LVariable* LVariable::getVar(const char* name) {
  if (name == nullptr) return nullptr;
  const std::vector<std::unique_ptr<Scope>>& stack = scopes();
  for (auto s = stack.rbegin(); s != stack.rend(); ++s) {
    if (LVariable* v = (*s)->table.val(name)) return v;
  }
  return nullptr;
}

bool LVariable::declare_variables(const IRSlist* list, std::vector<VarRef>& out) {
  if (list == nullptr || !list->is_list()) return false;
  open_scope(static_cast<unsigned>(list->length()));
  for (const IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    const char* name = e->is_list() ? e->get_val(0) : e->val();
    const int type = e->is_list() ? arg_type_id(e->get_val(1)) : -1;
    if (name == nullptr) {
      std::cerr << "A variable declaration needs a name: ";
      e->print_line(std::cerr);
      std::cerr << "\n";
      continue;
    }
    out.emplace_back(declareVar(name, type));
  }
  return true;
}

void LVariable::open_scope(unsigned size) { scopes().push_back(std::make_unique<Scope>(size)); }

void LVariable::close_scope() {
  if (scopes().size() > 1) scopes().pop_back();
}

int LVariable::scope_depth() { return static_cast<int>(scopes().size()); }

}  // namespace lorvan
