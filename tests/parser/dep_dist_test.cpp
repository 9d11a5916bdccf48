#include "parser/dep_dist.h"

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

namespace lorvan {
namespace {

DepDist read_dist(const char* text) {
  std::istringstream in(text);
  return DepDist(in);
}

// "subj": counts 10 and 30 at distances 1 and 2 (total 40, smoothed);
// "obj": counts 100 and 300 (total 400, plain relative frequency).
constexpr const char* kDistFile =
    "subj\t1\tx\t10\n"
    "subj\t2\tx\t30\n"
    "obj\t1\tx\t100\n"
    "obj\t2\tx\t300\n";

struct ProbCase {
  const char* name;
  int distance;
  float expected;
};

class DepDistProbTest : public ::testing::TestWithParam<ProbCase> {};

TEST_P(DepDistProbTest, FollowsTheSmoothedDistanceFormula) {
  std::istringstream in(kDistFile);
  DepDist dist(in);
  const ProbCase& c = GetParam();
  EXPECT_NEAR(dist.get_prob(c.name, c.distance), c.expected, 1e-4) << c.name << " " << c.distance;
}

// With total t, n slots and lambda = t / 200 <= 1 the probability is
// (1 - lambda) * t / n + lambda * count / t.
constexpr float kSubjBase = 0.8f * 40.0f / 3.0f;

INSTANTIATE_TEST_SUITE_P(
    Cases, DepDistProbTest,
    ::testing::Values(ProbCase{"subj", 1, kSubjBase + 0.2f * 10.0f / 40.0f},
                      ProbCase{"subj", 2, kSubjBase + 0.2f * 30.0f / 40.0f},
                      // Below 1 counts as 1; beyond the last slot as the last.
                      ProbCase{"subj", 0, kSubjBase + 0.2f * 10.0f / 40.0f},
                      ProbCase{"subj", 7, kSubjBase + 0.2f * 30.0f / 40.0f},
                      ProbCase{"obj", 1, 0.25f}, ProbCase{"obj", 2, 0.75f},
                      ProbCase{"obj", 9, 0.75f},
                      // Missing names: 1 / distance.
                      ProbCase{"pred", 4, 0.25f}, ProbCase{"pred", 1, 1.0f},
                      ProbCase{"pred", -3, 1.0f}, ProbCase{nullptr, 2, 0.5f},
                      // Names compare exactly.
                      ProbCase{"OBJ", 2, 0.5f}));

TEST(DepDistReadTest, GroupsConsecutiveLinesOfOneNameWhateverTheirCase) {
  DepDist dist = read_dist("Mod\t1\tx\t4\nmod\t3\tx\t6\n");
  const DepDistEntry* e = dist.find("Mod");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(dist.find("mod"), nullptr);
  EXPECT_FLOAT_EQ(e->total(), 10.0f);
  ASSERT_EQ(e->size(), 4);
  // Slots created on the way hold 1.0 and are not part of the total.
  EXPECT_FLOAT_EQ(e->count(0), 1.0f);
  EXPECT_FLOAT_EQ(e->count(2), 1.0f);
  EXPECT_FLOAT_EQ(e->count(3), 6.0f);
}

TEST(DepDistReadTest, FieldsAreSeparatedByTabsAndLineEndsOnly) {
  DepDist dist = read_dist("noun mod\r\n2\tignored field\t5.5\n");
  const DepDistEntry* e = dist.find("noun mod");
  ASSERT_NE(e, nullptr);
  EXPECT_FLOAT_EQ(e->count(2), 5.5f);
}

TEST(DepDistReadTest, StopsAtAnIncompleteGroup) {
  DepDist dist = read_dist("a\t1\tx\t5\na\t2\tx\n");
  const DepDistEntry* e = dist.find("a");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->size(), 2);
  EXPECT_FLOAT_EQ(e->total(), 5.0f);
}

TEST(DepDistReadTest, EmptyInputGivesNoEntries) {
  DepDist dist = read_dist("");
  EXPECT_EQ(dist.find("a"), nullptr);
  EXPECT_FLOAT_EQ(dist.get_prob("a", 2), 0.5f);
}

TEST(DepDistReadTest, AnEntryWithoutPositiveCountsActsAsMissing) {
  DepDist dist = read_dist("z\t1\tx\t0\n");
  EXPECT_FLOAT_EQ(dist.get_prob("z", 2), 0.5f);
}

TEST(DepDistEntryDeathTest, NegativeDistanceIsAnArrayFault) {
  DepDistEntry e("x");
  EXPECT_DEATH(e.set_count(-1, 2.0f), "Array index out of bounds");
}

TEST(DepDistEntryTest, SmallTotalsCanGiveProbabilitiesAboveOne) {
  DepDistEntry e("x");
  e.set_count(1, 100.0f);
  // lambda = 0.5: 0.5 * 100 / 2 + 0.5 * 1 = 25.5.
  EXPECT_NEAR(e.prob(1), 25.5f, 1e-4);
  EXPECT_LT(-std::log(e.prob(1)), 0.1f);
}

}  // namespace
}  // namespace lorvan
