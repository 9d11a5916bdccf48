// Registration of the expression language's core: the "LExp" maker of the
// object factory, the control forms, the variable forms, the effect kinds,
// the commands declare-var, defun, make-lexp, eval and foreach, and (through
// lmacro_init) defmacro and debug-macro.  The constant kinds are registered
// separately by lconst_init (expr/lconst.h), later in the start-up order.
#ifndef LORVAN_EXPR_LEXP_INIT_H_
#define LORVAN_EXPR_LEXP_INIT_H_

namespace lorvan {

// Runs once.  Registers its commands with CmdInterpreter::the_interpreter,
// creating the interpreter when there is none yet.
void lexp_init();

}  // namespace lorvan

#endif  // LORVAN_EXPR_LEXP_INIT_H_
