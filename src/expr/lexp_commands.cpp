#include "expr/lexp_commands.h"

#include "command/arg_types.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "expr/lexp.h"
#include "expr/lvariable.h"
#include "slist.h"
#include "strbufs.h"

namespace lorvan {

void* declare_var_command(IRSlist* args) {
  const char* name = args->get_val();
  const int type = arg_type_id(args->get_val());
  LVariable* v = LVariable::declareVar(name, type);
  if (v == nullptr || args->first() == nullptr) return nullptr;
  if (std::unique_ptr<LExp> init = LExp::get_exp(args->first())) {
    v->assign(init->eval(nullptr, -1), type);
  }
  return nullptr;
}

void* make_lexp_command(IRSlist* args) {
  const char* name = args->get_val();
  std::unique_ptr<LExp> e = LExp::get_exp(args->first());
  if (name == nullptr || e == nullptr) return nullptr;
  NamedObjEntry* entry = register_named_obj(name, e.get(), "LExp", delLExp);
  // Only a registered expression is handed over; a duplicate name keeps the
  // old one and this one is destroyed here.
  if (entry != nullptr && entry->object == e.get()) e.release();
  return nullptr;
}

void* eval_command(IRSlist* args) {
  for (IRSlist* a = args->first(); a != nullptr; a = a->next()) {
    if (std::unique_ptr<LExp> e = LExp::get_exp(a)) e->eval(nullptr, -1);
  }
  return nullptr;
}

void* foreach_command(IRSlist* args) {
  IRSlist* body = args->get_arg(":eval", false);
  std::unique_ptr<LExp> e = LExp::get_exp(body);
  if (e == nullptr) return nullptr;
  StrBufs arena;
  TSlist<const char*> words;
  IRSlist::getWords(args->first(), arena, words);
  static const int kCharPtr = arg_type_id("char*");
  for (const char* word : words) e->eval(const_cast<char*>(word), kCharPtr);
  return nullptr;
}

}  // namespace lorvan
