// The expression core: compilation and its messages, registration, type
// checks, copies and the reusable bases.
#include "expr/lexp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "command/irslist.h"
#include "expr/comp_exp.h"
#include "expr/control_forms.h"
#include "expr/expr_fixture.h"
#include "expr/ladaptor.h"
#include "expr/marg_exp.h"
#include "slist.h"

namespace lorvan::exprtest {
namespace {

using LExpTest = ExprTest;

TEST_F(LExpTest, CompilationMessages) {
  struct Case {
    const char* text;
    const char* message;
    bool compiles;
  };
  const Case cases[] = {
      {"(no-such-kind)", "LExp::get_exp:  unknown type: 'no-such-kind'\n", false},
      {"abc", "LExp::get_exp: abc is not a LExp\n", false},
      {"()", "LExp::get_exp: () is not a LExp\n", false},
      // A bad argument is reported, and the form is still compiled.
      {"(and (t) (bogus))", "LExp::get_exp:  unknown type: 'bogus'\n", true},
  };
  for (const Case& c : cases) {
    LExp* e = compile(c.text);
    EXPECT_EQ(err(), c.message) << c.text;
    EXPECT_EQ(e != nullptr, c.compiles) << c.text;
  }
  EXPECT_EQ(eval_int("(and (t) (bogus))"), 1);  // the bad argument is left out
}

TEST_F(LExpTest, KindNamesAreCaseInsensitive) {
  LExp* e = compile("(IDENT)");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->type_name(), "ident");
  EXPECT_EQ(LExp::get_exp_proto("Ident"), LExp::get_exp_proto("ident"));
}

TEST_F(LExpTest, GetExpFromTextReadsTheFirstExpression) {
  EXPECT_EQ(eval_int("(int 4) (int 5)"), 4);
  EXPECT_EQ(LExp::get_exp(static_cast<const char*>(nullptr)), nullptr);
  EXPECT_EQ(LExp::get_exp(static_cast<IRSlist*>(nullptr)), nullptr);
  EXPECT_EQ(err(), "");
}

TEST_F(LExpTest, KindsAreRegisteredInTheFixedOrderWithTheirHelp) {
  const SymTab& table = ObjFactory::the_factory.val("LExp")->table();
  std::vector<std::string> names;
  for (const SymTab::Entry& e : table) names.emplace_back(e.name);
  const std::vector<std::string> expected = {
      "prog", "prog1", "comp", "if", "while", "when", "one-of", "cond", "list", "not", "or",
      "xor", "and", "t", "nil", "is-nil", "ident", "setq", "get-val", "let", "1/2", "2/2",
      "exec-commands", "open-file", "close-file", "set-tokenizer-input",
      "set-tokenizer-string-input", "eq", "quote-lexp", "exist-file", "usleep",
      // lconst_init
      "pred", "named-obj", "int", "str", "input", "output"};
  ASSERT_GE(names.size(), expected.size());
  names.resize(expected.size());
  EXPECT_EQ(names, expected);

  EXPECT_STREQ(table.find("t")->doc, "(t)\n    Always return 1");
  EXPECT_STREQ(table.find("not")->doc, "(not <lexp>)\n    returns true if <lexp> evaluates to 0;");
  EXPECT_STREQ(table.find("setq")->doc, "(setq <var-name> <lexp>)");
  for (const char* undocumented : {"eq", "1/2", "2/2", "int", "usleep"}) {
    EXPECT_STREQ(table.find(undocumented)->doc, "No documentation provided") << undocumented;
  }
}

TEST_F(LExpTest, DuplicateRegistrationKeepsTheFirstPrototype) {
  LExp* before = LExp::get_exp_proto("ident");
  LExp::exp_proto(std::make_unique<AlwaysTrue>(), "ident", nullptr);
  EXPECT_EQ(err(), "Duplicate definition of ident\n");
  EXPECT_EQ(LExp::get_exp_proto("ident"), before);
  // Without a name the kind's own name is used.
  LExp::exp_proto(std::make_unique<AlwaysTrue>(), nullptr, nullptr);
  EXPECT_EQ(err(), "Duplicate definition of t\n");
}

TEST_F(LExpTest, TypeMismatchPrintsBothTypesAndGivesZero) {
  LExp::exp_proto(std::make_unique<ZeroArgExp>(
                      "test-attvec", [](void*) { return int_to_value(1); }, "AttVec*", "int"),
                  nullptr, nullptr);
  const int attvec = type_id("AttVec*");
  const int lexitem = type_id("LexItem*");
  char item[] = "item";
  EXPECT_EQ(eval("(test-attvec)", item, lexitem), nullptr);
  EXPECT_EQ(err(), "test-attvec received a wrong type of argument:'LexItem*' (" +
                       std::to_string(lexitem) +
                       ")\nThe expected type of argument is:'AttVec*' (" +
                       std::to_string(attvec) + ")\n");
  EXPECT_EQ(eval_int("(test-attvec)", item, -1), 1);
  EXPECT_EQ(eval_int("(test-attvec)", item, attvec), 1);
  EXPECT_EQ(err(), "");
}

TEST_F(LExpTest, MArgExpArgumentCounts) {
  // Too many: reported, nothing compiled, the function gets null values.
  EXPECT_EQ(eval_int("(test-minus1 (int 5) (int 6))"), -1);
  EXPECT_EQ(err(), "Incorrect number of arguments in test-minus1. Expected: 1 Actual: 2\n");
  // Too few: the missing one is null.
  EXPECT_EQ(eval_int("(test-minus1)"), -1);
  EXPECT_EQ(eval_int("(test-minus1 (int 5))"), 4);
  // An argument that does not compile keeps its position.
  EXPECT_EQ(eval_int("(test-args (bogus) (int 3))"), 3);
  EXPECT_EQ(eval_int("(test-args (int 2) (int 3))"), 23);
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'bogus'\n");
}

TEST_F(LExpTest, MArgExpArgumentsSeeTheInputAndTheDeclaredTypes) {
  auto* e = dynamic_cast<MArgExp*>(compile("(test-args (ident) (int 1))"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->arity(), 2);
  EXPECT_EQ(e->arg_types(), (std::vector<int>{type_id("int"), type_id("int")}));
  EXPECT_EQ(e->output_type(), type_id("int"));
  EXPECT_EQ(value_to_int(e->eval(int_to_value(4), -1)), 41);
}

TEST_F(LExpTest, MacroExpandingToSeveralExpressionsCompilesToAProg) {
  run("(defmacro two-steps () (test-count) (int 9))"
      "(defmacro nothing ())");
  LExp* e = compile("(two-steps)");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->type_name(), "prog");
  EXPECT_EQ(e->input_type(), -1);
  EXPECT_EQ(e->output_type(), -1);
  EXPECT_EQ(value_to_int(e->eval(nullptr, -1)), 9);
  EXPECT_EQ(counter, 1);
  EXPECT_EQ(compile("(nothing)"), nullptr);
  EXPECT_EQ(err(), "");
}

TEST_F(LExpTest, SelfExpandingMacroIsStoppedWithOneMessage) {
  run("(defmacro forever () (forever) (forever))");
  EXPECT_EQ(compile("(forever)"), nullptr);
  const std::string message = err();
  EXPECT_EQ(message,
            "LExp::get_exp: expressions nested deeper than 2000 levels at 'forever'; the "
            "expression is left out\n");
  // The next compilation starts afresh.
  EXPECT_EQ(eval_int("(int 3)"), 3);
}

TEST_F(LExpTest, CopiesAreDeepAndIndependent) {
  std::unique_ptr<LExp> original = LExp::get_exp("(and (t) (list (int 1) (ident)))");
  std::unique_ptr<LExp> copy = LExp::make_copy(original.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(LExp::make_copy(nullptr), nullptr);
  char in[] = "in";
  void* from_original = original->eval(in, -1);
  original.reset();
  auto* list = static_cast<Slist*>(copy->eval(in, -1));
  ASSERT_NE(list, nullptr);
  EXPECT_NE(static_cast<void*>(list), from_original);  // its own result list
  ASSERT_EQ(list->length(), 2);
  EXPECT_EQ(value_to_int(list->first()), 1);
  EXPECT_EQ(list->last(), in);
}

TEST_F(LExpTest, DuplicatingAPrototypeCopiesItsTypes) {
  EXPECT_EQ(compile("(1/2)")->input_type(), type_id("TwoArgs*"));
  EXPECT_EQ(compile("(int 1)")->output_type(), type_id("int"));
  EXPECT_EQ(compile("(list)")->output_type(), type_id("Slist*"));
  EXPECT_EQ(compile("(quote-lexp a)")->output_type(), type_id("char*"));
}

// A conversion to int: the input's length.
class TestLength : public LAdaptor {
 public:
  TestLength() : LAdaptor(arg_type_id("int")) { set_input_type(arg_type_id("char*")); }
  const char* type_name() const override { return "test-length"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TestLength>(*this); }
  void* convert(void* input) override {
    return int_to_value(input != nullptr ? static_cast<long>(std::strlen(static_cast<char*>(input))) : 0);
  }
};

TEST_F(LExpTest, AdaptorConvertsThenHandsTheValueToItsInnerExpression) {
  LExp::exp_proto(std::make_unique<TestLength>(), nullptr, nullptr);
  char word[] = "abcd";
  const int str = type_id("char*");
  EXPECT_EQ(eval_int("(test-length)", word, str), 4);
  // The inner expression receives the value typed with the conversion type.
  EXPECT_EQ(eval_int("(test-length (test-inc))", word, str), 5);
  EXPECT_EQ(compile("(test-length (ident))")->output_type(), -1);
  EXPECT_EQ(compile("(test-length)")->output_type(), type_id("int"));
  EXPECT_EQ(eval("(test-length)", word, type_id("int")), nullptr);
  EXPECT_NE(err().find("test-length received a wrong type"), std::string::npos);
}

}  // namespace
}  // namespace lorvan::exprtest
