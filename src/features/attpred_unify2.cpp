#include "features/attpred_unify2.h"

#include "command/arg_types.h"
#include "command/irslist.h"
#include "features/attpred_args.h"
#include "features/attvec.h"

namespace lorvan {

AttUnify2Pred::AttUnify2Pred() { set_output_type(arg_type_id("AttVec*")); }

void AttUnify2Pred::init(IRSlist* args) {
  const char* name = nullptr;
  IRSlist* arg = take_type_name(args->first(), name);
  if (arg == nullptr) return;
  first_ = vector_operand(arg, type_name(), 1);
  if ((arg = arg->next()) == nullptr) return;
  second_ = vector_operand(arg, type_name(), 2);
  if ((arg = arg->next()) == nullptr || !arg->is_list()) return;
  const AttInterpreterList* type = resolve_att_type(name, type_name());
  if (type != nullptr) mask_ = std::make_shared<const LBitSet>(resolve_att_set(type, arg));
}

AttVec* AttUnify2Pred::first_vec(void* input, int type) const {
  return static_cast<AttVec*>(first_.eval(input, type));
}

AttVec* AttUnify2Pred::second_vec(void* input, int type) const {
  return static_cast<AttVec*>(second_.eval(input, type));
}

void* AttUnify2Pred::eval(void* input, int type) {
  AttVec* a = first_vec(input, type);
  AttVec* b = second_vec(input, type);
  if (a != nullptr && b != nullptr) a->unify(*b, mask(), 1);
  return a;
}

AttUnifiable2Pred::AttUnifiable2Pred() { set_output_type(arg_type_id("int")); }

void* AttUnifiable2Pred::eval(void* input, int type) {
  const AttVec* a = first_vec(input, type);
  const AttVec* b = second_vec(input, type);
  if (a == nullptr || b == nullptr) return int_to_value(1);
  return int_to_value(a->unifiable(*b, mask()));
}

}  // namespace lorvan
