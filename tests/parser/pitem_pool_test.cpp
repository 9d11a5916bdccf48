// The item pool: reuse after a reset, and a pool that runs out.
#include <gtest/gtest.h>

#include "parser_fixture.h"

namespace lorvan::parsertest {
namespace {

class PoolTest : public ParserTest {
 protected:
  void TearDown() override { VanticParser::MAX_PITEMS = 40000; }
};

TEST_F(PoolTest, ResetMakesEveryItemFreeAgain) {
  define("(load \"np.lsp\")");
  ASSERT_TRUE(parse("the big dog barks"));
  const int size = parser_->pool_size();
  ASSERT_GT(size, 4);
  EXPECT_EQ(parser_->pool_free(), 0);
  ASSERT_TRUE(parse("the big dog barks"));
  EXPECT_EQ(parser_->pool_size(), size) << "a repeated sentence reuses the pool";
  parser_->reset();
  EXPECT_EQ(parser_->pool_free(), size);
  PItem* fresh = parser_->new_pitem();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->head(), nullptr);
  EXPECT_EQ(fresh->weight(), 0.0f);
  EXPECT_EQ(fresh->eq_pitem(), nullptr);
  EXPECT_EQ(parser_->pool_free(), size - 1);
}

TEST_F(PoolTest, ExhaustedPoolEndsTheSentenceQuietlyAndTheNextOneParses) {
  define("(load \"np.lsp\")");
  VanticParser::MAX_PITEMS = 2;
  {
    Captured io;
    EXPECT_FALSE(parse("the big dog barks"));
    EXPECT_EQ(io.err(), "");
  }
  EXPECT_EQ(parser_->pool_size(), 2);
  EXPECT_EQ(parser_->new_pitem(), nullptr);
  VanticParser::MAX_PITEMS = 40000;
  ASSERT_TRUE(parse("dog barks"));
  EXPECT_NE(item("V", 1, 2), nullptr);
}

TEST_F(PoolTest, PoolRunningOutWhileMergingFailsTheMergesOnly) {
  define("(load \"np.lsp\")");
  VanticParser::MAX_PITEMS = 4;
  ASSERT_TRUE(parse("the dog barks"));
  EXPECT_EQ(parser_->pool_size(), 4);
  EXPECT_NE(item("N", 2, 2), nullptr);
}

}  // namespace
}  // namespace lorvan::parsertest
