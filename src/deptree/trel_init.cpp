#include "deptree/trel_init.h"

#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/obj_factory.h"
#include "deptree/builtin_val_types.h"
#include "deptree/deps_commands.h"
#include "deptree/trel_exps.h"
#include "deptree/val_type.h"

namespace lorvan {

namespace {

constexpr unsigned kValTypeMakerSize = 23;

}  // namespace

void* define_attribute(IRSlist* args) {
  const char* name = args->get_val();
  const char* type_name = args->get_val();
  auto* type = static_cast<ValType*>(
      ObjFactory::the_factory.get_proto("ValType", type_name != nullptr ? type_name : ""));
  if (name != nullptr && type != nullptr) ValType::add_val_type(name, type, type->pointer_type());
  return nullptr;
}

void delValType(void* type) { delete static_cast<ValType*>(type); }

void trel_init() {
  static bool done = false;
  if (done) return;
  done = true;
  LExp::exp_proto(std::make_unique<MakeRel>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<AddPropVals>(), nullptr, nullptr);
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->enter("define-attribute", define_attribute,
                                         "(define-attribute name-of-attribute type-of-val)");
  auto* maker = new ObjMaker(nullptr, delValType, kValTypeMakerSize);
  if (!ObjFactory::the_factory.enter("ValType", maker)) delete maker;
  ObjFactory::the_factory.proto("ValType", "IntValue", new IntValue, nullptr);
  ObjFactory::the_factory.proto("ValType", "StrValue", new StrValue, nullptr);
  ObjFactory::the_factory.proto("ValType", "StrListValue", new StrListValue, nullptr);
  // The printing switches of dependency structures belong to this module.
  deps_init();
}

}  // namespace lorvan
