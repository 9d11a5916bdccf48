// Attribute predicates: definedness, unification and subsumption tests
// against constant vectors, value extraction, vector, set and index
// constants, two-operand unification, type checks and argument errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "features/attpred_fixture.h"
#include "features/vecatt.h"
#include "lbitset.h"

namespace lorvan::attpredtest {
namespace {

using ::testing::HasSubstr;

// ------------------------------------------------------------- filters

struct FilterCase {
  const char* input;  // vector text
  const char* exp;
  bool passes;        // the input comes back; otherwise null
};

class FilterTest : public AttPredTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterTest, GivesTheInputOrNullAndLeavesTheInputAlone) {
  const FilterCase& c = GetParam();
  auto v = vec(c.input);
  const std::string before = show(*v);
  EXPECT_EQ(eval(c.exp, v.get()), c.passes ? v.get() : nullptr);
  EXPECT_EQ(show(*v), before);
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Predicates, FilterTest,
    ::testing::Values(
        FilterCase{"(+plu (num sg))", "(defined (num per))", false},
        FilterCase{"(+plu (num sg))", "(defined-one-of (num per))", true},
        FilterCase{"(+plu (num sg))", "(defined (plu num))", true},
        FilterCase{"(-plu)", "(defined pt (+plu))", true},  // a sign is ignored
        FilterCase{"()", "(defined ())", true},
        FilterCase{"(+plu)", "(defined-one-of ())", false},
        FilterCase{"((num sg pl))", "(strict-unifiable (num per) ((num sg)))", true},
        FilterCase{"((num pl))", "(strict-unifiable (num per) ((num sg)))", false},
        // Unifiable, but none of the listed attributes is defined.
        FilterCase{"(+plu)", "(strict-unifiable (num per) ((num sg)))", false},
        FilterCase{"((num sg pl))", "(unifiable ((num sg)))", true},
        FilterCase{"((num pl))", "(unifiable ((num sg)))", false},
        FilterCase{"()", "(unifiable pt (+plu (num sg) (per 3)))", true},
        FilterCase{"(+plu)", "(unifiable (-plu))", false},
        FilterCase{"((per 3))", "(unifiable ((per 4)))", false},
        FilterCase{"((n 3))", "(unifiable ((n 5)))", true},  // small integers never clash
        // contain: the constant must be at most as specific, attribute by
        // attribute, and never more specific on one and less on another.
        FilterCase{"((num sg))", "(contain ((num sg pl)))", true},
        FilterCase{"((num sg pl))", "(contain ((num sg)))", false},
        FilterCase{"((num sg))", "(contain ((num sg)))", true},
        FilterCase{"((num pl))", "(contain ((num sg)))", false},
        FilterCase{"()", "(contain ((num sg)))", false},
        FilterCase{"(+plu (per 3))", "(contain (+plu))", true},
        FilterCase{"(-plu (per 3))", "(contain (+plu))", false},
        FilterCase{"((num sg) (per 3))", "(contain ((num sg pl) (per 3)))", true},
        FilterCase{"((num sg) (per 3))", "(contain ((num sg pl) (per 4)))", false},
        FilterCase{"((num sg pl) (per 3))", "(contain ((num sg) (per 3)))", false},
        FilterCase{"((word Foo))", "(contain ((word foo)))", true},
        FilterCase{"((word bar))", "(contain ((word foo)))", false},
        FilterCase{"((agr (+plu (per 3))))", "(contain ((agr (+plu))))", true},
        FilterCase{"((agr (+plu)))", "(contain ((agr (+plu (per 3)))))", false},
        FilterCase{"(3sg)", "(contain (3sg))", true}));

TEST_F(AttPredTest, UnifyNarrowsTheInputOrFailsWithEarlierChangesKept) {
  auto v = vec("((num sg pl) +plu)");
  EXPECT_EQ(eval("(unify ((num sg)))", v.get()), v.get());
  EXPECT_EQ(show(*v), "(+plu (num sg))");

  auto w = vec("(+plu)");
  EXPECT_EQ(eval("(unify (-plu))", w.get()), nullptr);
  EXPECT_EQ(show(*w), "(+plu)");

  // num (index 1) is narrowed before per (index 2) fails.
  auto x = vec("((num sg pl) (per 3))");
  EXPECT_EQ(eval("(unify ((num sg) (per 4)))", x.get()), nullptr);
  EXPECT_EQ(show(*x), "((num sg) (per 3))");
  EXPECT_EQ(err(), "");
}

struct EffectCase {
  const char* input;
  const char* exp;
  const char* after;
};

class EffectTest : public AttPredTest, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(EffectTest, ChangesTheInputAndReturnsIt) {
  const EffectCase& c = GetParam();
  auto v = vec(c.input);
  EXPECT_EQ(eval(c.exp, v.get()), v.get());
  EXPECT_EQ(show(*v), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Predicates, EffectTest,
    ::testing::Values(
        EffectCase{"(+plu (per 3))", "(modify ((per 4) -plu))", "(-plu (per 4))"},
        EffectCase{"((num sg))", "(modify ((num pl) (word x)))", "((num pl) (word \"x\"))"},
        EffectCase{"(+plu (num sg) (per 3))", "(undefine (plu per))", "((num sg))"},
        EffectCase{"((num sg))", "(undefine (per))", "((num sg))"},
        EffectCase{"((agr (+plu)) (per 1))", "(undefine pt (agr))", "((per 1))"}));

TEST_F(AttPredTest, ModifyingASharedNestedValueLeavesTheOtherHolderAlone) {
  auto a = vec("((agr (+plu (per 3))))");
  AttVec b(*a);  // shares the nested vector
  EXPECT_EQ(eval("(modify ((agr ((per 1)))))", &b), &b);
  EXPECT_EQ(show(b), "((agr (+plu (per 1))))");
  EXPECT_EQ(show(*a), "((agr (+plu (per 3))))");
}

// -------------------------------------------------------------- values

TEST_F(AttPredTest, ValueGivesTheValueWordOrZero) {
  auto v = vec("((per 3) (num pl))");
  EXPECT_EQ(value_to_int(eval("(value per)", v.get())), 3);
  EXPECT_EQ(value_to_int(eval("(value num)", v.get())), 2);  // the mask of pl
  EXPECT_EQ(eval("(value n)", v.get()), nullptr);
  EXPECT_EQ(compile("(value per)")->output_type(), arg_type_id("AttVal"));
  EXPECT_EQ(compile("(value per int pt)")->output_type(), arg_type_id("int"));
}

TEST_F(AttPredTest, ValueHandsTheValueToItsExpressionWithTheValueType) {
  auto v = vec("((agr (+plu (per 3))))");
  auto* nested = reinterpret_cast<AttVec*>(v->get_val(index_of("agr")));
  EXPECT_EQ(eval("(value agr AttVec* (defined agrt (per)))", v.get()), nested);
  auto w = vec("((agr (+plu)))");
  EXPECT_EQ(eval("(value agr AttVec* pt (defined agrt (per)))", w.get()), nullptr);
  EXPECT_EQ(err(), "");
  // Without a value type the value is a raw word, which a vector
  // predicate refuses.
  EXPECT_EQ(eval("(value agr (defined agrt (per)))", v.get()), nullptr);
  EXPECT_THAT(err(), HasSubstr("defined received a wrong type of argument:'AttVal'"));
}

TEST_F(AttPredTest, AttStrValGivesTheTextOfTheValue) {
  auto v = vec("((num sg pl) (word Foo) (per 7) +plu)");
  auto text = [&](const char* exp) {
    void* s = eval(exp, v.get());
    return s != nullptr ? std::string(static_cast<const char*>(s)) : "(null)";
  };
  EXPECT_EQ(text("(att-str-val num)"), "sg pl");
  EXPECT_EQ(text("(att-str-val per pt)"), "7");
  EXPECT_EQ(text("(att-str-val plu)"), "+");
  EXPECT_EQ(text("(att-str-val n)"), "(null)");
  EXPECT_EQ(compile("(att-str-val num)")->output_type(), arg_type_id("char*"));
}

TEST_F(AttPredTest, Attvec2StrPrintsWithAliases) {
  auto v = vec("(+plu (num sg) (per 3))");
  EXPECT_STREQ(static_cast<const char*>(eval("(attvec2str ignored (args))", v.get())),
               "(3sg +plu)");
  EXPECT_EQ(compile("(attvec2str)")->output_type(), arg_type_id("char*"));
}

TEST_F(AttPredTest, UnknownValueAttributesAreReportedAndGiveNull) {
  auto v = vec("((per 3))");
  EXPECT_EQ(eval("(value nosuch)", v.get()), nullptr);
  EXPECT_EQ(err(), "AttValPred::init: the attribute name 'nosuch' is not found\n");
  EXPECT_EQ(eval("(att-str-val nosuch)", v.get()), nullptr);
  EXPECT_EQ(err(), "AttStrVal::init: the attribute name 'nosuch' is not found\n");
}

// ------------------------------------------------------------ constants

TEST_F(AttPredTest, AttvecIsAConstantVectorOfItsType) {
  LExp* e = compile("(attvec agrt (+plu (per 2)))");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->output_type(), attvec_type());
  auto* v = static_cast<AttVec*>(e->eval(nullptr, -1));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->interpreter_list(), AttInterpreterList::get_att_list("agrt"));
  EXPECT_EQ(show(*v), "(+plu (per 2))");
  EXPECT_EQ(e->eval(v, attvec_type()), v);  // whatever the input

