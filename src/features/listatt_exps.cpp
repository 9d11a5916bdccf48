#include "features/listatt_exps.h"

#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "features/attpred_args.h"
#include "features/attvec.h"
#include "features/avlist.h"
#include "features/features_commands.h"
#include "features/listatt.h"
#include "features/shared_value.h"

namespace lorvan {
namespace {

// The list of attribute i of v, replaced in v by a copy sharing the
// elements when other vectors hold it too; null when v stores none.
AVList* own_list(AttVec& v, int i) {
  return v.defined(i) ? own_shared<AVList>(&v, v.interpreter(i)->storage_position()) : nullptr;
}

// own_list, storing a new empty list first when attribute i is undefined
// or holds none.
AVList* ensure_list(AttVec& v, int i) {
  AVList* list = v.defined(i) ? own_list(v, i) : nullptr;
  if (list == nullptr) {
    list = new AVList;
    v.set_val(i, reinterpret_cast<AttVal>(list));
  }
  return list;
}

// Appends e, on which the caller holds one hold, handing that hold to the
// list.
void push_taken(AVList& list, AttVec* e) {
  list.push(e);
  e->dec_ref_cnt();
}

}  // namespace

// ---- AVListExp ----

AVListExp::AVListExp() {
  set_input_type(arg_type_id("AttVec*"));
  set_output_type(arg_type_id("AttVec*"));
}

void* AVListExp::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || !usable_) return nullptr;
  return eval_vec(*static_cast<AttVec*>(input), type);
}

const AttInterpreterList* AVListExp::take_interpreter(IRSlist* args) {
  const char* name = nullptr;
  std::unique_ptr<IRSlist> keyword;
  if (args->get_flag(":interpreter")) {
    keyword = args->remove_arg(":interpreter", false);
    name = keyword != nullptr && is_name(keyword.get()) ? keyword->val() : nullptr;
  }
  const AttInterpreterList* type = resolve_att_type(name, type_name());
  if (type == nullptr) usable_ = false;
  return type;
}

int AVListExp::list_att(const AttInterpreterList* type, const char* name) {
  if (type == nullptr) return -1;
  const int i = resolve_att_index(type, name);
  if (i >= 0 && dynamic_cast<const ListAtt*>(type->interpreter(i)) == nullptr) {
    std::cerr << type_name() << ": the attribute " << name << " is not a list attribute\n";
    usable_ = false;
    return -1;
  }
  if (i < 0) usable_ = false;
  return i;
}

bool AVListExp::is_list_att(const AttVec& v, int i) const {
  if (has_att(v, i) && dynamic_cast<const ListAtt*>(v.interpreter(i)) != nullptr) return true;
  std::cerr << type_name() << ": attribute " << i << " of the input is not a list attribute\n";
  return false;
}

// ---- delete-from-avlist ----

void DeleteFromAVList::init(IRSlist* args) {
  const AttInterpreterList* type = take_interpreter(args);
  att_ = list_att(type, args->get_val(0));
}

void* DeleteFromAVList::eval_vec(AttVec& v, int /*type*/) {
  if (!is_list_att(v, att_) || !v.defined(att_)) return nullptr;
  if (AVList* list = own_list(v, att_)) list->del(0);
  return &v;
}

// ---- move-att ----

void MoveAtt::init(IRSlist* args) {
  const AttInterpreterList* type = take_interpreter(args);
  from_ = list_att(type, args->get_val(0));
  to_ = list_att(type, args->get_val(1));
}

void* MoveAtt::eval_vec(AttVec& v, int /*type*/) {
  if (!is_list_att(v, from_) || !is_list_att(v, to_) || !v.defined(from_)) return nullptr;
  AVList* from = own_list(v, from_);
  if (from == nullptr || from->empty()) return &v;
  AttVec* e = from->take(0);
  if (from->empty()) v.undefine(from_);
  // Fetched after FROM is done with: FROM and TO may be the same attribute.
  push_taken(*ensure_list(v, to_), e);
  return &v;
}

// ---- insert-into-avlist ----

void InsertIntoAVList::init(IRSlist* args) {
  const AttInterpreterList* type = take_interpreter(args);
  att_ = list_att(type, args->get_val(0));
  IRSlist* exp = args->nth(1);
  if (exp != nullptr) exp_ = vector_operand(exp, type_name(), 2);
}

AVList* InsertIntoAVList::prepare(AttVec& v, int type, AttVec*& copy) {
  if (!is_list_att(v, att_)) return nullptr;
  // EXP runs first: it may change the input.
  const AttVec* e = static_cast<const AttVec*>(exp_.eval(&v, type));
  if (e == nullptr || !v.defined(att_)) return nullptr;
  copy = new AttVec(*e);
  return ensure_list(v, att_);
}

void* InsertIntoAVList::eval_vec(AttVec& v, int type) {
  AttVec* copy = nullptr;
  AVList* list = prepare(v, type, copy);
  if (list == nullptr) return nullptr;
  list->insert(0, copy);
  return &v;
}

// ---- rotate-and-insert-into-avlist ----

void* RotateAndInsertIntoAVList::eval_vec(AttVec& v, int type) {
  AttVec* copy = nullptr;
  AVList* list = prepare(v, type, copy);
  if (list == nullptr) return nullptr;
  AttVec* first = list->empty() ? nullptr : list->take(0);
  list->insert(0, copy);
  if (first != nullptr) push_taken(*list, first);
  return &v;
}

void listatt_init() {
  static bool done = false;
  if (done) return;
  done = true;
  attvec_init();
  LExp::exp_proto(std::make_unique<DeleteFromAVList>(), nullptr,
                  "(delete-from-avlist <att> [:interpreter <att-type>])\n"
                  "    Removes the first element of the list in <att> of the input.\n"
                  "    Returns the input, or 0 if <att> is undefined.");
  LExp::exp_proto(std::make_unique<MoveAtt>(), nullptr,
                  "(move-att <from-att> <to-att> [:interpreter <att-type>])\n"
                  "    Moves the first element of the list in <from-att> to the end of\n"
                  "    the list in <to-att>. Returns the input, or 0 if <from-att> is\n"
                  "    undefined.");
  LExp::exp_proto(std::make_unique<InsertIntoAVList>(), nullptr,
                  "(insert-into-avlist <att> <lexp> [:interpreter <att-type>])\n"
                  "    Puts a copy of the attribute value vector returned by <lexp> in\n"
                  "    front of the list in <att>. Returns the input, or 0 if <att> is\n"
                  "    undefined or <lexp> returns 0.");
  LExp::exp_proto(std::make_unique<RotateAndInsertIntoAVList>(), nullptr,
                  "(rotate-and-insert-into-avlist <att> <lexp> [:interpreter <att-type>])\n"
                  "    Replaces the first element of the list in <att> by a copy of the\n"
                  "    attribute value vector returned by <lexp> and appends the replaced\n"
                  "    element at the end of the list. Returns the input, or 0 if <att>\n"
                  "    is undefined or <lexp> returns 0.");
}

}  // namespace lorvan
