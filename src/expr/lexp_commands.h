// The commands that define and run expressions from command files:
//
//   (declare-var name [type-name [lexp]])  a variable in the innermost scope
//                                          (the global one for a command),
//                                          initialised with lexp's value on
//                                          (null, -1)
//   (make-lexp name lexp)                  a named object of type "LExp"
//   (eval lexp ...)                        evaluates each on (null, -1)
//   (foreach LIST :eval lexp)              evaluates lexp on every word of
//                                          LIST (a list of atoms, or a file
//                                          read line by line, "-" for
//                                          standard input), typed "char*"
//
// Every handler returns null.  A named expression belongs to the name space
// it is registered in (deleter delLExp); the expressions of eval and foreach
// are destroyed after use.
#ifndef LORVAN_EXPR_LEXP_COMMANDS_H_
#define LORVAN_EXPR_LEXP_COMMANDS_H_

namespace lorvan {

class IRSlist;

void* declare_var_command(IRSlist* args);
void* make_lexp_command(IRSlist* args);
void* eval_command(IRSlist* args);
void* foreach_command(IRSlist* args);

}  // namespace lorvan

#endif  // LORVAN_EXPR_LEXP_COMMANDS_H_
