// User functions (defun) and textual macros (defmacro), both as expressions
// and, for macros, as commands.
#include <gtest/gtest.h>

#include <string>

#include "expr/expr_fixture.h"
#include "expr/lfunction.h"
#include "expr/lmacro.h"
#include "slist.h"

namespace lorvan::exprtest {
namespace {

using FunctionTest = ExprTest;
using MacroTest = ExprTest;

TEST_F(FunctionTest, ParametersAreBoundToTheArguments) {
  run("(defun second-of (a b) \"the second one\" (get-val b))"
      "(defun both (a b) (test-args (get-val a) (get-val b)))");
  EXPECT_EQ(eval_int("(second-of (int 1) (int 2))"), 2);
  EXPECT_EQ(eval_int("(both (int 1) (int 2))"), 12);
  // Arguments are evaluated on the call's input.
  EXPECT_EQ(eval_int("(both (ident) (int 2))", int_to_value(3)), 32);
  EXPECT_EQ(err(), "");
  auto* proto = dynamic_cast<FuncExp*>(LExp::get_exp_proto("SECOND-OF"));
  ASSERT_NE(proto, nullptr);
  EXPECT_STREQ(proto->type_name(), "second-of");
}

TEST_F(FunctionTest, AFunctionCallsAnEarlierFunction) {
  run("(defun plus-one (x) (comp (get-val x) (test-inc)))"
      "(defun plus-two (y) (plus-one (plus-one (get-val y))))");
  EXPECT_EQ(eval_int("(plus-two (int 5))"), 7);
  EXPECT_EQ(err(), "");
}

TEST_F(FunctionTest, NestedCallsRestoreTheParameters) {
  run("(defun keep-b (a b) (get-val b))");
  // The outer b (9) is bound before the inner call binds and restores it.
  EXPECT_EQ(eval_int("(keep-b (keep-b (int 5) (int 6)) (int 9))"), 9);
  EXPECT_EQ(eval_int("(keep-b (int 1) (keep-b (int 5) (int 6)))"), 6);
}

TEST_F(FunctionTest, AFunctionCannotCallItself) {
  run("(defun self (x) (self (get-val x)) (int 1))");
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'self'\n");
  EXPECT_EQ(eval_int("(self (int 0))"), 1);  // the call was left out
}

TEST_F(FunctionTest, WrongArgumentCountIsReportedAndMissingParametersAreNull) {
  run("(defun pair (a b) (list (get-val a) (get-val b)))");
  auto* values = static_cast<Slist*>(eval("(pair (int 1))"));
  EXPECT_EQ(err(), "pair requires 2 arguments. 1 found.\n");
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->first(), nullptr);
  EXPECT_EQ(values->last(), nullptr);
}

TEST_F(FunctionTest, BodySeesGlobalsAndItsOwnLets) {
  run("(declare-var base int (int 40))"
      "(defun with-local (p) (let (tmp) (setq tmp (get-val base)) (test-args (get-val tmp) "
      "(get-val p))))");
  EXPECT_EQ(eval_int("(with-local (int 2))"), 402);
  EXPECT_EQ(err(), "");
}

TEST_F(FunctionTest, EmptyBodyGivesZeroWithoutEvaluatingArguments) {
  run("(defun nothing (a))");
  EXPECT_EQ(eval("(nothing (test-count))", int_to_value(5)), nullptr);
  EXPECT_EQ(counter, 0);
}

TEST_F(FunctionTest, ANameAlreadyUsedKeepsTheOldKind) {
  run("(defun ident () (int 3))");
  EXPECT_EQ(err(), "Duplicate definition of ident\n");
  char in[] = "in";
  EXPECT_EQ(eval("(ident)", in), in);
  run("(defun)");  // no name: nothing defined, nothing said
  EXPECT_EQ(err(), "");
}

TEST_F(FunctionTest, CopiesShareTheFunction) {
  run("(defun twice-inc (n) (comp (get-val n) (test-inc) (test-inc)))");
  std::unique_ptr<LExp> call = LExp::get_exp("(twice-inc (int 1))");
  std::unique_ptr<LExp> copy = LExp::make_copy(call.get());
  call.reset();
  EXPECT_EQ(value_to_int(copy->eval(nullptr, -1)), 3);
}

TEST_F(MacroTest, ExpansionAsExpressionWithDebugOutput) {
  run("(defmacro twice (x) (prog x x))"
      "(debug-macro \"*\")");
  EXPECT_EQ(eval_int("(twice (test-count))"), 2);
  EXPECT_EQ(err(), "Expand macro: twice\n(prog (test-count) (test-count))\n\n");
  run("(debug-macro other)");
  eval("(twice (t))");
  EXPECT_EQ(err(), "");
  run("(debug-macro TWICE)");
  eval("(twice (t))");
  EXPECT_EQ(err(), "Expand macro: twice\n(prog (t) (t))\n\n");
  run("(debug-macro)");
  eval("(twice (t))");
  EXPECT_EQ(err(), "");
}

TEST_F(MacroTest, ListParameterSplicesTheElements) {
  run("(defmacro all-of ((xs)) (and xs))"
      "(debug-macro all-of)");
  EXPECT_EQ(eval_int("(all-of ((int 1) (int 2)))"), 2);
  EXPECT_EQ(err(), "Expand macro: all-of\n(and (int 1)\n(int 2)\n)\n\n");
  EXPECT_EQ(eval_int("(all-of ((int 1) (nil) (test-count)))"), 0);
  EXPECT_EQ(counter, 0);
  run("(debug-macro)");
  err();
}

TEST_F(MacroTest, OnlyWholeWordsBeginningWithALetterAreReplaced) {
  struct Case {
    const char* definition;
    const char* use;
    const char* expected;
  };
  const Case cases[] = {
      // Arguments keep their quotes; strings of the body stay strings.
      {"(defmacro m1 (x) (str x))", "(m1 \"a b\")", "a b"},
      {"(defmacro m2 (x) (str \"x y\"))", "(m2 zzz)", "x y"},
      // Parameter names ignore case; other words are copied.
      {"(defmacro m3 (Word) (str WORD))", "(m3 hello)", "hello"},
      {"(defmacro m4 (x) (str xx))", "(m4 hello)", "xx"},
      // A keyword is never a parameter.
      {"(defmacro m5 (is) (one-of (str is) :is (ident)))", "(m5 found)", "found"},
      // A body string with a quote inside is written back quoted.
      {"(defmacro m6 () (str \"say \\\"hi\\\"\"))", "(m6)", "say \"hi\""},
  };
  for (const Case& c : cases) {
    run(c.definition);
    EXPECT_EQ(eval_str(c.use), c.expected) << c.definition;
    EXPECT_EQ(err(), "") << c.definition;
  }
}

TEST_F(MacroTest, WrongArgumentCountIsReportedAndExpansionGoesOn) {
  run("(defmacro pick (a b) (prog a b))");
  EXPECT_EQ(eval_int("(pick (int 1))"), 1);
  EXPECT_EQ(err(), "Expecting 2 arguments for 'pick'. Found: 1\n");
  EXPECT_EQ(eval_int("(pick (int 1) (int 2) (int 3))"), 2);
  EXPECT_EQ(err(), "Expecting 2 arguments for 'pick'. Found: 3\n");
}

TEST_F(MacroTest, MacroRunsAsACommandAndHidesACommand) {
  run("(defmacro say (w) (echo w w))"
      "(say hi)"
      "(defmacro quote (x) (echo quoted x))"
      "(quote me)");
  EXPECT_EQ(out(), "hi hi\nquoted me\n");
  EXPECT_EQ(err(), "");
}

TEST_F(MacroTest, MacrosHideKindsAndKeepTheFirstDefinition) {
  run("(defmacro is-nil () (int 5))"
      "(defmacro is-nil () (int 6))");
  EXPECT_EQ(err(), "Duplicate definition of is-nil\n");
  EXPECT_EQ(eval_int("(is-nil)"), 5);
  EXPECT_EQ(eval_int("(IS-NIL)"), 5);
}

TEST_F(MacroTest, MacrosUsedInsideTheirOwnArguments) {
  run("(defmacro inc (x) (comp x (test-inc)))");
  EXPECT_EQ(eval_int("(inc (inc (inc (int 0))))"), 3);
}

TEST_F(MacroTest, DefinitionsWithoutNameOrParametersDoNothing) {
  run("(defmacro)"
      "(defmacro lonely)");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(compile("(lonely)"), nullptr);
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'lonely'\n");
  run("(defmacro flat x (echo x))");
  EXPECT_EQ(err(), "defmacro flat: the parameters must be a list\n");
}

}  // namespace
}  // namespace lorvan::exprtest
