#include "expr/binary_func.h"

#include <initializer_list>

#include "command/irslist.h"

namespace lorvan {

namespace {

// Compiles the leading elements of `args` into `operands`, one each.
void compile_operands(IRSlist* args, std::initializer_list<SubExp*> operands) {
  IRSlist* a = args->first();
  for (SubExp* operand : operands) {
    if (a == nullptr) return;
    IRSlist* next = a->next();
    *operand = LExp::get_exp(a);
    a = next;
  }
}

}  // namespace

void BinaryFunc::init(IRSlist* args) { compile_operands(args, {&first_, &second_}); }

void TernaryFunc::init(IRSlist* args) {
  compile_operands(args, {&first_, &second_, &third_});
}

}  // namespace lorvan
