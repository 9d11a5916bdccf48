#include "sbitset.h"

#include <bit>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lorvan {
namespace {

std::vector<int> members(SBitSet s) {
  std::vector<int> out;
  SBitSetIterator it(s);
  for (int m = it.next(); m >= 0; m = it.next()) out.push_back(m);
  return out;
}

TEST(ByteBitsTest, EveryEntryListsExactlyTheBitsOfItsByte) {
  for (int v = 0; v < 256; ++v) {
    const ByteBits& e = kByteBits[v];
    ASSERT_EQ(e.count, std::popcount(static_cast<unsigned>(v))) << v;
    int rebuilt = 0;
    for (int j = 0; j < e.count; ++j) {
      if (j > 0) {
        ASSERT_LT(e.pos[j - 1], e.pos[j]) << v;
      }
      rebuilt |= 1 << e.pos[j];
    }
    EXPECT_EQ(rebuilt, v);
  }
}

struct RangeCase {
  const char* op;
  std::uint32_t start;
  int a, b;
  std::uint32_t expected;
};

class SBitSetRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(SBitSetRangeTest, ActsOnMembersAToBClippedToTheWord) {
  const RangeCase& c = GetParam();
  SBitSet s(c.start);
  const std::string op = c.op;
  if (op == "set") s.set(c.a, c.b);
  if (op == "clear") s.clear(c.a, c.b);
  if (op == "invert") s.invert(c.a, c.b);
  EXPECT_EQ(s.word(), c.expected) << op << "(" << c.a << ", " << c.b << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SBitSetRangeTest,
    testing::Values(RangeCase{"set", 0, 0, 0, 0x1}, RangeCase{"set", 0, 3, 5, 0x38},
                    RangeCase{"set", 0, 0, 31, 0xFFFFFFFF}, RangeCase{"set", 0, 31, 31, 0x80000000},
                    RangeCase{"set", 0, -4, 1, 0x3}, RangeCase{"set", 0, 30, 40, 0xC0000000},
                    RangeCase{"set", 0, 32, 40, 0}, RangeCase{"set", 0, 5, 4, 0},
                    RangeCase{"clear", 0xFF, 2, 5, 0xC3}, RangeCase{"clear", 0xFFFFFFFF, 0, 31, 0},
                    RangeCase{"clear", 0xFF, 5, 2, 0xFF},
                    RangeCase{"invert", 0x0F, 2, 5, 0x33},
                    RangeCase{"invert", 0, 28, 99, 0xF0000000}));

TEST(SBitSetTest, MembersOutsideTheWordAreNeverPresent) {
  SBitSet s(0xFFFFFFFF);
  EXPECT_FALSE(s.test(-1));
  EXPECT_FALSE(s.test(32));
  SBitSet e;
  e.set(32);
  e.set(-1);
  EXPECT_TRUE(e.empty());
  s.clear(40);
  EXPECT_EQ(s.word(), 0xFFFFFFFF);
}

TEST(SBitSetTest, CountAndSingleton) {
  struct Case {
    std::uint32_t word;
    int count, singleton;
  };
  for (const Case& c : {Case{0, 0, -1}, Case{0x1, 1, 0}, Case{0x80000000, 1, 31},
                        Case{0x100, 1, 8}, Case{0x101, 2, -1}, Case{0xFFFFFFFF, 32, -1}}) {
    SBitSet s(c.word);
    EXPECT_EQ(s.count(), c.count) << std::hex << c.word;
    EXPECT_EQ(s.singleton(), c.singleton) << std::hex << c.word;
  }
}

TEST(SBitSetTest, CmpGivesTheFiveRelations) {
  struct Case {
    std::uint32_t a, b;
    int expected;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{0x6, 0x6, 0}, Case{0x6, 0x2, 1}, Case{0x2, 0x6, -1},
                        Case{0, 0x4, -1}, Case{0x4, 0, 1}, Case{0x2, 0x4, -2},
                        Case{0x6, 0xC, 2}}) {
    EXPECT_EQ(SBitSet(c.a).cmp(SBitSet(c.b)), c.expected) << std::hex << c.a << " " << c.b;
  }
}

TEST(SBitSetTest, IteratorVisitsMembersInIncreasingOrderAcrossBytes) {
  EXPECT_EQ(members(SBitSet(0)), std::vector<int>{});
  EXPECT_EQ(members(SBitSet(0x80000001)), (std::vector<int>{0, 31}));
  EXPECT_EQ(members(SBitSet(0x00810000)), (std::vector<int>{16, 23}));
  std::vector<int> all;
  for (int i = 0; i < 32; ++i) all.push_back(i);
  EXPECT_EQ(members(SBitSet(0xFFFFFFFF)), all);
  SBitSetIterator it(SBitSet(0x2));
  EXPECT_EQ(it.next(), 1);
  EXPECT_EQ(it.next(), -1);
  EXPECT_EQ(it.next(), -1);
}

TEST(SBitSetTest, PrintiWritesHighestMemberFirst) {
  std::ostringstream a, b;
  SBitSet(0x9).printi(a);
  SBitSet().printi(b);
  EXPECT_EQ(a.str(), "(3 0)");
  EXPECT_EQ(b.str(), "()");
}

TEST(SBitSetTest, PrintbWritesNDigitsFromMemberNMinusOneDown) {
  struct Case {
    int n;
    const char* expected;
  };
  for (const Case& c : {Case{4, "1001"}, Case{1, "1"}, Case{6, "001001"},
                        Case{0, "00000000000000000000000000001001"},
                        Case{-3, "00000000000000000000000000001001"}}) {
    std::ostringstream out;
    SBitSet(0x9).printb(out, c.n);
    EXPECT_EQ(out.str(), c.expected) << c.n;
  }
}

}  // namespace
}  // namespace lorvan
