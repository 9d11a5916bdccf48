#include "parser/dep_prob_cache.h"

#include <gtest/gtest.h>

namespace lorvan {
namespace {

TEST(DepProbCacheTest, KeysDifferingOnlyInCaseShareOneEntry) {
  DepProbCache cache;
  cache.store("Big\tA:mod:N\tDog", 2.5f);
  cache.store("big\ta:MOD:n\tdog", 9.0f);
  float w = 0;
  ASSERT_TRUE(cache.find("BIG\ta:mod:n\tdOG", w));
  EXPECT_FLOAT_EQ(w, 2.5f);
  EXPECT_EQ(cache.size(), 1);
  EXPECT_FALSE(cache.find("big\ta:mod:n\tcat", w));
}

TEST(DepProbCacheTest, KeysAreCopiedIntoTheArena) {
  DepProbCache cache;
  char key[] = "h\tK\tm";
  cache.store(key, 1.0f);
  key[0] = 'x';
  float w = 0;
  EXPECT_TRUE(cache.find("h\tK\tm", w));
  EXPECT_GT(cache.totalSize(), 0u);
}

TEST(DepProbCacheTest, ClearTableKeepsTheArenaAndCleanUpEmptiesBoth) {
  DepProbCache cache;
  cache.store("a\tb\tc", 1.0f);
  const std::size_t used = cache.totalSize();
  float w = 0;
  cache.clear_table();
  EXPECT_FALSE(cache.find("a\tb\tc", w));
  EXPECT_EQ(cache.totalSize(), used);
  cache.store("a\tb\tc", 3.0f);
  cache.cleanUp();
  EXPECT_FALSE(cache.find("a\tb\tc", w));
  EXPECT_EQ(cache.size(), 0);
  EXPECT_LT(cache.totalSize(), used);
}

}  // namespace
}  // namespace lorvan
