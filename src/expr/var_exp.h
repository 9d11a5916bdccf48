// The variable forms of the expression language: setq, get-val and let.
//
// setq and get-val bind their variable when they are compiled (see
// lvariable.h) and hold a reference to it; an unknown variable is reported
// then, and the form evaluates without touching any variable.  let declares
// its variables in a scope of its own while its body is compiled, and saves
// and restores them around each evaluation of the body.
#ifndef LORVAN_EXPR_VAR_EXP_H_
#define LORVAN_EXPR_VAR_EXP_H_

#include <memory>
#include <vector>

#include "expr/comp_exp.h"
#include "expr/lexp.h"
#include "expr/lvariable.h"

namespace lorvan {

// A variable bound at compile time and an optional sub-expression.
class VarExp : public LExp {
 public:
  LVariable* variable() const { return var_.get(); }

 protected:
  // Binds the variable `name`; an unknown one prints "(<form> ... ): the
  // variable <name> is not defined".
  void bind(const char* name, const char* form);

  VarRef var_;
  SubExp exp_;
};

// (setq <var-name> <lexp>): assigns the expression's result, typed with its
// output type -- or, without an expression, the input with its type -- and
// returns it.  Input and output type are those of the expression.
class AssignVar : public VarExp {
 public:
  const char* type_name() const override { return "setq"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AssignVar>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
};

// (get-val <var-name> [ <lexp> ]): ignores the input; the variable's value,
// or the expression evaluated on (value, the variable's type).  Its output
// type is the variable's declared type.
class GetVarVal : public VarExp {
 public:
  const char* type_name() const override { return "get-val"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<GetVarVal>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
};

// (let (<varlist>) <lexp> ...): pushes its variables, evaluates the body as
// prog does, pops them and returns the body's result.  Inside, a variable
// starts with the value it had before and accepts any type.
class LetExp : public CompExp {
 public:
  const char* type_name() const override { return "let"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<LetExp>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  std::vector<VarRef> vars_;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_VAR_EXP_H_
