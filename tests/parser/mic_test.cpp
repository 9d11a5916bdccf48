#include "parser/mic.h"

#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lorvan {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The cover only stores node pointers, so any distinct addresses do.
class MicTest : public ::testing::Test {
 protected:
  TNode* node(int i) { return reinterpret_cast<TNode*>(&storage_[i]); }

  // Runs the cover on `words` (slot 0 first) with every word costing
  // `word_cost`.
  std::vector<TNode*> choose(MIC& mic, const std::vector<const char*>& words, int last_high,
                             float word_cost = 25.0f) {
    return mic.choose(words, std::vector<float>(words.size(), word_cost), last_high);
  }

 private:
  int storage_[8] = {};
};

TEST_F(MicTest, ASingleRootOverTheSentenceWinsOverCheaperPieces) {
  MIC mic(4);
  mic.offer(node(0), 1, 3, 100.0f);
  mic.offer(node(1), 1, 1, 1.0f);
  mic.offer(node(2), 2, 3, 1.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b", "c"}, 3, 0.0f), ElementsAre(node(0)));
  EXPECT_FLOAT_EQ(mic.cover(1, 3).weight(), 100.0f);
}

TEST_F(MicTest, RootsAreJoinedLeftToRightWithSeams) {
  struct Case {
    std::vector<const char*> words;
    float expected;
  };
  const Case cases[] = {
      {{"", "a", "b", "c", "d"}, 5.0f + 7.0f + 35.0f},
      {{"", "a", ",", "c", "d"}, 5.0f + 7.0f + 10.0f},  // the first root ends in a comma
      {{"", "a", "b", ";", "d"}, 5.0f + 7.0f + 10.0f},  // the second starts with one
      {{"", "a", ",,", "c", "d"}, 5.0f + 7.0f + 35.0f},  // not a single character
  };
  for (const Case& c : cases) {
    MIC mic(5);
    mic.offer(node(0), 1, 2, 5.0f);
    mic.offer(node(1), 3, 4, 7.0f);
    EXPECT_THAT(choose(mic, c.words, 4), ElementsAre(node(0), node(1))) << c.words[2];
    EXPECT_FLOAT_EQ(mic.cover(1, 4).weight(), c.expected) << c.words[2];
  }
}

TEST_F(MicTest, SeamCosts) {
  EXPECT_FLOAT_EQ(MIC::seam("dog", "barks"), 35.0f);
  EXPECT_FLOAT_EQ(MIC::seam(",", "and"), 10.0f);
  EXPECT_FLOAT_EQ(MIC::seam("and", "."), 10.0f);
  EXPECT_FLOAT_EQ(MIC::seam("a", nullptr), 35.0f);
  EXPECT_FLOAT_EQ(MIC::seam("", "x"), 35.0f);
}

TEST_F(MicTest, TrailingPunctuationAfterTheLastRootIsNotPaidFor) {
  MIC mic(4);
  mic.offer(node(0), 1, 2, 3.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b", "."}, 2), ElementsAre(node(0)));
  EXPECT_FALSE(mic.cover(1, 3).is_set());
}

TEST_F(MicTest, PunctuationInsideTheLastRootStays) {
  MIC mic(4);
  mic.offer(node(0), 1, 3, 3.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b", "."}, 3), ElementsAre(node(0)));
}

TEST_F(MicTest, AOneWordRootCostsTheWeightOfItsWord) {
  MIC mic(3);
  mic.offer(node(0), 1, 1, 1.0f);
  mic.offer(node(1), 2, 2, 1.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b"}, 2), ElementsAre(node(0), node(1)));
  EXPECT_FLOAT_EQ(mic.cover(1, 1).weight(), 25.0f);
  EXPECT_FLOAT_EQ(mic.cover(1, 2).weight(), 25.0f + 25.0f + 35.0f);
}

TEST_F(MicTest, UncoveredWordsArePaidAndContributeNoNode) {
  MIC mic(4);
  mic.offer(node(0), 1, 1, 0.0f);
  mic.offer(node(1), 3, 3, 0.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b", "c"}, 3, 2.0f), ElementsAre(node(0), node(1)));
  EXPECT_FLOAT_EQ(mic.cover(1, 3).weight(), 3 * 2.0f + 2 * 35.0f);
}

TEST_F(MicTest, NoWordsOrNoRootsChooseNothing) {
  MIC empty(0);
  EXPECT_THAT(choose(empty, {}, -1), IsEmpty());
  MIC one(1);
  EXPECT_THAT(choose(one, {""}, -1), IsEmpty());
  MIC bare(3);
  EXPECT_THAT(choose(bare, {"", "a", "b"}, -1), IsEmpty());
}

TEST_F(MicTest, OffersKeepTheCheapestNodeAndTheFirstOfEqualOnes) {
  MIC mic(3);
  mic.offer(node(0), 1, 2, 5.0f);
  mic.offer(node(1), 1, 2, 3.0f);
  mic.offer(node(2), 1, 2, 3.0f);
  EXPECT_EQ(mic.cover(1, 2).node(), node(1));
  EXPECT_FLOAT_EQ(mic.cover(1, 2).weight(), 3.0f);
}

TEST_F(MicTest, OffersOutsideTheTableAreIgnored) {
  MIC mic(3);
  mic.offer(node(0), -1, 1, 1.0f);
  mic.offer(node(1), 1, 3, 1.0f);
  mic.offer(node(2), 2, 1, 1.0f);
  EXPECT_THAT(choose(mic, {"", "a", "b"}, 3, 0.0f), IsEmpty());
}

TEST(MicDeathTest, AnIntervalOutsideTheTableIsAnArrayFault) {
  MIC mic(3);
  EXPECT_DEATH(mic.cover(2, 1), "Array index out of bounds");
  EXPECT_DEATH(mic.cover(0, 3), "Array index out of bounds");
}

}  // namespace
}  // namespace lorvan
