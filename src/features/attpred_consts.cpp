#include "features/attpred_consts.h"

#include "command/arg_types.h"
#include "command/irslist.h"
#include "strfuncs.h"

namespace lorvan {

AttVecConst::AttVecConst() { set_output_type(arg_type_id("AttVec*")); }

AttVecConst::AttVecConst(const AttVecConst& other) : LConst(other), vec_(other.vec_) {
  value_ = vec_.get();
}

void AttVecConst::init(IRSlist* args) {
  const char* name = nullptr;
  IRSlist* text = take_type_name(args->first(), name);
  vec_ = read_const_vec(text, resolve_att_type(name, type_name()));
  value_ = vec_.get();
}

AttSetConst::AttSetConst() { set_output_type(arg_type_id("LBitSet*")); }

void AttSetConst::init(IRSlist* args) {
  IRSlist* arg = args->first();
  if (arg == nullptr) return;
  const char* names[2] = {nullptr, nullptr};
  int n = 0;
  for (; arg != nullptr && !arg->is_list(); arg = arg->next()) {
    if (is_name(arg) && n < 2) names[n++] = arg->val();
  }
  const char* type_name_arg = names[0];
  bool complement = false;
  if (n == 2) {
    complement = strcasecmp(names[1], "not") == 0;
  } else if (n == 1 && strcasecmp(names[0], "not") == 0) {
    complement = true;
    type_name_arg = nullptr;
  }
  const AttInterpreterList* type = resolve_att_type(type_name_arg, type_name());
  if (type == nullptr) return;
  set_ = std::make_shared<LBitSet>(resolve_att_set(type, arg));
  if (complement) set_->invert();
  value_ = set_.get();
}

AttIndex::AttIndex() { set_output_type(arg_type_id("int")); }

void AttIndex::init(IRSlist* args) {
  value_ = int_to_value(AttInterpreterList::get_att(args->get_val(0), args->get_val(1)));
}

}  // namespace lorvan
