#include "deptree/trel_exps.h"

#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "deptree/trel.h"
#include "deptree/val_type.h"

namespace lorvan {

namespace {

int trel_type() {
  static const int id = arg_type_id("TRel*");
  return id;
}

}  // namespace

void add_entries(PropList& list, const std::vector<FieldInstantiator>& entries, void* input,
                 int type) {
  for (const FieldInstantiator& e : entries) list.add_propval(e.make(input, type));
}

// ---- make-rel ----

MakeRel::MakeRel() { set_output_type(trel_type()); }

void MakeRel::init(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "make-rel: the relation has no name\n";
    return;
  }
  name_ = ValType::name(ValType::get_id(name));
  FieldInstantiator::init_array(entries_, args);
}

void* MakeRel::eval(void* input, int type) {
  if (name_ == nullptr) return nullptr;
  auto* rel = new TRel(name_, 0, static_cast<int>(entries_.size()));
  add_entries(*rel, entries_, input, type);
  return rel;
}

// ---- add-propvals ----

AddPropVals::AddPropVals() { set_output_type(trel_type()); }

void AddPropVals::init(IRSlist* args) {
  std::unique_ptr<IRSlist> list_arg(args->remove_first());
  list_exp_ = LExp::get_exp(list_arg.get());
  FieldInstantiator::init_array(entries_, args);
}

void* AddPropVals::eval(void* input, int type) {
  if (input == nullptr) return nullptr;
  void* result = list_exp_.eval(input, type);
  if (result == nullptr) return nullptr;
  // A record travels as a TRel*, other lists as themselves.
  PropList* list = list_exp_.output_type() == trel_type() ? static_cast<TRel*>(result)
                                                           : static_cast<PropList*>(result);
  add_entries(*list, entries_, input, type);
  return result;
}

}  // namespace lorvan
