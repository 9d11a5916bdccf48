#include "expr/ladaptor.h"

#include "command/irslist.h"

namespace lorvan {

LAdaptor::LAdaptor(int conversion_type) : conversion_type_(conversion_type) {
  set_output_type(conversion_type);
}

void LAdaptor::init(IRSlist* args) {
  if (args->first() != nullptr) inner_ = LExp::get_exp(args->first());
  set_output_type(inner_ ? inner_->output_type() : conversion_type_);
}

void* LAdaptor::eval(void* input, int type) {
  if (!valid_arg_type(type)) return nullptr;
  void* converted = convert(input);
  return inner_ ? inner_->eval(converted, conversion_type_) : converted;
}

}  // namespace lorvan
