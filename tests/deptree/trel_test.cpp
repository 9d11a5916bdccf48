// Relation records, property entries, the kinds make-rel and add-propvals,
// the command define-attribute and what trel_init registers.
#include "deptree/trel.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/obj_factory.h"
#include "deptree/trel_init.h"
#include "deptree/val_type.h"
#include "expr/lconst.h"
#include "expr/lexp.h"

namespace lorvan {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// One interpreter and the registrations for the whole program, with the
// properties "te-s" (StrValue), "te-i" (IntValue) and "te-l" (StrListValue)
// defined through the command; "te-u" is a name without a value type.
class TRelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    trel_init();
    lconst_init();
    CmdInterpreter::the_interpreter->interpret(
        "(define-attribute te-s StrValue)"
        "(define-attribute te-i IntValue)"
        "(define-attribute te-l StrListValue)");
    ValType::get_id("te-u");
  }

  static std::string print(const TRel& rel) {
    std::ostringstream out;
    rel.print(out);
    return out.str();
  }

  // The record `text` (a make-rel expression) makes on (input, type).
  static std::string made(const std::string& text, void* input = nullptr, int type = -1) {
    std::unique_ptr<LExp> e = LExp::get_exp(text.c_str());
    if (e == nullptr) return "<no expression>";
    std::unique_ptr<TRel> rel(static_cast<TRel*>(e->eval(input, type)));
    return rel != nullptr ? print(*rel) : "<null>";
  }

  static std::string stderr_of(const char* commands) {
    CaptureStderr();
    CmdInterpreter::the_interpreter->interpret(commands);
    return GetCapturedStderr();
  }
};

TEST_F(TRelTest, ARecordIsANamedPropertyList) {
  TRel rel("te-NewRelation", 0, 4);
  EXPECT_EQ(rel.value(), 0);
  EXPECT_EQ(print(rel), "(te-NewRelation)");
  // Its name is a property name, and the record holds the table's copy.
  const int id = ValType::get_existing_id("TE-NEWRELATION");
  ASSERT_NE(id, 0);
  EXPECT_EQ(rel.name(), ValType::name(id));
  rel.add_propval(PropVal(ValType::get_id("te-s"), const_cast<char*>("Foo"), 0.5f));
  EXPECT_EQ(print(rel), "(te-NewRelation (te-s Foo 0.5))");
}

TEST_F(TRelTest, MakeRelBuildsRecordsFromEntries) {
  const std::string s_id = std::to_string(ValType::get_id("te-s"));
  struct Case {
    std::string text;
    const char* printed;
  };
  const std::vector<Case> cases = {
      {"(make-rel r (te-s Foo 0.5))", "(r (te-s Foo 0.5))"},
      {"(make-rel r (te-s Foo 0.0015))", "(r (te-s Foo 0.001))"},  // kept to thousandths
      {"(make-rel r (te-s Foo 1.005) (te-i 3 -2))", "(r (te-s Foo 1.005) (te-i 3 -2))"},
      {"(make-rel r (te-i 12) (te-l abc))", "(r (te-i 12) (te-l \"(abc)\"))"},
      {"(make-rel r (te-s A) (te-s B))", "(r (te-s B) (te-s A))"},  // newer first
      {"(make-rel r (te-s Same 0.5) (te-s SAME 0.25))", "(r (te-s Same 0.25))"},
      {"(make-rel r (te-s) te-s (te-s X))", "(r (te-s X))"},  // no VALUE: ignored
      {"(make-rel r)", "(r)"},
      // expressions for the property, the value and the weight
      {"(make-rel r ((int " + s_id + ") Bar))", "(r (te-s \"\\\"\\\"\"))"},  // atom after expression: null
      {"(make-rel r ((int " + s_id + ") (str \"x y\")))", "(r (te-s \"\\\"x y\\\"\"))"},
      {"(make-rel r (te-s Baz (int 250)))", "(r (te-s Baz 0.25))"},
      {"(make-rel r (te-i (int 41) (int -1500)))", "(r (te-i 41 -1.5))"},
  };
  for (const Case& c : cases) EXPECT_EQ(made(c.text), c.printed) << c.text;
}

