#include "parser/forest_commands.h"

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"

namespace lorvan {

namespace {

void* set_deps_modifier(IRSlist* args) {
  void* parser = get_named_obj(args->get_val(), "VanticParser", 1);
  void* modifier = get_named_obj(args->get_val(), "TreeModifier", 1);
  if (parser == nullptr || modifier == nullptr) return nullptr;
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
