#include "features/attpred_args.h"

#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "features/vecatt.h"

namespace lorvan {

bool is_name(const IRSlist* node) {
  return node != nullptr && !node->is_list() && node->val() != nullptr;
}

const AttInterpreterList* resolve_att_type(const char* name, const char* kind) {
  if (name == nullptr) {
    if (AttVec::the_itp_list == nullptr) {
      std::cerr << kind << ": there is no current attribute-vector type\n";
    }
    return AttVec::the_itp_list;
  }
  const AttInterpreterList* type = AttInterpreterList::get_att_list(name);
  if (type == nullptr) {
    std::cerr << kind << ": \"" << name << "\" is not a type of attribute value vector\n";
  }
  return type;
}

IRSlist* take_type_name(IRSlist* arg, const char*& name) {
  if (is_name(arg)) {
    name = arg->val();
    return arg->next();
  }
  name = nullptr;
  return arg;
}

int resolve_att_index(const AttInterpreterList* type, const char* name) {
  int index = -1;
  if (type == nullptr || name == nullptr || type->search_att_index(name, index) == nullptr) {
    std::cerr << "The attribute " << (name != nullptr ? name : "()") << " is not found\n";
    return -1;
  }
  return index;
}

std::vector<int> resolve_att_indexes(const AttInterpreterList* type, const IRSlist* names) {
  std::vector<int> indexes;
  if (names == nullptr) return indexes;
  for (const IRSlist* e = names->first(); e != nullptr; e = e->next()) {
    const int i = resolve_att_index(type, e->is_list() ? nullptr : e->val());
    if (i >= 0) indexes.push_back(i);
  }
  return indexes;
}

LBitSet resolve_att_set(const AttInterpreterList* type, const IRSlist* names) {
  LBitSet set;
  for (int i : resolve_att_indexes(type, names)) set.set(i);
  return set;
}

std::unique_ptr<LExp> vector_operand(IRSlist* e, const char* kind, int position) {
  std::unique_ptr<LExp> operand = LExp::get_exp(e);
  if (operand == nullptr) return nullptr;
  const int t = operand->output_type();
  if (t != -1 && t != arg_type_id("AttVec*")) {
    const char* name = arg_type_name(t);
    std::cerr << kind << ": operand " << position << " gives '" << (name != nullptr ? name : "")
              << "', not 'AttVec*'\n";
    return nullptr;
  }
  return operand;
}

HeldVec::HeldVec(AttVec* v) : vec_(v) { hold_attvec(vec_); }

HeldVec::HeldVec(const HeldVec& other)
    : HeldVec(other.vec_ != nullptr ? new AttVec(*other.vec_) : nullptr) {}

HeldVec::~HeldVec() { release_attvec(vec_); }

HeldVec read_const_vec(IRSlist* text, const AttInterpreterList* type) {
  if (type == nullptr) return HeldVec();
  return HeldVec(text != nullptr ? new AttVec(text, type) : new AttVec(type));
}

}  // namespace lorvan
