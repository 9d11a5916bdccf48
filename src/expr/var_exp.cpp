#include "expr/var_exp.h"

#include <iostream>

#include "command/irslist.h"

namespace lorvan {

void VarExp::bind(const char* name, const char* form) {
  var_ = VarRef(LVariable::getVar(name));
  if (!var_) {
    std::cerr << "(" << form << " ... ): the variable " << (name != nullptr ? name : "")
              << " is not defined\n";
  }
}

void AssignVar::init(IRSlist* args) {
  const char* name = args->get_val();
  if (args->first() != nullptr) exp_ = LExp::get_exp(args->first());
  if (exp_) {
    set_output_type(exp_->output_type());
    set_input_type(exp_->output_type());
  }
  bind(name, "setq");
}

void* AssignVar::eval(void* input, int type) {
  void* value = input;
  int value_type = type;
  if (exp_) {
    value = exp_->eval(input, type);
    value_type = exp_->output_type();
  }
  if (var_) var_->assign(value, value_type);
  return value;
}

void GetVarVal::init(IRSlist* args) {
  bind(args->get_val(), "get-val");
  if (var_) set_output_type(var_->type());
  if (args->first() != nullptr) exp_ = LExp::get_exp(args->first());
}

void* GetVarVal::eval(void* /*input*/, int /*type*/) {
  if (!var_) return nullptr;
  void* value = var_->value();
  return exp_ ? exp_->eval(value, var_->type()) : value;
}

void LetExp::init(IRSlist* args) {
  std::unique_ptr<IRSlist> varlist(args->remove_first());
  const bool opened = LVariable::declare_variables(varlist.get(), vars_);
  CompExp::init(args);
  if (opened) LVariable::close_scope();
}

void* LetExp::eval(void* input, int type) {
  for (const VarRef& v : vars_) v->push();
  void* result = eval_prog(input, type);
  for (const VarRef& v : vars_) v->pop();
  return result;
}

}  // namespace lorvan
