// The commands that set the printing switches of dependency structures
// (deps_printer.h):
//
//   (print-governor 0|1)        PRINT_GOV: "(gov ROOT)" on node lines
//   (use-alias 0|1)             USE_ALIAS: attribute vectors by aliases
//   (print-deptree-weight 0|1)  PRINT_DEPTREE_WEIGHT: weights
//
// Each reads its number with get_long_val() (no number: its message and
// 0) and returns null.
#ifndef LORVAN_DEPTREE_DEPS_COMMANDS_H_
#define LORVAN_DEPTREE_DEPS_COMMANDS_H_

namespace lorvan {

class IRSlist;

void* print_governor(IRSlist* args);
void* use_alias(IRSlist* args);
void* print_deptree_weight(IRSlist* args);

// Runs once.  Enters the three commands into CmdInterpreter::the_interpreter
// (creating it when there is none).  Called from trel_init.
void deps_init();

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEPS_COMMANDS_H_
