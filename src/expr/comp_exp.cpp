#include "expr/comp_exp.h"

#include "command/irslist.h"

namespace lorvan {

void CompExp::init(IRSlist* args) {
  for (SubExp& e : compile_each(args)) add(e.release());
}

void CompExp::add(std::unique_ptr<LExp> e) {
  if (e != nullptr) exps_.emplace_back(std::move(e));
}

LExp* CompExp::exp(int i) const {
  return i >= 0 && i < size() ? exps_[static_cast<std::size_t>(i)].get() : nullptr;
}

void* CompExp::eval_prog(void* input, int type) const {
  void* result = input;
  for (const SubExp& e : exps_) result = e->eval(input, type);
  return result;
}

}  // namespace lorvan
