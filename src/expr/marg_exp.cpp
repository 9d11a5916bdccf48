#include "expr/marg_exp.h"

#include <array>
#include <cstdlib>
#include <iostream>

#include "command/irslist.h"

namespace lorvan {

MArgExp::MArgExp(const char* name, int arity, const char* input_type, const char* output_type,
                 std::vector<int> arg_types)
    : name_(name != nullptr ? name : ""), arity_(arity), arg_types_(std::move(arg_types)) {
  if (arity < 0 || arity > kMaxArgs) {
    std::cerr << "MArgExp: " << name_ << " declares " << arity << " arguments; at most "
              << kMaxArgs << " are supported\n";
    std::abort();
  }
  set_input_type(arg_type_id(input_type));
  set_output_type(arg_type_id(output_type));
}

void MArgExp::init(IRSlist* args) {
  const int count = args->length();
  if (count > arity_) {
    std::cerr << "Incorrect number of arguments in " << name_ << ". Expected: " << arity_
              << " Actual: " << count << "\n";
    return;
  }
  args_ = compile_each(args);
  if (check_arg_types_) drop_mistyped_args();
}

void MArgExp::drop_mistyped_args() {
  for (std::size_t i = 0; i < args_.size(); ++i) {
    const LExp* arg = args_[i].get();
    const int wanted = i < arg_types_.size() ? arg_types_[i] : -1;
    if (arg == nullptr || wanted == -1 || arg->output_type() == -1 ||
        arg->output_type() == wanted) {
      continue;
    }
    std::cerr << "In (" << name_ << " ...) argument " << i + 1 << " must return "
              << arg_type_label(wanted) << ", not " << arg_type_label(arg->output_type())
              << "\n";
    args_[i] = SubExp();
  }
}

void* MArgExp::eval(void* input, int type) {
  if (!valid_arg_type(type)) return nullptr;
  std::array<void*, kMaxArgs + 1> values{};
  values[0] = input;
  for (std::size_t i = 0; i < args_.size(); ++i) values[i + 1] = args_[i].eval(input, type);
  return call_func(std::span<void* const>(values.data(), static_cast<std::size_t>(arity_) + 1));
}

}  // namespace lorvan
