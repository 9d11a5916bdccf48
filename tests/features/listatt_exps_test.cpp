// The list-attribute expressions: deleting, moving, inserting and rotating
// elements of ListAtt and StackAtt values, the :interpreter keyword,
// copy-on-write of shared lists, element holds, and refused arguments and
// inputs.
#include "features/listatt_exps.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "features/attpred_fixture.h"
#include "features/avlist.h"

namespace lorvan::attpredtest {
namespace {

const AVList* list_of(const AttVec& v, int i) {
  return reinterpret_cast<const AVList*>(v.get_val(i));
}

bool holds(const AVList& list, const AttVec* e) {
  for (const AttVec* x : list.list()) {
    if (x == e) return true;
  }
  return false;
}

struct ListCase {
  const char* input;
  const char* exp;
  bool gives_input;   // otherwise null
  const char* after;  // the input afterwards, printed without aliases
};

class ListOpTest : public AttPredTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListOpTest, ChangesTheListAndReturnsTheInput) {
  const ListCase& c = GetParam();
  auto v = vec(c.input);
  EXPECT_EQ(eval(c.exp, v.get()), c.gives_input ? v.get() : nullptr);
  EXPECT_EQ(show(*v), c.after);
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Delete, ListOpTest,
    ::testing::Values(
        ListCase{"((args ((per 1)) ((per 2))))", "(delete-from-avlist args)", true,
                 "((args ((per 2))))"},
        ListCase{"((stk ((per 1)) ((per 2))) (per 5))", "(delete-from-avlist stk)", true,
                 "((per 5) (stk ((per 2))))"},
        ListCase{"((per 5))", "(delete-from-avlist args)", false, "((per 5))"},
        // A list written ~args is defined and empty: nothing to remove.
        ListCase{"(~args)", "(delete-from-avlist args)", true, "(~args)"},
        ListCase{"((args ((per 1))))", "(delete-from-avlist :interpreter pt args)", true,
                 "()"}));

INSTANTIATE_TEST_SUITE_P(
    Move, ListOpTest,
    ::testing::Values(
        ListCase{"((args ((per 1)) ((per 2))))", "(move-att args done)", true,
                 "((args ((per 2))) (done ((per 1))))"},
        ListCase{"((args ((per 1))) (done ((per 9))))", "(move-att args :interpreter pt done)",
                 true, "((done ((per 9)) ((per 1))))"},
        ListCase{"((done ((per 9))))", "(move-att args done)", false, "((done ((per 9))))"},
        ListCase{"(~args (done ((per 9))))", "(move-att args done)", true,
                 "(~args (done ((per 9))))"},
        // Moving within one list rotates it.
        ListCase{"((args ((per 1)) ((per 2))))", "(move-att args args)", true,
                 "((args ((per 2)) ((per 1))))"},
        ListCase{"((args ((per 1))))", "(move-att args args)", true, "((args ((per 1))))"},
        ListCase{"((args ((per 1))) (stk ((per 2))))", "(move-att args stk)", true,
                 "((stk ((per 2)) ((per 1))))"}));

INSTANTIATE_TEST_SUITE_P(
    Insert, ListOpTest,
    ::testing::Values(
        ListCase{"((args ((per 1))))", "(insert-into-avlist args (attvec agrt (+plu)))", true,
                 "((args (+plu) ((per 1))))"},
        ListCase{"(~args)", "(insert-into-avlist args (attvec agrt (+plu)))", true,
                 "((args (+plu)))"},
        ListCase{"((per 1))", "(insert-into-avlist args (attvec agrt (+plu)))", false,
                 "((per 1))"},
        ListCase{"((args ((per 1))))", "(insert-into-avlist args (nil))", false,
                 "((args ((per 1))))"},
        ListCase{"((args ((per 1))))", "(insert-into-avlist args)", false,
                 "((args ((per 1))))"},
        // The inserted vector is taken from the input itself.
        ListCase{"((agr ((per 4))) (args ((per 1))))",
                 "(insert-into-avlist args (value agr AttVec*))", true,
                 "((agr ((per 4))) (args ((per 4)) ((per 1))))"},
        // A copy of the input itself: it keeps the old list, the input gets
        // a new one, so no list ends up holding itself.
        ListCase{"((args ((per 1))))", "(insert-into-avlist args (ident))", true,
                 "((args ((args ((per 1)))) ((per 1))))"}));

INSTANTIATE_TEST_SUITE_P(
    Rotate, ListOpTest,
    ::testing::Values(
        ListCase{"((args ((per 1)) ((per 2))))",
                 "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))", true,
                 "((args (+plu) ((per 2)) ((per 1))))"},
        ListCase{"((args ((per 1))))",
                 "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))", true,
                 "((args (+plu) ((per 1))))"},
        ListCase{"(~args)", "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))", true,
                 "((args (+plu)))"},
        ListCase{"()", "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))", false,
                 "()"},
        ListCase{"((args ((per 1))))", "(rotate-and-insert-into-avlist args (nil))", false,
                 "((args ((per 1))))"}));

TEST_F(AttPredTest, DeletingTheLastElementKeepsTheAttributeDefined) {
  auto v = vec("((args ((per 1))))");
  EXPECT_EQ(eval("(delete-from-avlist args)", v.get()), v.get());
  EXPECT_TRUE(v->defined(index_of("args")));
  EXPECT_TRUE(list_of(*v, index_of("args"))->empty());
}

TEST_F(AttPredTest, MovingTheLastElementUndefinesTheSource) {
  auto v = vec("((args ((per 1))))");
  EXPECT_EQ(eval("(move-att args done)", v.get()), v.get());
  EXPECT_FALSE(v->defined(index_of("args")));
  const AVList* done = list_of(*v, index_of("done"));
  ASSERT_EQ(done->length(), 1);
  EXPECT_EQ((*done)[0]->ref_cnt(), 1);
}

// Each operation on a vector whose lists other vectors hold too changes
// only that vector's lists.
class SharedListTest : public AttPredTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SharedListTest, OtherHoldersKeepTheirLists) {
  auto a = vec("((args ((per 1)) ((per 2))) (done ((per 9))))");
  AttVec b(*a);
  ASSERT_EQ(list_of(b, index_of("args")), list_of(*a, index_of("args")));
  const std::string before = show(*a);
  EXPECT_EQ(eval(GetParam(), &b), &b);
  EXPECT_NE(show(b), before);
  EXPECT_EQ(show(*a), before);
  // The elements b keeps are a's, shared.
  EXPECT_TRUE(holds(*list_of(b, index_of("args")), (*list_of(*a, index_of("args")))[1]));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SharedListTest,
    ::testing::Values("(delete-from-avlist args)", "(move-att args done)",
                      "(insert-into-avlist args (attvec agrt (+plu)))",
                      "(rotate-and-insert-into-avlist args (attvec agrt (+plu)))"));

