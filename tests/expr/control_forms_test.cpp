// The control forms, compiled from text and evaluated.
#include "expr/control_forms.h"

#include <gtest/gtest.h>

#include <string>

#include "expr/expr_fixture.h"
#include "expr/two_args.h"
#include "slist.h"

namespace lorvan::exprtest {
namespace {

using ControlFormsTest = ExprTest;

char kInput[] = "input";

// A result that is either the evaluation's input or a number.
struct Expected {
  bool is_input;
  long number;
};
constexpr Expected kIsInput{true, 0};
constexpr Expected Num(long n) { return {false, n}; }

struct Case {
  const char* text;
  bool null_input;  // evaluate on null instead of kInput
  Expected result;
  int count;  // evaluations of (test-count) expected
};

TEST_F(ControlFormsTest, EvaluationTable) {
  const Case cases[] = {
      // prog: same input to all, last result; none: the input.
      {"(prog)", false, kIsInput, 0},
      {"(prog (int 1) (int 2))", false, Num(2), 0},
      {"(prog (int 1) (ident))", false, kIsInput, 0},
      // prog1: every one runs, the first result counts.
      {"(prog1 (int 1) (test-count) (test-count))", false, Num(1), 2},
      {"(prog1)", false, Num(0), 0},
      // comp: each gets the previous result and its type.
      {"(comp (int 3) (test-inc) (test-inc))", false, Num(5), 0},
      {"(comp)", false, kIsInput, 0},
      // if
      {"(if (t) (int 1) (int 2))", false, Num(1), 0},
      {"(if (nil) (int 1) (int 2))", false, Num(2), 0},
      {"(if (nil) (t))", false, Num(0), 0},
      {"(if (t))", false, Num(0), 0},
      {"(if)", false, Num(0), 0},
      {"(if (t) (int 1) (int 2) (test-count))", false, Num(1), 0},
      // when: the condition's own value, the rest for effect.
      {"(when (int 7) (test-count) (int 1))", false, Num(7), 1},
      {"(when (nil) (test-count))", false, Num(0), 0},
      // while
      {"(while (nil) (test-count))", false, Num(0), 0},
      {"(while)", false, Num(0), 0},
      // cond
      {"(cond ((nil) (t)) ((t)))", false, Num(1), 0},
      {"(cond ((nil) (int 1)) ((t) (int 2) (int 3)) ((t) (test-count)))", false, Num(3), 0},
      {"(cond () ((int 4)))", false, Num(4), 0},
      {"(cond ((nil)))", false, Num(0), 0},
      {"(cond)", false, Num(0), 0},
      // one-of: the first non-zero answer of the predicate.
      {"(one-of (int 0) (int 5) (int 6) :is (ident))", false, Num(5), 0},
      {"(one-of (nil) :is (is-nil))", false, Num(1), 0},
      {"(one-of (test-count) (test-count) :is (nil))", false, Num(0), 2},
      {"(one-of (int 1) (int 2))", false, Num(0), 0},
      {"(one-of (int 1) :is (test-inc))", false, Num(2), 0},
      // not
      {"(not)", true, Num(1), 0},
      {"(not)", false, Num(0), 0},
      {"(not (nil))", false, kIsInput, 0},
      {"(not (nil) (t) (test-count))", false, Num(0), 0},
      // or
      {"(or)", false, kIsInput, 0},
      {"(or (nil) (int 2) (test-count))", false, Num(2), 0},
      {"(or (nil) (nil))", false, Num(0), 0},
      // xor: all are evaluated.
      {"(xor (t) (t) (t))", false, Num(1), 0},
      {"(xor (t) (test-count))", false, Num(0), 1},
      {"(xor)", false, Num(0), 0},
      // and
      {"(and)", false, kIsInput, 0},
      {"(and (t) (int 5))", false, Num(5), 0},
      {"(and (t) (nil) (test-count))", false, Num(0), 0},
      // constants of truth and identity
      {"(t)", false, Num(1), 0},
      {"(nil)", false, Num(0), 0},
      {"(is-nil)", true, Num(1), 0},
      {"(is-nil)", false, Num(0), 0},
      {"(ident)", false, kIsInput, 0},
      // eq: operands by position; a missing one gives 0.
      {"(eq (int 1) (int 1))", false, Num(1), 0},
      {"(eq (int 1) (int 2))", false, Num(0), 0},
      {"(eq (ident) (ident))", false, Num(1), 0},
      {"(eq (int 1))", false, Num(0), 0},
      {"(eq (nil) (nil) (int 3))", false, Num(1), 0},
  };
  for (const Case& c : cases) {
    counter = 0;
    void* input = c.null_input ? nullptr : kInput;
    void* result = eval(c.text, input);
    if (c.result.is_input) {
      EXPECT_EQ(result, input) << c.text;
    } else {
      EXPECT_EQ(value_to_int(result), c.result.number) << c.text;
    }
    EXPECT_EQ(counter, c.count) << c.text;
    EXPECT_EQ(err(), "") << c.text;
  }
}

TEST_F(ControlFormsTest, CompPassesOutputTypesWhereProgPassesTheInputType) {
  // test-inc accepts only "int": after (str a) in a comp it is refused ...
  EXPECT_EQ(eval("(comp (str a) (test-inc))"), nullptr);
  EXPECT_NE(err().find("test-inc received a wrong type of argument:'char*'"), std::string::npos);
  // ... while in a prog it sees the untyped input.
  EXPECT_EQ(eval_int("(prog (str a) (test-inc))", int_to_value(1)), 2);
  // one-of hands the predicate each candidate's output type.
  EXPECT_EQ(eval("(one-of (str a) :is (test-inc))"), nullptr);
  EXPECT_NE(err().find("test-inc received a wrong type"), std::string::npos);
}

TEST_F(ControlFormsTest, WhileLoopsUntilTheConditionFails) {
  run("(declare-var loops)");
  EXPECT_EQ(eval("(prog (setq loops (int 3))"
                 "      (while (get-val loops) (test-count)"
                 "             (setq loops (test-minus1 (get-val loops)))))"),
            nullptr);
  EXPECT_EQ(counter, 3);
  EXPECT_EQ(err(), "");
}

TEST_F(ControlFormsTest, ArgumentsThatDoNotCompileAreLeftOut) {
  // The bad condition is dropped, so (int 1) becomes the condition.
  EXPECT_EQ(eval_int("(if (bogus) (int 1) (int 2) (int 3))"), 2);
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'bogus'\n");
  // An atom is no cond clause.
  EXPECT_EQ(eval_int("(cond t ((int 2)))"), 2);
  EXPECT_EQ(err(), "LExp::get_exp: t is not a LExp\n");
}

TEST_F(ControlFormsTest, CondTakesTheOutputTypeOfItsLastExpression) {
  EXPECT_EQ(compile("(cond ((t) (str a)) ((t) (int 1)))")->output_type(), type_id("int"));
  EXPECT_EQ(compile("(cond ((t) (int 1)) ((t) (str a)))")->output_type(), type_id("char*"));
  EXPECT_EQ(compile("(cond)")->output_type(), -1);
}

TEST_F(ControlFormsTest, ListRefillsOneResultListPerExpression) {
  LExp* e = compile("(list (int 1) (ident) (nil))");
  auto* first = static_cast<Slist*>(e->eval(kInput, -1));
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->length(), 3);
  EXPECT_EQ(value_to_int(first->first()), 1);
  auto* second = static_cast<Slist*>(e->eval(nullptr, -1));
  EXPECT_EQ(second, first);
  ASSERT_EQ(second->length(), 3);
  EXPECT_EQ(*++second->begin(), nullptr);
  EXPECT_EQ(static_cast<Slist*>(eval("(list)"))->length(), 0);
}

TEST_F(ControlFormsTest, PairHalvesTakeTheirValueAndType) {
  char word[] = "word";
  TwoArgs pair{word, type_id("char*"), int_to_value(41), type_id("int")};
  const int pair_type = type_id("TwoArgs*");
  EXPECT_EQ(eval("(1/2)", &pair, pair_type), word);
  EXPECT_EQ(eval_int("(2/2)", &pair, pair_type), 41);
  EXPECT_EQ(eval_int("(2/2 (test-inc))", &pair, -1), 42);
  // The first half is typed char*, which test-inc refuses.
  EXPECT_EQ(eval("(1/2 (test-inc))", &pair, pair_type), nullptr);
  EXPECT_NE(err().find("test-inc received a wrong type"), std::string::npos);
  EXPECT_EQ(eval("(1/2)", nullptr, pair_type), nullptr);
  EXPECT_EQ(eval("(1/2)", word, type_id("char*")), nullptr);
  EXPECT_NE(err().find("1/2 received a wrong type of argument:'char*'"), std::string::npos);
}

TEST_F(ControlFormsTest, EqChecksItsInputTypeWhenGivenOne) {
  LExp* e = compile("(eq (ident) (ident))");
  e->set_input_type(type_id("int"));
  EXPECT_EQ(e->eval(kInput, type_id("char*")), nullptr);
  EXPECT_NE(err().find("eq received a wrong type"), std::string::npos);
  EXPECT_EQ(value_to_int(e->eval(kInput, -1)), 1);
}

}  // namespace
}  // namespace lorvan::exprtest
