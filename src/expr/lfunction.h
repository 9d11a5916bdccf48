// User-defined functions of the expression language: LFunction, the
// function a `defun` command defines, and FuncExp, the expression kind
// registered under the function's name that calls it.
//
//   (defun pair-ok (a b) "doc" (and (get-val a) (get-val b)))
//   ... (pair-ok (int 1) (t)) ...
//
// The body is compiled with the parameters visible (and the global
// variables), before the function's name is registered, so a function can
// call functions defined earlier but not itself.  A call evaluates its
// arguments on the call's input and binds them to the parameters (saving
// the parameters' previous values, see LVariable::push), evaluates the body
// in order on the same input, restores the parameters and returns the last
// result (0 for an empty body).
//
// Ownership: a FuncExp and all its copies share their LFunction, which owns
// its parameters (by reference count) and its compiled body.  Prototypes
// live in the "LExp" maker of the object factory.
#ifndef LORVAN_EXPR_LFUNCTION_H_
#define LORVAN_EXPR_LFUNCTION_H_

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "expr/lexp.h"
#include "expr/lvariable.h"

namespace lorvan {

class LFunction {
 public:
  // Reads "name (params) [doc] body..." from `args`: a parameter is a name
  // or (name type-name); an atom after the parameters is the documentation;
  // body expressions that do not compile are left out.  False, with nothing
  // defined, when there is no name.
  bool init(IRSlist* args);

  const std::string& name() const { return name_; }
  const std::string& documentation() const { return doc_; }
  int param_count() const { return static_cast<int>(params_.size()); }

  // Binds args[i] (evaluated on (input, type); a missing one gives null) to
  // parameter i, from the last to the first, evaluates the body and
  // restores the parameters.  0 for an empty body, which evaluates nothing.
  void* call(std::span<const SubExp> args, void* input, int type) const;

 private:
  std::string name_;
  std::string doc_;
  std::vector<VarRef> params_;
  std::vector<SubExp> body_;
};

class FuncExp : public LExp {
 public:
  explicit FuncExp(std::shared_ptr<const LFunction> function);

  const char* type_name() const override { return name_.c_str(); }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<FuncExp>(*this); }
  // One argument expression per parameter; another count prints "<name>
  // requires <n> arguments. <count> found." and compiles none.
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override { return function_->call(args_, input, type); }

 private:
  std::shared_ptr<const LFunction> function_;
  std::string name_;
  std::vector<SubExp> args_;
};

// The defun command: (defun funcname ( [args] ) LExp LExp ...).  A name
// already used by an expression kind prints "Duplicate definition of <name>"
// and the new function is dropped.
void* defun_command(IRSlist* args);

}  // namespace lorvan

#endif  // LORVAN_EXPR_LFUNCTION_H_