TEST_F(AttPredTest, AMovedElementKeepsItsHolds) {
  auto a = vec("((args ((per 1)) ((per 2))))");
  AttVec b(*a);
  AttVec* moved = (*list_of(*a, index_of("args")))[0];
  EXPECT_EQ(moved->ref_cnt(), 1);
  EXPECT_EQ(eval("(move-att args done)", &b), &b);
  // a's list and b's done list hold it now.
  EXPECT_EQ(moved->ref_cnt(), 2);
  EXPECT_EQ((*list_of(b, index_of("done")))[0], moved);
}

TEST_F(AttPredTest, InsertedVectorsAreFreshCopiesHeldByTheListAlone) {
  LExp* e = compile("(insert-into-avlist args (attvec agrt (+plu)))");
  auto a = vec("(~args)");
  auto b = vec("(~args)");
  e->eval(a.get(), attvec_type());
  e->eval(b.get(), attvec_type());
  AttVec* in_a = (*list_of(*a, index_of("args")))[0];
  AttVec* in_b = (*list_of(*b, index_of("args")))[0];
  ASSERT_NE(in_a, in_b);
  EXPECT_EQ(in_a->ref_cnt(), 1);
  in_a->set_val(1, 3);  // per
  EXPECT_EQ(show(*a), "((args (+plu (per 3))))");
  EXPECT_EQ(show(*b), "((args (+plu)))");
  // The constant itself is untouched.
  e->eval(b.get(), attvec_type());
  EXPECT_EQ(show(*b), "((args (+plu) (+plu)))");
}

// ----------------------------------------------------- refused arguments

struct RefusedCase {
  const char* exp;
  const char* message;
};

class RefusedTest : public AttPredTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedTest, IsReportedWhenCompiledAndYieldsNull) {
  const RefusedCase& c = GetParam();
  LExp* e = compile(c.exp);
  EXPECT_EQ(err(), c.message);
  ASSERT_NE(e, nullptr);
  auto v = vec("((args ((per 1))) (done ((per 2))) (per 3))");
  EXPECT_EQ(e->eval(v.get(), attvec_type()), nullptr);
  EXPECT_EQ(show(*v), "((per 3) (args ((per 1))) (done ((per 2))))");
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RefusedTest,
    ::testing::Values(
        RefusedCase{"(delete-from-avlist per)",
                    "delete-from-avlist: the attribute per is not a list attribute\n"},
        RefusedCase{"(delete-from-avlist nosuch)", "The attribute nosuch is not found\n"},
        RefusedCase{"(delete-from-avlist)", "The attribute () is not found\n"},
        RefusedCase{"(move-att args agr)", "move-att: the attribute agr is not a list attribute\n"},
        RefusedCase{"(move-att args :interpreter nosuch done)",
                    "move-att: \"nosuch\" is not a type of attribute value vector\n"},
        RefusedCase{"(insert-into-avlist args (str \"x\"))",
                    "insert-into-avlist: operand 2 gives 'char*', not 'AttVec*'\n"},
        RefusedCase{"(rotate-and-insert-into-avlist word (attvec agrt (+plu)))",
                    "rotate-and-insert-into-avlist: the attribute word is not a list attribute\n"},
        RefusedCase{"(delete-from-avlist :interpreter agrt args)",
                    "The attribute args is not found\n"}));

TEST_F(AttPredTest, AnInputWhoseAttributeIsNoListIsRefused) {
  // args is attribute 6 of pt: an IntAtt in wide, beyond agrt.
  auto wide = vec("((a6 12))", "wide");
  EXPECT_EQ(eval("(delete-from-avlist args)", wide.get()), nullptr);
  EXPECT_EQ(err(), "delete-from-avlist: attribute 6 of the input is not a list attribute\n");
  EXPECT_EQ(show(*wide), "((a6 12))");
  auto small = vec("(+plu)", "agrt");
  EXPECT_EQ(eval("(move-att args done)", small.get()), nullptr);
  EXPECT_EQ(err(), "move-att: attribute 6 of the input is not a list attribute\n");
}

TEST_F(AttPredTest, ListExpressionsAreRegisteredWithTheirHelp) {
  for (const char* name : {"delete-from-avlist", "move-att", "insert-into-avlist",
                           "rotate-and-insert-into-avlist"}) {
    SCOPED_TRACE(name);
    LExp* proto = LExp::get_exp_proto(name);
    ASSERT_NE(proto, nullptr);
    EXPECT_STREQ(proto->type_name(), name);
  }
  listatt_init();  // a second run registers nothing twice
  EXPECT_EQ(err(), "");
}

}  // namespace
}  // namespace lorvan::attpredtest