  auto* empty = static_cast<AttVec*>(eval("(attvec ())", nullptr));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->interpreter_list(), pt_);
  EXPECT_EQ(show(*empty), "()");
}

TEST_F(AttPredTest, CopiesOfAttvecHaveTheirOwnVector) {
  LExp* e = compile("(attvec ((num sg pl)))");
  std::unique_ptr<LExp> copy = LExp::make_copy(e);
  auto* mine = static_cast<AttVec*>(copy->eval(nullptr, -1));
  auto* theirs = static_cast<AttVec*>(e->eval(nullptr, -1));
  ASSERT_NE(mine, theirs);
  auto narrow = vec("((num sg))");
  mine->unify(*narrow);
  EXPECT_EQ(show(*mine), "((num sg))");
  EXPECT_EQ(show(*theirs), "((num sg pl))");
}

TEST_F(AttPredTest, AHolderSharingTheConstantVectorNeverFreesIt) {
  LExp* e = compile("(attvec ((per 1)))");
  auto* v = static_cast<AttVec*>(e->eval(nullptr, -1));
  EXPECT_EQ(v->ref_cnt(), 1);  // the expression's own hold
  hold_attvec(v);
  EXPECT_TRUE(v->shared());  // so holders copy before they change it
  release_attvec(v);
  EXPECT_EQ(show(*v), "((per 1))");
}