TEST_F(TRelTest, MakeRelRegistersTheRecordNameAsPropertyName) {
  ASSERT_EQ(ValType::get_existing_id("te-rel-name-only"), 0);
  std::unique_ptr<LExp> e = LExp::get_exp("(make-rel te-rel-name-only)");
  EXPECT_NE(ValType::get_existing_id("te-rel-name-only"), 0);
}

TEST_F(TRelTest, EveryEvaluationMakesANewRecord) {
  std::unique_ptr<LExp> e = LExp::get_exp("(make-rel r (te-l a))");
  ASSERT_NE(e, nullptr);
  std::unique_ptr<TRel> a(static_cast<TRel*>(e->eval(nullptr, -1)));
  std::unique_ptr<TRel> b(static_cast<TRel*>(e->eval(nullptr, -1)));
  EXPECT_NE(a, b);
  // Each holds its own copy of the list value.
  const int id = ValType::get_id("te-l");
  EXPECT_NE(a->get_val(id), b->get_val(id));
}

TEST_F(TRelTest, EntryExpressionsAreEvaluatedOnTheInput) {
  // (ident) gives the input itself: the value is the input string.
  char text[] = "from-input";
  EXPECT_EQ(made("(make-rel r (te-s (ident)))", text, arg_type_id("char*")), "(r (te-s from-input))");
}

TEST_F(TRelTest, CopiesOfAnExpressionAreIndependent) {
  std::unique_ptr<LExp> original =
      LExp::get_exp("(make-rel r (te-l p) (te-s (str v) (int 125)))");
  ASSERT_NE(original, nullptr);
  std::unique_ptr<LExp> copy = original->duplicate();
  original.reset();  // the copy must not use what the original owned
  std::unique_ptr<TRel> rel(static_cast<TRel*>(copy->eval(nullptr, -1)));
  EXPECT_EQ(print(*rel), "(r (te-s v 0.125) (te-l \"(p)\"))");
}

TEST_F(TRelTest, ProblemsInMakeRelAreReported) {
  struct Case {
    const char* text;
    const char* message;
    const char* printed;
  };
  const std::vector<Case> cases = {
      {"(make-rel)", "make-rel: the relation has no name\n", "<null>"},
      {"(make-rel r (te-u x) (te-i 1))", "No value type is defined for the attribute te-u\n",
       "(r (te-i 1))"},
      {"(make-rel r (te-never-defined x))",
       "No value type is defined for the attribute te-never-defined\n", "(r)"},
      // a list VALUE is an expression, even for a list property
      {"(make-rel r (te-l (a b)))", "LExp::get_exp:  unknown type: 'a'\n", "(r (te-l \"()\"))"},
      {"(make-rel r (te-s (no-such-kind)))", "LExp::get_exp:  unknown type: 'no-such-kind'\n",
       "(r (te-s \"\\\"\\\"\"))"},
  };
  for (const Case& c : cases) {
    CaptureStderr();
    const std::string printed = made(c.text);
    EXPECT_EQ(GetCapturedStderr(), c.message) << c.text;
    EXPECT_EQ(printed, c.printed) << c.text;
  }
}

TEST_F(TRelTest, AddPropValsAddsToTheListItsExpressionYields) {
  TRel rel("r", 0, 0);
  std::unique_ptr<LExp> e = LExp::get_exp("(add-propvals (ident) (te-s A 0.5) (te-i 2))");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->eval(&rel, -1), &rel);
  EXPECT_EQ(print(rel), "(r (te-s A 0.5) (te-i 2))");
  // A plain property list serves as well.
  PropList list;
  EXPECT_EQ(e->eval(static_cast<PropList*>(&list), -1), &list);
  EXPECT_EQ(list.length(), 2);
}

