#include "features/attpred.h"

#include <iostream>
#include <sstream>

#include "command/arg_types.h"
#include "command/irslist.h"

namespace lorvan {
namespace {

void* value_word(AttVal x) { return reinterpret_cast<void*>(x); }

// The index of `name` in `type`, or -1 after "<who>::init: the attribute
// name '<name>' is not found" (nothing more is said when there is no type;
// resolve_att_type has reported that).
int find_value_att(const AttInterpreterList* type, const char* name, const char* who) {
  int index = -1;
  if (type == nullptr) return -1;
  if (name == nullptr || type->search_att_index(name, index) == nullptr) {
    std::cerr << who << "::init: the attribute name '" << (name != nullptr ? name : "")
              << "' is not found\n";
    return -1;
  }
  return index;
}

// The text of `node` when it is a name, else null.
const char* name_of(const IRSlist* node) { return is_name(node) ? node->val() : nullptr; }

IRSlist* next_of(const IRSlist* node) { return node != nullptr ? node->next() : nullptr; }

}  // namespace

// ---- AttPred ----

AttPred::AttPred() {
  set_input_type(arg_type_id("AttVec*"));
  set_output_type(arg_type_id("AttVec*"));
}

void* AttPred::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !usable_) return nullptr;
  return eval_vec(*static_cast<AttVec*>(input));
}

const AttInterpreterList* AttPred::take_type(IRSlist*& arg) {
  const char* name = nullptr;
  arg = take_type_name(arg, name);
  const AttInterpreterList* type = resolve_att_type(name, type_name());
  if (type == nullptr) usable_ = false;
  return type;
}

// ---- Definedness ----

void AttDefPred::init(IRSlist* args) {
  IRSlist* arg = args->first();
  const AttInterpreterList* type = take_type(arg);
  read_atts(arg, type);
}

IRSlist* AttDefPred::read_atts(IRSlist* arg, const AttInterpreterList* type) {
  if (arg != nullptr && arg->is_list() && type != nullptr) atts_ = resolve_att_indexes(type, arg);
  return next_of(arg);
}

bool AttDefPred::all_defined(const AttVec& v) const {
  for (int i : atts_) {
    if (!has_att(v, i) || !v.defined(i)) return false;
  }
  return true;
}

bool AttDefPred::one_defined(const AttVec& v) const {
  for (int i : atts_) {
    if (has_att(v, i) && v.defined(i)) return true;
  }
  return false;
}

void* AttDefPred::eval_vec(AttVec& v) { return pass(v, all_defined(v)); }

void* AttUnDefPred::eval_vec(AttVec& v) {
  for (int i : atts_) {
    if (has_att(v, i)) v.undefine(i);
  }
  return &v;
}

void* AttDefOnePred::eval_vec(AttVec& v) { return pass(v, one_defined(v)); }

void AttDefAndUnifiablePred::init(IRSlist* args) {
  IRSlist* arg = args->first();
  const AttInterpreterList* type = take_type(arg);
  arg = read_atts(arg, type);
  vec_ = read_const_vec(arg, type);
}

void* AttDefAndUnifiablePred::eval_vec(AttVec& v) {
  return pass(v, one_defined(v) && AttVec::unifiable(*vec_.get(), v) != 0);
}

// ---- Kinds over a constant vector ----

void AttWithAttPred::init(IRSlist* args) {
  IRSlist* arg = args->first();
  const AttInterpreterList* type = take_type(arg);
  vec_ = read_const_vec(arg, type);
  if (!vec_) return;
  LBitSetIterator it(vec_.get()->defined_set());
  for (int i = it.next(); i >= 0; i = it.next()) vec_atts_.push_back(i);
}

void* AttUnifiablePred::eval_vec(AttVec& v) { return pass(v, v.unifiable(*vec_.get()) != 0); }

void* AttUnifyPred::eval_vec(AttVec& v) { return pass(v, v.unify(*vec_.get(), nullptr, 1) != 0); }

void* AttModifyPred::eval_vec(AttVec& v) {
  v.modify_with(*vec_.get());
  return &v;
}

void* AttContainPred::eval_vec(AttVec& v) {
  const AttVec& c = *vec_.get();
  const AttInterpreterList* type = c.interpreter_list();
  if (v.interpreter_list() != type) {
    const AttInterpreterList* other = v.interpreter_list();
    std::cerr << "contain: the vectors have different types ("
              << (other != nullptr ? other->name() : "none") << ", " << type->name() << ")\n";
    return nullptr;
  }
  // r records the first non-zero comparison; every later one must agree.
  int r = 0;
  for (int i : vec_atts_) {
    if (!v.defined(i)) return nullptr;
    if (type->binary_mask().test(i)) {
      if (v.binary_bit(i) != c.binary_bit(i)) return nullptr;
      continue;
    }
    const int d = c.interpreter(i)->cmp_vals(c.get_val(i), v.get_val(i));
    if (d == 0) continue;
    if (r == 0) {
      r = d;
    } else if (d != r) {
      return nullptr;
    }
  }
  return pass(v, r == 0 || r == -1);
}

// ---- Values ----

void AttValPred::init(IRSlist* args) {
  IRSlist* arg = args->first();
  const char* att = name_of(arg);
  // The atoms after the attribute: VALUE-TYPE, then TYPE; the first list
  // is the expression.
  const char* names[2] = {nullptr, nullptr};
  int n = 0;
  IRSlist* exp = nullptr;
  for (arg = next_of(arg); arg != nullptr; arg = arg->next()) {
    if (arg->is_list()) {
      exp = arg;
      break;
    }
    if (is_name(arg) && n < 2) names[n++] = arg->val();
  }
  value_type_ = arg_type_id(names[0] != nullptr ? names[0] : "AttVal");
  att_ = find_value_att(resolve_att_type(names[1], type_name()), att, "AttValPred");
  if (exp != nullptr) exp_ = LExp::get_exp(exp);
  set_output_type(exp_ ? exp_.output_type() : value_type_);
}

void* AttValPred::eval_vec(AttVec& v) {
  if (att_ < 0) return nullptr;
  void* value = value_word(has_att(v, att_) ? v.get_val(att_) : 0);
  return exp_ ? exp_.eval(value, value_type_) : value;
}

AttStrVal::AttStrVal() { set_output_type(arg_type_id("char*")); }

void AttStrVal::init(IRSlist* args) {
  IRSlist* arg = args->first();
  const char* att = name_of(arg);
  const AttInterpreterList* type = resolve_att_type(name_of(next_of(arg)), type_name());
  att_ = find_value_att(type, att, "AttStrVal");
}

void* AttStrVal::eval_vec(AttVec& v) {
  if (!has_att(v, att_)) return nullptr;
  return const_cast<char*>(v.str_val(att_));
}

AttVec2Str::AttVec2Str() { set_output_type(arg_type_id("char*")); }

void* AttVec2Str::eval_vec(AttVec& v) {
  std::ostringstream out;
  v.print(out, nullptr, 1);
  text_ = out.str();
  return text_.data();
}

}  // namespace lorvan