TEST_F(AttPredTest, AttSetListsTheAttributesOrAllTheOthers) {
  auto set = [&](const char* exp) { return static_cast<const LBitSet*>(eval(exp, nullptr)); };
  const LBitSet* s = set("(att-set (plu per bogus))");
  EXPECT_EQ(err(), "The attribute bogus is not found\n");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->count(), 2);
  EXPECT_TRUE(s->test(0));
  EXPECT_TRUE(s->test(2));

  for (const char* exp : {"(att-set not (plu per))", "(att-set pt not (plu per))",
                          "(att-set pt NOT (+plu per))"}) {
    SCOPED_TRACE(exp);
    const LBitSet* n = set(exp);
    ASSERT_NE(n, nullptr);
    EXPECT_FALSE(n->test(0));
    EXPECT_FALSE(n->test(2));
    EXPECT_TRUE(n->test(1));
    EXPECT_TRUE(n->test(1000));  // infinite
  }
  EXPECT_EQ(set("(att-set)"), nullptr);
  const LBitSet* agr = set("(att-set agrt (per))");
  ASSERT_NE(agr, nullptr);
  EXPECT_EQ(agr->singleton(), 1);
  EXPECT_EQ(compile("(att-set (plu))")->output_type(), arg_type_id("LBitSet*"));
  EXPECT_EQ(err(), "");
}

TEST_F(AttPredTest, AttIndexLooksTheAttributeUpOnce) {
  EXPECT_EQ(value_to_int(eval("(att-index pt per)", nullptr)), 2);
  EXPECT_EQ(value_to_int(eval("(att-index agrt per)", nullptr)), 1);
  EXPECT_EQ(compile("(att-index pt per)")->output_type(), arg_type_id("int"));
  EXPECT_EQ(err(), "");
  EXPECT_EQ(value_to_int(eval("(att-index pt nosuch)", nullptr)), -1);
  EXPECT_EQ(err(),
            "AttInterpreterList::get_att(\"pt\", \"nosuch\"): \n\"nosuch\" is not an attribute\n");
  EXPECT_EQ(value_to_int(eval("(att-index nosuch per)", nullptr)), -1);
  EXPECT_THAT(err(), HasSubstr("\"nosuch\" is not a type of attribute value vector\n"));
}

