#include "parser/forest_commands.h"

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "deptree/tree_modifier.h"
#include "parser/vantic_parser.h"

namespace lorvan {

namespace {

void* set_deps_modifier(IRSlist* args) {
  auto* parser = static_cast<VanticParser*>(get_named_obj(args->get_val(), "VanticParser", 1));
  auto* modifier =
      static_cast<TreeModifier*>(get_named_obj(args->get_val(), TreeModifier::kTypeName, 1));
  if (parser == nullptr || modifier == nullptr) return nullptr;
  parser->deps_modifier(modifier);
  return modifier;
}

}  // namespace

void forest_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter::the_interpreter->enter(
      "set-deps-modifier", set_deps_modifier,
      "(set-deps-modifier PARSER MODIFIER) use MODIFIER to change the dependency trees returned "
      "by PARSER");
}

}  // namespace lorvan
