// Variables: declaration, assignment and its type rule, compile-time
// binding, let scopes and their save/restore around each evaluation.
#include "expr/lvariable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/expr_fixture.h"
#include "expr/var_exp.h"
#include "slist.h"

namespace lorvan::exprtest {
namespace {

using VariablesTest = ExprTest;

TEST_F(VariablesTest, DeclaredVariableTakesAssignments) {
  run("(declare-var x)");
  EXPECT_EQ(eval_int("(setq x (int 5))"), 5);
  EXPECT_EQ(eval_int("(get-val x)"), 5);
  ASSERT_NE(LVariable::getVar("X"), nullptr);  // names ignore case
  EXPECT_EQ(value_to_int(LVariable::getVar("X")->value()), 5);
  // Without an expression setq assigns the input.
  char in[] = "in";
  EXPECT_EQ(eval("(setq x)", in, -1), in);
  EXPECT_EQ(eval("(get-val x)"), in);
  EXPECT_EQ(err(), "");
}

TEST_F(VariablesTest, DeclareVarWithTypeAndInitialValue) {
  run("(declare-var count int (int 9))");
  EXPECT_EQ(eval_int("(get-val count)"), 9);
  EXPECT_EQ(compile("(get-val count)")->output_type(), type_id("int"));
  // get-val hands the value, with the variable's type, to its expression.
  EXPECT_EQ(eval_int("(get-val count (test-inc))"), 10);
  EXPECT_EQ(err(), "");
}

TEST_F(VariablesTest, UnknownVariablesAreReportedWhenCompiled) {
  LExp* get = compile("(get-val nowhere)");
  EXPECT_EQ(err(), "(get-val ... ): the variable nowhere is not defined\n");
  LExp* set = compile("(setq nowhere (int 3))");
  EXPECT_EQ(err(), "(setq ... ): the variable nowhere is not defined\n");
  // Both are kept and touch no variable.
  ASSERT_NE(get, nullptr);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(value_to_int(set->eval(nullptr, -1)), 3);
  EXPECT_EQ(get->eval(nullptr, -1), nullptr);
  // Binding happens at compile time: declaring it later does not help.
  run("(declare-var nowhere)");
  EXPECT_EQ(set->eval(nullptr, -1), int_to_value(3));
  EXPECT_EQ(LVariable::getVar("nowhere")->value(), nullptr);
}

TEST_F(VariablesTest, TypedVariableRefusesOtherTypes) {
  run("(declare-var n int (int 2))");
  EXPECT_EQ(eval_str("(setq n (str abc))"), "abc");  // setq still returns it
  EXPECT_EQ(err(),
            "the variable n is assigned an incompatible type: char*. The expected type is: int\n");
  EXPECT_EQ(eval_int("(get-val n)"), 2);
  // An untyped value is refused too: only -1 variables take anything.
  EXPECT_EQ(eval_int("(setq n)", int_to_value(4), -1), 4);
  EXPECT_NE(err().find("incompatible type: void*"), std::string::npos);
  EXPECT_EQ(eval_int("(get-val n)"), 2);
}

TEST_F(VariablesTest, SetqTakesTheTypesOfItsExpression) {
  run("(declare-var any)");
  LExp* e = compile("(setq any (int 1))");
  EXPECT_EQ(e->output_type(), type_id("int"));
  EXPECT_EQ(e->input_type(), type_id("int"));
  EXPECT_EQ(compile("(setq any)")->output_type(), -1);
}

TEST_F(VariablesTest, LetShadowsAndRestores) {
  run("(declare-var v int (int 7))");
  EXPECT_EQ(eval_int("(let ((v int)) (setq v (int 1)) (get-val v))"), 1);
  EXPECT_EQ(eval_int("(get-val v)"), 7);
  // Inside the let the variable takes any type.
  EXPECT_EQ(eval_str("(let ((v int)) (setq v (str text)) (get-val v))"), "text");
  EXPECT_EQ(err(), "");
  // The let's variable starts each evaluation with its value from before.
  LExp* e = compile("(let (k) (prog1 (get-val k) (setq k (int 5))))");
  EXPECT_EQ(e->eval(nullptr, -1), nullptr);
  EXPECT_EQ(e->eval(nullptr, -1), nullptr);
  // An outer variable assigned inside a let keeps the assignment.
  EXPECT_EQ(eval_int("(prog (let (k) (setq v (int 8))) (get-val v))"), 8);
}

TEST_F(VariablesTest, NestedLetsOfTheSameVariable) {
  LExp* e = compile(
      "(let (a)"
      "  (setq a (int 1))"
      "  (let (a) (setq a (int 2)))"
      "  (list (get-val a) (let ((a)) (setq a (int 3)) (get-val a)) (get-val a)))");
  auto* results = static_cast<Slist*>(e->eval(nullptr, -1));
  ASSERT_NE(results, nullptr);
  std::vector<long> values;
  for (void* v : *results) values.push_back(value_to_int(v));
  EXPECT_EQ(values, (std::vector<long>{1, 3, 1}));
}

TEST_F(VariablesTest, ScopesExistOnlyWhileCompiling) {
  const int depth = LVariable::scope_depth();
  compile("(let ((inner) (other char*)) (get-val inner))");
  EXPECT_EQ(LVariable::scope_depth(), depth);
  EXPECT_EQ(LVariable::getVar("inner"), nullptr);
  compile("(get-val inner)");
  EXPECT_EQ(err(), "(get-val ... ): the variable inner is not defined\n");
  // An empty variable list opens no scope, and the body still runs.
  EXPECT_EQ(eval_int("(let () (int 4))"), 4);
  EXPECT_EQ(LVariable::scope_depth(), depth);
  // The global scope is never closed.
  LVariable::close_scope();
  EXPECT_EQ(LVariable::scope_depth(), 1);
}

TEST_F(VariablesTest, DeclarationsInOneScope) {
  LVariable::open_scope(3);
  LVariable* first = LVariable::declareVar("dup", -1);
  EXPECT_EQ(LVariable::declareVar("DUP", type_id("int")), first);
  EXPECT_EQ(err(), "Duplicate definition of DUP\n");
  EXPECT_EQ(LVariable::getVar("dup"), first);
  // A variable referenced by an expression outlives its scope.
  VarRef keep(first);
  LVariable::close_scope();
  EXPECT_EQ(LVariable::getVar("dup"), nullptr);
  EXPECT_EQ(keep->ref_count(), 1);
  EXPECT_EQ(keep->name(), "dup");
}

TEST_F(VariablesTest, PushMakesUntypedAndPopRestores) {
  LVariable::open_scope(1);
  VarRef v(LVariable::declareVar("pushed", type_id("int")));
  LVariable::close_scope();
  v->assign(int_to_value(1), type_id("int"));
  v->push();
  EXPECT_EQ(v->type(), -1);
  EXPECT_EQ(value_to_int(v->value()), 1);  // the value is kept
  v->assign(int_to_value(2), type_id("char*"));
  v->pop();
  EXPECT_EQ(v->type(), type_id("int"));
  EXPECT_EQ(value_to_int(v->value()), 1);
  v->pop();  // nothing saved: no change
  EXPECT_EQ(value_to_int(v->value()), 1);
  EXPECT_EQ(err(), "");
}

TEST_F(VariablesTest, MalformedDeclarationsAreReported) {
  EXPECT_EQ(eval_int("(let (((x)) y) (setq y (int 3)))"), 3);
  EXPECT_EQ(err(), "A variable declaration needs a name: (x)\n");
}

}  // namespace
}  // namespace lorvan::exprtest