// -------------------------------------------------- two-operand unification

struct Unify2Case {
  const char* input;
  const char* exp;
  long result;        // unify2: 1 when the input comes back; unifiable2: its value
  const char* after;  // the input afterwards
};

class Unify2Test : public AttPredTest, public ::testing::WithParamInterface<Unify2Case> {};

TEST_P(Unify2Test, UnifiesTheSecondVectorIntoTheFirst) {
  const Unify2Case& c = GetParam();
  auto v = vec(c.input);
  void* r = eval(c.exp, v.get());
  if (std::string(c.exp).starts_with("(unify2")) {
    EXPECT_EQ(r, c.result != 0 ? v.get() : nullptr);
  } else {
    EXPECT_EQ(value_to_int(r), c.result);
  }
  EXPECT_EQ(show(*v), c.after);
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Operands, Unify2Test,
    ::testing::Values(
        Unify2Case{"(+plu)", "(unify2 (ident) (attvec ((num sg))))", 1, "(+plu (num sg))"},
        Unify2Case{"(+plu)", "(unify2 pt (ident) (attvec ((num sg) (per 3))) (per))", 1,
                   "(+plu (per 3))"},
        // A failed unification still gives the first vector.
        Unify2Case{"(+plu (per 1))", "(unify2 (ident) (attvec ((per 2))))", 1,
                   "(+plu (per 1))"},
        Unify2Case{"(+plu)", "(unify2 (ident) (nil))", 1, "(+plu)"},
        Unify2Case{"(+plu)", "(unify2 (nil) (ident))", 0, "(+plu)"},
        Unify2Case{"(+plu)", "(unifiable2 (ident) (attvec (-plu)))", 0, "(+plu)"},
        Unify2Case{"(+plu)", "(unifiable2 (ident) (attvec ((num sg))))", 1, "(+plu)"},
        Unify2Case{"(+plu)", "(unifiable2 (ident) (attvec (-plu (num sg))) (num))", 1,
                   "(+plu)"},
        Unify2Case{"(+plu)", "(unifiable2 (ident) (nil))", 1, "(+plu)"},
        Unify2Case{"(+plu)", "(unifiable2 (nil) (ident))", 1, "(+plu)"}));

TEST_F(AttPredTest, Unify2TakesAnyInput) {
  // The operands ignore the input, so any input type is accepted.
  LExp* e = compile("(unify2 (attvec ((per 1))) (attvec (+plu)))");
  auto* a = static_cast<AttVec*>(e->eval(const_cast<char*>("text"), arg_type_id("char*")));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(show(*a), "(+plu (per 1))");
  EXPECT_EQ(e->output_type(), attvec_type());
  EXPECT_EQ(compile("(unifiable2 (ident) (ident))")->output_type(), arg_type_id("int"));
  EXPECT_EQ(err(), "");
}

TEST_F(AttPredTest, OperandsThatCannotGiveVectorsAreRefused) {
  auto v = vec("(+plu)");
  EXPECT_EQ(value_to_int(eval("(unifiable2 (ident) (int 5))", v.get())), 1);
  EXPECT_EQ(err(), "unifiable2: operand 2 gives 'int', not 'AttVec*'\n");
  EXPECT_EQ(eval("(unify2 (str \"x\") (ident))", v.get()), nullptr);
  EXPECT_EQ(err(), "unify2: operand 1 gives 'char*', not 'AttVec*'\n");
}

// --------------------------------------------------------- type checks

