#include "expr/control_forms.h"

#include "command/arg_types.h"
#include "command/irslist.h"
#include "expr/two_args.h"

namespace lorvan {

namespace {

void* truth(bool b) { return int_to_value(b ? 1 : 0); }

}  // namespace

void* Prog1Exp::eval(void* input, int type) {
  void* first = nullptr;
  for (int i = 0; i < size(); ++i) {
    void* r = exp(i)->eval(input, type);
    if (i == 0) first = r;
  }
  return first;
}

void* FuncComp::eval(void* input, int type) {
  void* value = input;
  for (const SubExp& e : exps()) {
    value = e->eval(value, type);
    type = e->output_type();
  }
  return value;
}

void* IfAction::eval(void* input, int type) {
  if (size() == 0) return nullptr;
  LExp* branch = exp(0)->eval(input, type) != nullptr ? exp(1) : exp(2);
  return branch != nullptr ? branch->eval(input, type) : nullptr;
}

void* WhileAction::eval(void* input, int type) {
  if (size() == 0) return nullptr;
  while (exp(0)->eval(input, type) != nullptr) {
    for (int i = 1; i < size(); ++i) exp(i)->eval(input, type);
  }
  return nullptr;
}

void* WhenAction::eval(void* input, int type) {
  if (size() == 0) return nullptr;
  void* condition = exp(0)->eval(input, type);
  if (condition == nullptr) return nullptr;
  for (int i = 1; i < size(); ++i) exp(i)->eval(input, type);
  return condition;
}

void CondAction::init(IRSlist* args) {
  for (IRSlist* clause = args->first(); clause != nullptr; clause = clause->next()) {
    std::vector<SubExp>& compiled = clauses_.emplace_back();
    if (!clause->is_list()) {
      // An atom is no clause: get_exp reports it.  "()" is an empty clause.
      if (clause->val() != nullptr) LExp::get_exp(clause);
      continue;
    }
    for (SubExp& e : compile_each(clause)) {
      if (!e) continue;
      set_output_type(e->output_type());
      compiled.push_back(std::move(e));
    }
  }
}

void* CondAction::eval(void* input, int type) {
  for (const std::vector<SubExp>& clause : clauses_) {
    if (clause.empty()) continue;
    void* result = clause.front()->eval(input, type);
    if (result == nullptr) continue;
    for (std::size_t i = 1; i < clause.size(); ++i) result = clause[i]->eval(input, type);
    return result;
  }
  return nullptr;
}

void OneOf::init(IRSlist* args) {
  if (IRSlist* pred = args->get_arg(":is", true)) predicate_ = LExp::get_exp(pred);
  for (IRSlist* a = args->first(); a != nullptr && a->is_list(); a = a->next()) {
    if (std::unique_ptr<LExp> e = LExp::get_exp(a)) candidates_.emplace_back(std::move(e));
  }
}

void* OneOf::eval(void* input, int type) {
  if (!predicate_) return nullptr;
  for (const SubExp& c : candidates_) {
    if (void* p = predicate_->eval(c->eval(input, type), c->output_type())) return p;
  }
  return nullptr;
}

CollectExp::CollectExp() { set_output_type(arg_type_id("Slist*")); }

CollectExp::CollectExp(const CollectExp& other) : CompExp(other) {}

void* CollectExp::eval(void* input, int type) {
  results_.clear();
  for (const SubExp& e : exps()) results_.append(e->eval(input, type));
  return &results_;
}

void* NegExp::eval(void* input, int type) {
  if (size() == 0) return truth(input == nullptr);
  for (const SubExp& e : exps()) {
    if (e->eval(input, type) != nullptr) return nullptr;
  }
  return input;
}

void* OrExp::eval(void* input, int type) {
  if (size() == 0) return input;
  for (const SubExp& e : exps()) {
    if (void* r = e->eval(input, type)) return r;
  }
  return nullptr;
}

void* XorExp::eval(void* input, int type) {
  bool odd = false;
  for (const SubExp& e : exps()) {
    if (e->eval(input, type) != nullptr) odd = !odd;
  }
  return truth(odd);
}

void* AndExp::eval(void* input, int type) {
  void* result = input;
  for (const SubExp& e : exps()) {
    result = e->eval(input, type);
    if (result == nullptr) return nullptr;
  }
  return result;
}

void* AlwaysTrue::eval(void* /*input*/, int /*type*/) { return truth(true); }

void* AlwaysFalse::eval(void* /*input*/, int /*type*/) { return nullptr; }

void* NilPred::eval(void* input, int /*type*/) { return truth(input == nullptr); }

void* Ident::eval(void* input, int /*type*/) { return input; }

void* EqExp::eval(void* input, int type) {
  if (!valid_arg_type(type) || !first_ || !second_) return nullptr;
  return truth(first_->eval(input, type) == second_->eval(input, type));
}

PairElement::PairElement(bool second) : second_(second) {
  set_input_type(arg_type_id("TwoArgs*"));
}

void PairElement::init(IRSlist* args) {
  if (args->first() != nullptr) exp_ = LExp::get_exp(args->first());
}

void* PairElement::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr) return nullptr;
  const auto* pair = static_cast<const TwoArgs*>(input);
  void* value = second_ ? pair->second : pair->first;
  const int value_type = second_ ? pair->second_type : pair->first_type;
  return exp_ ? exp_->eval(value, value_type) : value;
}

}  // namespace lorvan
