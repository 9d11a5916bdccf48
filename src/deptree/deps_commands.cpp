#include "deptree/deps_commands.h"

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "deptree/deps_printer.h"

namespace lorvan {

namespace {

void* set_switch(int& flag, IRSlist* args) {
  flag = static_cast<int>(args->get_long_val());
  return nullptr;
}

}  // namespace

void* print_governor(IRSlist* args) { return set_switch(PRINT_GOV, args); }
void* use_alias(IRSlist* args) { return set_switch(USE_ALIAS, args); }
void* print_deptree_weight(IRSlist* args) { return set_switch(PRINT_DEPTREE_WEIGHT, args); }

void deps_init() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.enter("print-governor", print_governor, "(print-governor 0|1) set the PRINT_GOV flag");
  interp.enter("use-alias", use_alias, "(use-alias 0|1) set the USE_ALIAS flag");
  interp.enter("print-deptree-weight", print_deptree_weight,
               "(print-deptree-weight 0|1) set the PRINT_DEPTREE_WEIGHT flag");
}

}  // namespace lorvan
