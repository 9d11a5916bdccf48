#include "expr/lfunction.h"

#include <iostream>

#include "command/irslist.h"

namespace lorvan {

bool LFunction::init(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return false;
  name_ = name;
  std::unique_ptr<IRSlist> params(args->remove_first());
  if (args->first() != nullptr && !args->first()->is_list() && args->first()->val() != nullptr) {
    doc_ = args->get_val();
  }
  const bool opened = LVariable::declare_variables(params.get(), params_);
  for (SubExp& e : compile_each(args)) {
    if (e) body_.push_back(std::move(e));
  }
  if (opened) LVariable::close_scope();
  return true;
}

void* LFunction::call(std::span<const SubExp> args, void* input, int type) const {
  if (body_.empty()) return nullptr;
  for (std::size_t i = params_.size(); i-- > 0;) {
    LVariable* p = params_[i].get();
    p->push();
    if (i < args.size()) {
      p->assign(args[i].eval(input, type), args[i].output_type());
    } else {
      p->assign(nullptr, -1);
    }
  }
  void* result = nullptr;
  for (const SubExp& e : body_) result = e->eval(input, type);
  for (const VarRef& p : params_) p->pop();
  return result;
}

FuncExp::FuncExp(std::shared_ptr<const LFunction> function)
    : function_(std::move(function)), name_(function_->name()) {}

void FuncExp::init(IRSlist* args) {
  const int count = args->length();
  if (count != function_->param_count()) {
    std::cerr << name_ << " requires " << function_->param_count() << " arguments. " << count
              << " found.\n";
    return;
  }
  args_ = compile_each(args);
}

void* defun_command(IRSlist* args) {
  auto function = std::make_shared<LFunction>();
  if (!function->init(args)) return nullptr;
  LExp::exp_proto(std::make_unique<FuncExp>(function), function->name().c_str(), nullptr);
  return nullptr;
}

}  // namespace lorvan

