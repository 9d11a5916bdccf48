// The counters and conditions of an evaluation run.
#include "deptree/dep_cmp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "deptree/deps.h"
#include "deptree/deps_test_fixture.h"
#include "expr/lexp_init.h"
#include "expr/marg_exp.h"

namespace lorvan::testing_deps {
namespace {

// (dc-conj): the node when its relation is "conj", else null.
void* conj_node(void* input) {
  const DepTree* node = DepTree::cast(input);
  return node->rel() != nullptr && std::strcmp(node->rel(), "conj") == 0 ? input : nullptr;
}

class DepCmpTest : public DepsTest {
 protected:
  static void SetUpTestSuite() {
    DepsTest::SetUpTestSuite();
    lexp_init();
    if (LExp::get_exp_proto("dc-conj") == nullptr) {
      LExp::exp_proto(std::make_unique<ZeroArgExp>("dc-conj", conj_node, "RSTree*", "RSTree*"),
                      nullptr, nullptr);
    }
  }
};

TEST_F(DepCmpTest, CountersAddUpAndClearToZero) {
  DepCmp run(nullptr, nullptr, nullptr);
  EXPECT_EQ(run.counts().kc, 0);
  EXPECT_EQ(run.counts().w, 0);
  DepCounts sentence;
  sentence.kc = 1;
  sentence.ac = 2;
  sentence.m = 3;
  sentence.s = 4;
  sentence.e = 5;
  sentence.w = 6;
  run.counts() += sentence;
  run.counts() += sentence;
  const DepCounts& c = run.counts();
  EXPECT_EQ(c.kc, 2);
  EXPECT_EQ(c.ac, 4);
  EXPECT_EQ(c.m, 6);
  EXPECT_EQ(c.s, 8);
  EXPECT_EQ(c.e, 10);
  EXPECT_EQ(c.w, 12);
  run.clear();
  EXPECT_EQ(run.counts().kc, 0);
  EXPECT_EQ(run.counts().w, 0);
}

TEST_F(DepCmpTest, ReversibleHoldsOnlyWhenTheConditionSaysSo) {
  Deps deps;
  ::testing::internal::CaptureStderr();
  deps.read("((cats ~ NN *) (and ~ CC > cats conj) (dogs ~ NN > cats coord))");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  DepTree* conj = deps.at_pos(2);
  DepTree* coord = deps.at_pos(3);
  ASSERT_NE(conj, nullptr);
  ASSERT_NE(coord, nullptr);

  DepCmp with(LExp::get_exp("(dc-conj)"), LExp::get_exp("(dc-conj)"), nullptr);
  ASSERT_NE(with.reversible_cond(), nullptr);
  EXPECT_NE(with.key_cond(), nullptr);
  EXPECT_EQ(with.answer_cond(), nullptr);
  EXPECT_TRUE(with.reversible(conj));
  EXPECT_FALSE(with.reversible(coord));
  EXPECT_FALSE(with.reversible(nullptr));

  DepCmp without(nullptr, nullptr, nullptr);
  EXPECT_FALSE(without.reversible(conj));
}

}  // namespace
}  // namespace lorvan::testing_deps
