#include "tarray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "strfuncs.h"
#include "tassoc.h"

namespace lorvan {
namespace {

std::vector<int> contents(const TArray<int>& a) { return std::vector<int>(a.begin(), a.end()); }

TEST(TArrayTest, GrowsByAQuarterPlusFour) {
  TArray<int> a;
  std::vector<int> capacities;
  for (int i = 0; i < 40; ++i) {
    a.add_high(i);
    if (capacities.empty() || capacities.back() != a.capacity()) capacities.push_back(a.capacity());
  }
  // 0 -> 4 -> 9 -> 15 -> 22 -> 31 -> 42
  EXPECT_EQ(capacities, (std::vector<int>{4, 9, 15, 22, 31, 42}));
  EXPECT_EQ(a.length(), 40);
  EXPECT_EQ(a[39], 39);

  TArray<int> b(10);
  for (int i = 0; i < 11; ++i) b.add_high(i);
  EXPECT_EQ(b.capacity(), 10 + 10 / 4 + 4);
}

TEST(TArrayTest, GetVacantOpensASlotAndDelClosesTheGap) {
  struct Case {
    int index;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {0, {0, 1, 2, 3}},   // front
      {2, {1, 2, 0, 3}},   // middle
      {3, {1, 2, 3, 0}},   // index == length is the end
      {-1, {1, 2, 3, 0}},  // negative means the end
  };
  for (const Case& c : cases) {
    TArray<int> a;
    for (int x : {1, 2, 3}) a.add_high(x);
    a.get_vacant(c.index) = 0;
    EXPECT_EQ(contents(a), c.expected) << "index " << c.index;
  }

  TArray<std::string> s;
  for (const char* x : {"a", "b", "c", "d"}) s.add_high(x);
  s.del(1);
  s.del(2);
  ASSERT_EQ(s.length(), 2);
  EXPECT_EQ(s[0], "a");
  EXPECT_EQ(s[1], "c");
  EXPECT_EQ(s.get_vacant(1), "");  // the new slot is value-initialised
}

TEST(TArrayTest, SetLengthTruncatesAndExtends) {
  TArray<int> a;
  for (int x : {5, 6, 7}) a.add_high(x);
  a.set_length(1);
  EXPECT_EQ(contents(a), (std::vector<int>{5}));
  a.set_length(3);
  EXPECT_EQ(contents(a), (std::vector<int>{5, 0, 0}));

  // Growing in one step reaches the capacity that growing by a quarter
  // plus four at a time would: 0 -> 4 -> 9 -> 15 -> 22 -> 31 -> 42.
  TArray<int> b;
  b.set_length(40);
  EXPECT_EQ(b.length(), 40);
  EXPECT_EQ(b.capacity(), 42);
}

using TArrayDeathTest = ::testing::Test;

TEST(TArrayDeathTest, IndexOutOfBoundsStopsWithMessage) {
  TArray<int> a;
  for (int x : {1, 2, 3}) a.add_high(x);
  EXPECT_DEATH(a[3], "Array index out of bounds: 3 It should be between 0 and 2(.|\n)*tarray");
  EXPECT_DEATH(a[-1], "Array index out of bounds: -1 It should be between 0 and 2");
  EXPECT_DEATH(a.del(7), "Array index out of bounds: 7");
  EXPECT_DEATH(a.get_vacant(5), "Array index out of bounds: 5 It should be between 0 and 3");
  TArray<int> empty;
  EXPECT_DEATH(empty[0], "Array index out of bounds: 0 It should be between 0 and -1");
}

TEST(TAssocTest, EnterReplacesAndKeepsEntryOrder) {
  TAssoc<std::string, int> a;
  a.enter("one", 1);
  a.enter("two", 2);
  a.enter("one", 11);
  ASSERT_EQ(a.length(), 2);
  EXPECT_EQ(a[0].key, "one");
  EXPECT_EQ(a[0].val, 11);
  EXPECT_EQ(a[1].key, "two");
  ASSERT_NE(a.lookup("two"), nullptr);
  EXPECT_EQ(*a.lookup("two"), 2);
  EXPECT_EQ(a.lookup("three"), nullptr);
  EXPECT_TRUE(a.remove("one"));
  EXPECT_FALSE(a.remove("one"));
  EXPECT_EQ(a.index_of("two"), 0);
}

TEST(TAssocTest, CompareFunctionDecidesKeyEquality) {
  // Distinct buffers with the same text: pointer equality would miss them.
  char upper[] = "Key";
  char lower[] = "key";
  TAssoc<const char*, int> by_pointer;
  by_pointer.enter(upper, 1);
  EXPECT_EQ(by_pointer.lookup(lower), nullptr);

  TAssoc<const char*, int> by_text(&lorvan::strcasecmp);
  by_text.enter(upper, 1);
  by_text.enter(lower, 2);
  EXPECT_EQ(by_text.length(), 1);
  EXPECT_EQ(*by_text.lookup("KEY"), 2);

  TAssoc<const char*, int> exact(&std::strcmp);
  exact.enter(upper, 1);
  exact.enter(lower, 2);
  EXPECT_EQ(exact.length(), 2);
}

}  // namespace
}  // namespace lorvan