// Every kind with a vector input refuses an input of another type and
// gives null for a null input.
class InputCheckTest : public AttPredTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(InputCheckTest, RefusesOtherInputTypesAndNullInputs) {
  const char* exp = GetParam();
  LExp* e = compile(exp);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->input_type(), attvec_type());
  EXPECT_EQ(err(), "");
  auto v = vec("(+plu (num sg) (args ((per 1))))");
  EXPECT_EQ(e->eval(v.get(), arg_type_id("char*")), nullptr);
  const std::string name = e->type_name();
  EXPECT_EQ(err(), name + " received a wrong type of argument:'char*' (" +
                       std::to_string(arg_type_id("char*")) + ")\n" +
                       "The expected type of argument is:'AttVec*' (" +
                       std::to_string(attvec_type()) + ")\n");
  EXPECT_EQ(e->eval(nullptr, attvec_type()), nullptr);
  EXPECT_EQ(e->eval(nullptr, -1), nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(show(*v), "(+plu (num sg) (args ((per 1))))");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, InputCheckTest,
    ::testing::Values("(defined (plu))", "(defined-one-of (plu))", "(undefine (plu))",
                      "(strict-unifiable (plu) (+plu))", "(unifiable (+plu))",
                      "(unify ((per 1)))", "(modify ((per 1)))", "(contain (+plu))",
                      "(value num)", "(att-str-val num)", "(attvec2str)",
                      "(delete-from-avlist args)", "(move-att args done)",
                      "(insert-into-avlist args (attvec agrt (+plu)))",
                      "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))"));

TEST_F(AttPredTest, AnUntypedInputIsTakenAsAVector) {
  auto v = vec("(+plu)");
  EXPECT_EQ(compile("(defined (plu))")->eval(v.get(), -1), v.get());
  EXPECT_EQ(err(), "");
}

// ------------------------------------------------------- argument errors

TEST_F(AttPredTest, UnknownAttributesAreReportedAndLeftOut) {
  auto v = vec("(+plu)");
  EXPECT_EQ(eval("(defined (plu bogus))", v.get()), v.get());
  EXPECT_EQ(err(), "The attribute bogus is not found\n");
  EXPECT_EQ(eval("(defined-one-of (bogus))", v.get()), nullptr);
  EXPECT_EQ(err(), "The attribute bogus is not found\n");
  EXPECT_EQ(eval("(unify ((bogus 1) (per 2)))", v.get()), v.get());
  EXPECT_EQ(err(), "Unknown attribute bogus\n");
  EXPECT_EQ(show(*v), "(+plu (per 2))");
}

TEST_F(AttPredTest, AnUnknownTypeIsReportedAndTheKindGivesNull) {
  auto v = vec("(+plu)");
  for (const char* exp : {"(defined nosuch (plu))", "(unifiable nosuch (+plu))",
                          "(contain nosuch (+plu))", "(strict-unifiable nosuch (plu) (+plu))"}) {
    SCOPED_TRACE(exp);
    EXPECT_EQ(eval(exp, v.get()), nullptr);
    const std::string kind = std::string(exp).substr(1, std::string(exp).find(' ') - 1);
    EXPECT_EQ(err(), kind + ": \"nosuch\" is not a type of attribute value vector\n");
  }
  EXPECT_EQ(eval("(attvec nosuch (+plu))", nullptr), nullptr);
  EXPECT_EQ(err(), "attvec: \"nosuch\" is not a type of attribute value vector\n");
  EXPECT_EQ(eval("(value plu int nosuch)", v.get()), nullptr);
  EXPECT_EQ(err(), "value: \"nosuch\" is not a type of attribute value vector\n");
}

TEST_F(AttPredTest, AnIndexBeyondTheInputsTypeCountsAsUndefined) {
  // per is attribute 2 of pt; agrt has only two attributes.
  auto small = vec("(+plu (per 4))", "agrt");
  EXPECT_EQ(eval("(defined (per))", small.get()), nullptr);
  EXPECT_EQ(eval("(value word)", small.get()), nullptr);
  EXPECT_EQ(eval("(att-str-val word)", small.get()), nullptr);
  EXPECT_EQ(eval("(undefine (word))", small.get()), small.get());
  EXPECT_EQ(show(*small), "(+plu (per 4))");
  EXPECT_EQ(err(), "");
}

TEST_F(AttPredTest, ContainRefusesAVectorOfAnotherType) {
  auto other = vec("(+plu)", "agrt");
  EXPECT_EQ(eval("(contain (+plu))", other.get()), nullptr);
  EXPECT_EQ(err(), "contain: the vectors have different types (agrt, pt)\n");
}

}  // namespace
}  // namespace lorvan::attpredtest