TEST_F(TRelTest, AddPropValsOnARecordMadeByMakeRel) {
  std::unique_ptr<LExp> e = LExp::get_exp("(add-propvals (make-rel r (te-s A)) (te-s B))");
  ASSERT_NE(e, nullptr);
  int input = 0;  // any non-null input
  std::unique_ptr<TRel> rel(static_cast<TRel*>(e->eval(&input, -1)));
  ASSERT_NE(rel, nullptr);
  EXPECT_EQ(print(*rel), "(r (te-s B) (te-s A))");
}

TEST_F(TRelTest, AddPropValsGivesNullForANullInputOrList) {
  std::unique_ptr<LExp> on_input = LExp::get_exp("(add-propvals (ident) (te-s A))");
  std::unique_ptr<LExp> no_list = LExp::get_exp("(add-propvals (nil) (te-s A))");
  ASSERT_NE(on_input, nullptr);
  ASSERT_NE(no_list, nullptr);
  EXPECT_EQ(on_input->eval(nullptr, -1), nullptr);
  int input = 0;
  EXPECT_EQ(no_list->eval(&input, -1), nullptr);
}

TEST_F(TRelTest, DefineAttributeUsesThePrototypeItself) {
  EXPECT_EQ(stderr_of("(define-attribute te-defined IntValue)"), "");
  ValType* type = ValType::val_type(ValType::get_existing_id("te-defined"));
  EXPECT_EQ(type, ObjFactory::the_factory.get_proto("ValType", "IntValue"));
  EXPECT_EQ(ValType::type_id(ValType::get_existing_id("te-defined")), arg_type_id("int"));
  // The same again changes nothing and says nothing.
  EXPECT_EQ(stderr_of("(define-attribute TE-DEFINED intvalue)"), "");
  EXPECT_EQ(ValType::val_type(ValType::get_existing_id("te-defined")), type);
}

TEST_F(TRelTest, DefineAttributeProblemsGetOneMessage) {
  struct Case {
    const char* command;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"(define-attribute te-bad NoSuchType)",
       "No prototype for NoSuchType exists in the Object Factory\n"},
      {"(define-attribute te-bad)", "No prototype for  exists in the Object Factory\n"},
      {"(define-attribute)", "No prototype for  exists in the Object Factory\n"},
      {"(define-attribute te-s IntValue)",
       "The attribute te-s already holds values of the type char*, not int\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(stderr_of(c.command), c.message) << c.command;
  EXPECT_EQ(ValType::val_type(ValType::get_existing_id("te-bad")), nullptr);
  EXPECT_STREQ(ValType::val_type(ValType::get_id("te-s"))->pointer_type(), "char*");
}

TEST_F(TRelTest, TrelInitRegistersKindsCommandAndValueTypes) {
  trel_init();  // a second call changes nothing
  for (const char* kind : {"make-rel", "add-propvals"}) {
    LExp* proto = LExp::get_exp_proto(kind);
    ASSERT_NE(proto, nullptr) << kind;
    EXPECT_EQ(proto->input_type(), -1) << kind;
    EXPECT_EQ(proto->output_type(), arg_type_id("TRel*")) << kind;
    EXPECT_STREQ(proto->doc(), "No documentation provided") << kind;
  }
  EXPECT_EQ(CmdInterpreter::the_interpreter->val("define-attribute"), &define_attribute);
  std::ostringstream help;
  CmdInterpreter::the_interpreter->list_entries(help, "define-attribute");
  EXPECT_EQ(help.str(), "define-attribute\n(define-attribute name-of-attribute type-of-val)\n\n");
  struct Proto {
    const char* name;
    const char* pointer_type;
  };
  for (const Proto& p : {Proto{"IntValue", "int"}, Proto{"StrValue", "char*"},
                         Proto{"StrListValue", "TSlist<const char*>*"}}) {
    auto* type = static_cast<ValType*>(ObjFactory::the_factory.get_proto("ValType", p.name));
    ASSERT_NE(type, nullptr) << p.name;
    EXPECT_STREQ(type->pointer_type(), p.pointer_type) << p.name;
  }
}

}  // namespace
}  // namespace lorvan
