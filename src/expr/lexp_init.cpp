#include "expr/lexp_init.h"

#include <memory>

#include "command/cmd_interpreter.h"
#include "command/obj_factory.h"
#include "expr/comp_exp.h"
#include "expr/control_forms.h"
#include "expr/effect_exps.h"
#include "expr/file_exps.h"
#include "expr/lexp.h"
#include "expr/lexp_commands.h"
#include "expr/lfunction.h"
#include "expr/lmacro.h"
#include "expr/tokenizer_input_exps.h"
#include "expr/var_exp.h"

namespace lorvan {

namespace {

constexpr unsigned kLExpMakerSize = 23;

template <class Kind>
void kind(const char* help) {
  LExp::exp_proto(std::make_unique<Kind>(), nullptr, help);
}

void register_control_forms() {
  kind<CompExp>(
      "(prog <lexp1> <lexp2> ... <lexpn>)\n"
      "    The input is passed to and evaluated by <lexp1>, then <lexp2>, ..., <lexpn>.\n"
      "    The return value is the result of <lexpn>");
  kind<Prog1Exp>(
      "(prog1 <lexp1> <lexp2> ... <lexpn>)\n"
      "    The input is passed to and evaluated by <lexp1>, then <lexp2>, ..., <lexpn>.\n"
      "    The return value is the result of <lexp1>");
  kind<FuncComp>(
      "(comp <lexp1> <lexp2> ... <lexpn>)\n"
      "    the input is passed to and evaluated by <lexp1>. the result is then\n"
      "    passed to <lexp2> for evaluation. ... the result of evaluating\n"
      "    <lexpn> is returned.");
  kind<IfAction>(
      "(if <lexp-cond>\n"
      "    <lexp-t>\n"
      "    <lexp-f>)\n"
      "    The input is passed to <lexp-cond> if the result is not 0, the input\n"
      "    is passed to <lexp-t>, otherwise to <lexp-f>. The result of <lexp-t>\n"
      "    or <lexp-f> is returned.");
  kind<WhileAction>(
      "(while <lexp-cond> <lexp> <lexp> <lexp>)\n"
      "    The input is passed to <lexp-cond> if the result is not 0, the input\n"
      "    is passed to the <lexp>'s to be evaluated. Continues until <lexp-cond> fails");
  kind<WhenAction>(
      "(when <lexp-cond> <lexp> <lexp> <lexp>)\n"
      "    The input is passed to <lexp-cond> if the result is not 0, the input\n"
      "    is passed to the <lexp>'s to be evaluated.");
  kind<OneOf>(
      "(one-of <lexp1> ... <lexpn> :is <pred>)\n"
      "    Return a non zero value if the evaluation result of one of <lexp> satisfy <pred>");
  kind<CondAction>(
      "(cond\n"
      "    (<lexp-cond>  <lexp>  ... <lexp>)\n"
      "    (<lexp-cond>  <lexp>  ... <lexp>)\n"
      "    ... ...\n"
      "    (<lexp-cond>  <lexp>  ... <lexp>)\n"
      "    )\n"
      "    Sequentially test each of the <lexp-cond>s, when one of them\n"
      "    evaluates to true, the <lexp>s following the condtion are\n"
      "    evaluated. The rest of the cond are then skipped. The return value\n"
      "    is the result of the last <lexp> evaluated.");
  kind<CollectExp>(
      "(list <lexp1> <lexp2> ... <lexpn>)\n"
      "    The argument is passed to each of the <lexp>s, the return value is\n"
      "    collected in a Slist. The pointer to the Slist is returned.");
  kind<NegExp>("(not <lexp>)\n    returns true if <lexp> evaluates to 0;");
  kind<OrExp>("(or <lexp> <lexp> ... <lexp>)\n    returns true if one of <lexp>s evaluates to true.");
  kind<XorExp>(
      "(xor <lexp> <lexp> ... <lexp>)\n    returns true if odd number of <lexp>s evaluate to true.");
  kind<AndExp>(
      "(and <lexp> <lexp> ... <lexp>)\n    returns true if all of <lexp>s evaluate to true.");
  kind<AlwaysTrue>("(t)\n    Always return 1");
  kind<AlwaysFalse>("(nil)\n    Always return 0");
  kind<NilPred>("(is-nil)\n    Returns true if the input is 0. Returns false otherwise.");
  kind<Ident>("(ident)\n    Always return the input.");
}

void register_variable_forms() {
  kind<AssignVar>("(setq <var-name> <lexp>)");
  kind<GetVarVal>("(get-val <var-name> [ <lexp> ])");
  kind<LetExp>("(let (<varlist>) <lexp> <lexp> ...)");
}

void register_effect_kinds() {
  kind<ExecCommands>(nullptr);
  kind<OpenFile>(nullptr);
  kind<CloseFile>(nullptr);
  kind<SetTokenizerInput>(nullptr);
  kind<SetTokenizerStringInput>(nullptr);
}

void register_commands() {
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("declare-var", declare_var_command, "(declare-var varname) declare a variable.");
  interp->enter("defun", defun_command,
                "(defun funcname ( [args] ) LExp LExp ...) define a function.");
  interp->enter("make-lexp", make_lexp_command, "(make-lexp name LExp) define a named lexp.");
  interp->enter("eval", eval_command, "(eval LExp) Evaluate LExp with 0 as input.");
  interp->enter("foreach", foreach_command,
                "(foreach LIST :eval LEXP) Evaluate LExp with each of the string in the list.");
}

}  // namespace

void lexp_init() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* maker = new ObjMaker(dup_lexp, delLExp, kLExpMakerSize);
  if (!ObjFactory::the_factory.enter("LExp", maker)) delete maker;
  register_control_forms();
  register_variable_forms();
  kind<OneOfTwo>(nullptr);
  kind<TwoOfTwo>(nullptr);
  register_effect_kinds();
  kind<EqExp>(nullptr);
  kind<QuoteLExp>(nullptr);
  kind<ExistFile>(nullptr);
  kind<USleep>(nullptr);
  register_commands();
  lmacro_init();
}

}  // namespace lorvan
