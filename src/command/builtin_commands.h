// The commands every interpreter is born with: load, exit, quote, echo,
// help, ?, system, show-commands and set-search-path.
//
// They act on CmdInterpreter::the_interpreter (load reads through it,
// show-commands switches its echo) and on the process-wide search path.
#ifndef LORVAN_COMMAND_BUILTIN_COMMANDS_H_
#define LORVAN_COMMAND_BUILTIN_COMMANDS_H_

namespace lorvan {

class CmdInterpreter;

// Enters the built-in commands into `interp`, in the order listed above,
// with their help texts.
void register_builtin_commands(CmdInterpreter& interp);

}  // namespace lorvan

#endif  // LORVAN_COMMAND_BUILTIN_COMMANDS_H_
