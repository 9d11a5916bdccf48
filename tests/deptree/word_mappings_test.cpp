// Word mappings between two tokenizations: which pairs of positions an
// entry list aligns.
#include "deptree/word_mappings.h"

#include <gtest/gtest.h>

namespace lorvan {
namespace {

TEST(WordMappingsTest, EqHoldsOnlyInsideOneEntryOnBothSides) {
  WordMappings map;
  map.add(1, 1, 1, 1);  // key 1 = answer 1
  map.add(3, 2, 2, 2);  // key 2..3 = answer 2 ("can not" / "cannot")
  map.add(4, 4, 5, 3);  // key 4 = answer 3..5
  struct Case {
    int i, j;
    bool eq;
  } cases[] = {
      {1, 1, true},  {2, 2, true},  {3, 2, true},  {4, 3, true},  {4, 4, true}, {4, 5, true},
      {1, 2, false},  // each side covered, but by different entries
      {2, 1, false},  {3, 3, false}, {4, 6, false}, {5, 5, false},
      {0, 0, false},  {-1, 1, false},
  };
  for (const Case& c : cases) EXPECT_EQ(map.eq(c.i, c.j), c.eq) << c.i << "," << c.j;
}

TEST(WordMappingsTest, EntriesKeepTheirOrderAndFieldOrder) {
  WordMappings map;
  EXPECT_TRUE(map.empty());
  map.add(5, 4, 7, 6);
  map.add(2, 1, 3, 3);
  ASSERT_EQ(map.entries().size(), 2u);
  const WordMappings::Entry& e = map.entries()[0];
  EXPECT_EQ(e.high1, 5);
  EXPECT_EQ(e.low1, 4);
  EXPECT_EQ(e.high2, 7);
  EXPECT_EQ(e.low2, 6);
  EXPECT_EQ(map.entries()[1].low1, 1);
  EXPECT_FALSE(map.eq(4, 4));
  EXPECT_TRUE(map.eq(5, 6));
  map.clear();
  EXPECT_TRUE(map.empty());
  EXPECT_FALSE(map.eq(5, 6));
}

TEST(WordMappingsTest, EntryWithEmptySideCoversNothing) {
  WordMappings map;
  map.add(2, 3, 2, 2);  // high1 < low1
  EXPECT_FALSE(map.eq(2, 2));
  EXPECT_FALSE(map.eq(3, 2));
}

}  // namespace
}  // namespace lorvan
