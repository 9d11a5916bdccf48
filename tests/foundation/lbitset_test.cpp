#include "lbitset.h"

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "strbufs.h"

namespace lorvan {
namespace {

// A set holding exactly `members` (grown member by member).
LBitSet of(std::initializer_list<int> members) {
  LBitSet s;
  for (int m : members) s.set(m);
  return s;
}

std::string str(const LBitSet& s) {
  std::ostringstream out;
  out << s;
  return out.str();
}

std::vector<int> members(const LBitSet& s) {
  std::vector<int> out;
  LBitSetIterator it(s);
  for (int m = it.next(); m >= 0; m = it.next()) out.push_back(m);
  return out;
}

// ---- cmp and the comparisons built on it ------------------------------------

struct CmpCase {
  const char* name;
  std::function<LBitSet()> a, b;
  int expected;
};

class LBitSetCmpTest : public testing::TestWithParam<CmpCase> {};

TEST_P(LBitSetCmpTest, GivesTheRelationOfTheTwoSets) {
  const CmpCase& c = GetParam();
  EXPECT_EQ(c.a().cmp(c.b()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LBitSetCmpTest,
    testing::Values(
        CmpCase{"NullNull", [] { return LBitSet(); }, [] { return LBitSet(); }, 0},
        CmpCase{"NullSizedEmpty", [] { return LBitSet(); }, [] { return LBitSet(64); }, 0},
        CmpCase{"NullMember", [] { return LBitSet(); }, [] { return of({3}); }, -1},
        CmpCase{"MemberNull", [] { return of({3}); }, [] { return LBitSet(); }, 1},
        CmpCase{"Overlap", [] { return of({1, 2}); }, [] { return of({2, 3}); }, 2},
        CmpCase{"Disjoint", [] { return of({1}); }, [] { return of({2}); }, -2},
        CmpCase{"Superset", [] { return of({1, 2}); }, [] { return of({1}); }, 1},
        CmpCase{"Subset", [] { return of({1}); }, [] { return of({1, 2}); }, -1},
        CmpCase{"DisjointOtherLength", [] { return of({1}); }, [] { return of({100}); }, -2},
        CmpCase{"SupersetLonger", [] { return of({1, 100}); }, [] { return of({1}); }, 1},
        CmpCase{"OverlapInLaterWord", [] { return of({1, 70}); }, [] { return of({2, 70}); }, 2},
        CmpCase{"TrailingZeroWordsDoNotCount",
                [] {
                  LBitSet s(200);
                  s.set(1);
                  return s;
                },
                [] { return of({1}); }, 0},
        CmpCase{"InfiniteContainsFinite", [] { return ~LBitSet(); }, [] { return of({5}); }, 1},
        CmpCase{"ComplementsAreDisjoint", [] { return of({5}); }, [] { return ~of({5}); }, -2},
        CmpCase{"InfiniteSubset", [] { return ~of({5}); }, [] { return ~LBitSet(); }, -1},
        CmpCase{"InfiniteOverlap", [] { return ~of({5}); }, [] { return ~of({6}); }, 2}),
    [](const testing::TestParamInfo<CmpCase>& info) { return info.param.name; });

TEST(LBitSetTest, ComparisonOperatorsFollowCmp) {
  struct Case {
    LBitSet a, b;
    bool eq, lt, gt, le, ge;
  };
  const Case cases[] = {
      {of({1}), of({1}), true, false, false, true, true},
      {of({1}), of({1, 2}), false, true, false, true, false},
      {of({1, 2}), of({1}), false, false, true, false, true},
      {of({1}), of({2}), false, false, false, false, false},
      {of({1, 2}), of({2, 3}), false, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(str(c.a) + " vs " + str(c.b));
    EXPECT_EQ(c.a == c.b, c.eq);
    EXPECT_EQ(c.a != c.b, !c.eq);
    EXPECT_EQ(c.a < c.b, c.lt);
    EXPECT_EQ(c.a > c.b, c.gt);
    EXPECT_EQ(c.a <= c.b, c.le);
    EXPECT_EQ(c.a >= c.b, c.ge);
  }
}

// ---- set algebra against a model ------------------------------------------------

constexpr int kUniverse = 200;  // beyond every stored word of the random sets

struct Model {
  std::vector<bool> bits = std::vector<bool>(kUniverse);
  bool vbits = false;
};

Model model_of(const LBitSet& s) {
  Model m;
  for (int i = 0; i < kUniverse; ++i) m.bits[i] = s.test(i);
  m.vbits = s.test(100000);
  return m;
}

LBitSet random_set(std::mt19937& rng) {
  const int shape = rng() % 8;
  if (shape == 0) return LBitSet();
  LBitSet s = shape == 1 ? LBitSet(96) : LBitSet();
  const int limit = std::vector<int>{1, 12, 40, 100, 160}[rng() % 5];
  for (int k = rng() % 12; k > 0; --k) s.set(rng() % limit);
  if (rng() % 4 == 0) s.invert();
  return s;
}

void expect_matches(const LBitSet& actual, const Model& expected, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(actual.test(100000), expected.vbits);
  EXPECT_EQ(actual.vbits(), expected.vbits);
  for (int i = 0; i < kUniverse; ++i) ASSERT_EQ(actual.test(i), expected.bits[i]) << "member " << i;
}

// The relation by its definition, with the virtual members counted once.
int model_cmp(const Model& a, const Model& b) {
  bool a_only = a.vbits && !b.vbits, b_only = b.vbits && !a.vbits, common = a.vbits && b.vbits;
  for (int i = 0; i < kUniverse; ++i) {
    a_only |= a.bits[i] && !b.bits[i];
    b_only |= b.bits[i] && !a.bits[i];
    common |= a.bits[i] && b.bits[i];
  }
  if (a_only && b_only) return common ? 2 : -2;
  return a_only ? 1 : b_only ? -1 : 0;
}

TEST(LBitSetAlgebraTest, OperatorsAgreeWithMemberwiseLogic) {
  struct Op {
    const char* name;
    std::function<LBitSet(const LBitSet&, const LBitSet&)> apply;
    std::function<void(LBitSet&, const LBitSet&)> assign;
    std::function<bool(bool, bool)> logic;
  };
  const Op ops[] = {
      {"|", [](auto& a, auto& b) { return a | b; }, [](auto& a, auto& b) { a |= b; },
       [](bool x, bool y) { return x || y; }},
      {"&", [](auto& a, auto& b) { return a & b; }, [](auto& a, auto& b) { a &= b; },
       [](bool x, bool y) { return x && y; }},
      {"^", [](auto& a, auto& b) { return a ^ b; }, [](auto& a, auto& b) { a ^= b; },
       [](bool x, bool y) { return x != y; }},
      {"-", [](auto& a, auto& b) { return a - b; }, [](auto& a, auto& b) { a -= b; },
       [](bool x, bool y) { return x && !y; }},
  };
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    const LBitSet a = random_set(rng), b = random_set(rng);
    const Model ma = model_of(a), mb = model_of(b);
    const std::string pair = "a=" + str(a) + " b=" + str(b);
    ASSERT_EQ(a.cmp(b), model_cmp(ma, mb)) << pair;
    for (const Op& op : ops) {
      Model expected;
      expected.vbits = op.logic(ma.vbits, mb.vbits);
      for (int i = 0; i < kUniverse; ++i) expected.bits[i] = op.logic(ma.bits[i], mb.bits[i]);
      expect_matches(op.apply(a, b), expected, pair + " op " + op.name);
      LBitSet assigned = a;
      op.assign(assigned, b);
      expect_matches(assigned, expected, pair + " op " + op.name + "=");
      expect_matches(a, ma, pair + " left operand after " + op.name);
      expect_matches(b, mb, pair + " right operand after " + op.name);
    }
    Model complement;
    complement.vbits = !ma.vbits;
    for (int i = 0; i < kUniverse; ++i) complement.bits[i] = !ma.bits[i];
    expect_matches(~a, complement, pair + " ~a");
  }
}

TEST(LBitSetAlgebraTest, CompoundAssignmentWithItself) {
  LBitSet s = of({1, 40});
  s |= s;
  EXPECT_EQ(str(s), "1 40");
  s ^= s;
  EXPECT_TRUE(s.empty());
  LBitSet t = of({3, 70});
  LBitSet shared = t;
  t -= shared;
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(str(shared), "3 70");
}

// ---- sharing and copy-on-write ---------------------------------------------------

TEST(LBitSetTest, CopiesShareTheRepresentation) {
  const LBitSet a = of({1, 40});
  LBitSet b = a;
  EXPECT_EQ(b.rep(), a.rep());
  EXPECT_EQ(a.rep()->refs(), 2);
  {
    LBitSet c;
    c = b;
    EXPECT_EQ(a.rep()->refs(), 3);
  }
  EXPECT_EQ(a.rep()->refs(), 2);
  LBitSet moved = std::move(b);
  EXPECT_EQ(a.rep()->refs(), 2);
  moved = moved;  // self-assignment keeps the set
  EXPECT_EQ(str(moved), "1 40");
}

TEST(LBitSetTest, ModifyingACopyLeavesTheOriginalUnchanged) {
  struct Mutation {
    const char* name;
    std::function<void(LBitSet&)> apply;
  };
  const Mutation mutations[] = {
      {"set", [](LBitSet& s) { s.set(2); }},
      {"set beyond", [](LBitSet& s) { s.set(300); }},
      {"set range", [](LBitSet& s) { s.set(2, 90); }},
      {"clear", [](LBitSet& s) { s.clear(); }},
      {"clear member", [](LBitSet& s) { s.clear(40); }},
      {"clear range", [](LBitSet& s) { s.clear(0, 50); }},
      {"invert", [](LBitSet& s) { s.invert(); }},
      {"invert range", [](LBitSet& s) { s.invert(30, 130); }},
      {"|=", [](LBitSet& s) { s |= of({5, 200}); }},
      {"&=", [](LBitSet& s) { s &= of({1}); }},
      {"^=", [](LBitSet& s) { s ^= of({1}); }},
      {"-=", [](LBitSet& s) { s -= of({40}); }},
      {"unpack", [](LBitSet& s) {
         const char packed[] = {0, 1, 0, 0, 0, 4};
         const char* cursor = packed;
         s.unpack(cursor);
       }},
  };
  for (const Mutation& m : mutations) {
    SCOPED_TRACE(m.name);
    const LBitSet original = of({1, 40, 70});
    const LBitSetRep* rep = original.rep();
    LBitSet copy = original;
    m.apply(copy);
    EXPECT_NE(str(copy), "1 40 70");
    EXPECT_EQ(original.rep(), rep);
    EXPECT_EQ(str(original), "1 40 70");
    EXPECT_EQ(rep->refs(), 1);
  }
}

TEST(LBitSetTest, UnsharedSetIsModifiedInPlace) {
  LBitSet s(96);
  const LBitSetRep* rep = s.rep();
  s.set(5);
  s.set(10, 70);
  s.clear(20);
  s |= of({90});
  s.clear();
  EXPECT_EQ(s.rep(), rep);
  EXPECT_TRUE(s.empty());
}

TEST(LBitSetTest, TestingAndSettingPresentMembersDoesNotUnshare) {
  const LBitSet a = of({3});
  LBitSet b = a;
  b.set(3);
  b.clear(9);
  EXPECT_EQ(b.rep(), a.rep());
}

// ---- sizes and growth ----------------------------------------------------------

TEST(LBitSetTest, WordCounts) {
  struct Case {
    const char* name;
    std::function<LBitSet()> make;
    int nwords;
  };
  const Case cases[] = {
      {"null", [] { return LBitSet(); }, 0},
      {"sized 0", [] { return LBitSet(0); }, 0},
      {"sized 32", [] { return LBitSet(32); }, 1},
      {"sized 33", [] { return LBitSet(33); }, 2},
      {"fresh set(0)", [] { return of({0}); }, 1},
      {"fresh set(70)", [] { return of({70}); }, 3},
      {"grown", [] { return of({3, 31, 32}); }, 2},
      {"fresh range", [] {
         LBitSet s;
         s.set(10, 64);
         return s;
       }, 3},
      {"clear beyond does not grow", [] {
         LBitSet s = of({1});
         s.clear(500);
         s.clear(40, 900);
         return s;
       }, 1},
      {"inverted null", [] { return ~LBitSet(); }, 0},
      {"range set on infinite set stops at stored words", [] {
         LBitSet s = ~of({1});
         s.set(10, 500);
         s.set(700);
         return s;
       }, 1},
      {"invert range grows", [] {
         LBitSet s;
         s.invert(40, 41);
         return s;
       }, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.make().nwords(), c.nwords) << c.name;
}

TEST(LBitSetTest, GrownWordsTakeTheVirtualBitsValue) {
  LBitSet s = ~of({1});  // one stored word, infinite
  s.clear(100);
  EXPECT_EQ(s.nwords(), 4);
  EXPECT_TRUE(s.test(64));
  EXPECT_TRUE(s.test(99));
  EXPECT_FALSE(s.test(100));
  EXPECT_TRUE(s.test(101));
  EXPECT_FALSE(s.test(1));
  s.clear(90, 95);
  EXPECT_FALSE(s.test(93));
  EXPECT_TRUE(s.test(96));
}

TEST(LBitSetTest, SizedConstructorStopsAtNegativeOrOutOfRangeValue) {
  const int by_negative[] = {3, 39, 5, -1, 7};
  const int by_range[] = {3, 40, 5, -1};
  EXPECT_EQ(members(LBitSet(40, by_negative)), (std::vector<int>{3, 5, 39}));
  EXPECT_EQ(members(LBitSet(40, by_range)), (std::vector<int>{3}));
  EXPECT_EQ(LBitSet(40, by_range).nwords(), 2);
  EXPECT_EQ(str(LBitSet(40)), "");
}

// ---- members --------------------------------------------------------------------

TEST(LBitSetTest, RangedOperationsCrossWordBoundaries) {
  LBitSet s;
  s.set(30, 66);
  EXPECT_EQ(s.count(), 37);
  EXPECT_FALSE(s.test(29));
  EXPECT_TRUE(s.test(30));
  EXPECT_TRUE(s.test(66));
  EXPECT_FALSE(s.test(67));
  s.clear(32, 63);
  EXPECT_EQ(str(s), "30 31 64 65 66");
  s.invert(31, 64);
  EXPECT_EQ(s.count(), 1 + 32 + 2);  // 30, 32..63, 65, 66
  EXPECT_FALSE(s.test(31));
  EXPECT_FALSE(s.test(64));
  s.clear(-5, 40);
  EXPECT_FALSE(s.test(30));
  EXPECT_TRUE(s.test(41));
}

TEST(LBitSetTest, ReversedRangesReportAndChangeNothing) {
  struct Case {
    std::function<void(LBitSet&)> apply;
    const char* message;
  };
  const Case cases[] = {
      {[](LBitSet& s) { s.set(5, 3); }, "LBitSetRep::set(5, 3)\n"},
      {[](LBitSet& s) { s.clear(9, -2); }, "LBitSetRep::clear(9, -2)\n"},
      {[](LBitSet& s) { s.invert(1, 0); }, "LBitSetRep::invert(1, 0)\n"},
  };
  for (const Case& c : cases) {
    LBitSet s = of({1, 4});
    testing::internal::CaptureStderr();
    c.apply(s);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    EXPECT_EQ(str(s), "1 4");
  }
}

TEST(LBitSetTest, NegativeMembersAreNeverPresent) {
  LBitSet s = ~LBitSet();
  EXPECT_FALSE(s.test(-1));
  s.clear(-1);
  s.invert(-9, -2);
  EXPECT_TRUE(s.full());
}

TEST(LBitSetDeathTest, SettingANegativeMemberStopsTheProgram) {
  LBitSet s = of({1});
  EXPECT_DEATH(s.set(-1), "bit>=0");
  EXPECT_DEATH(s.set(-3, 2), "bit>=0");
  LBitSet null;
  EXPECT_DEATH(null.set(-40), "bit>=0");
}

TEST(LBitSetTest, CountEmptyFullSingleton) {
  struct Case {
    const char* name;
    LBitSet set;
    int count;
    bool empty, full;
    int singleton;
  };
  LBitSet all_stored = ~LBitSet();
  all_stored.invert(0, 40);
  all_stored.invert(0, 40);  // two stored words, all full
  const Case cases[] = {
      {"null", LBitSet(), 0, true, false, -1},
      {"sized", LBitSet(64), 0, true, false, -1},
      {"one", of({33}), 1, false, false, 33},
      {"two", of({0, 33}), 2, false, false, -1},
      {"cleared", [] {
         LBitSet s = of({5});
         s.clear(5);
         return s;
       }(), 0, true, false, -1},
      {"infinite", ~LBitSet(), 0, false, true, -1},
      {"infinite with stored words", all_stored, 64, false, true, -1},
      {"infinite with a hole", ~of({3}), 31, false, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.set.count(), c.count);
    EXPECT_EQ(c.set.empty(), c.empty);
    EXPECT_EQ(c.set.full(), c.full);
    EXPECT_EQ(c.set.singleton(), c.singleton);
  }
}

TEST(LBitSetTest, InvertedEmptySetHoldsEverything) {
  LBitSet s;
  s.invert();
  EXPECT_TRUE(s.test(0));
  EXPECT_TRUE(s.test(1000));
  EXPECT_EQ(str(s), " vbits=1");
  s.invert();
  EXPECT_FALSE(s.test(1000));
  EXPECT_TRUE(s.empty());
}

TEST(LBitSetTest, ClearOfASharedSetReleasesIt) {
  const LBitSet a = of({2});
  LBitSet b = a;
  b.clear();
  EXPECT_EQ(b.rep(), nullptr);
  EXPECT_EQ(a.rep()->refs(), 1);
  LBitSet inverted = ~of({2});
  inverted.clear();
  EXPECT_TRUE(inverted.empty());
  EXPECT_FALSE(inverted.test(5000));
}

// ---- iteration and printing -------------------------------------------------------

TEST(LBitSetIteratorTest, VisitsMembersInIncreasingOrder) {
  const std::vector<int> expected = {0, 31, 32, 63, 64, 200};
  LBitSet s;
  for (auto it = expected.rbegin(); it != expected.rend(); ++it) s.set(*it);
  EXPECT_EQ(members(s), expected);
  EXPECT_EQ(members(LBitSet()), std::vector<int>{});
  EXPECT_EQ(members(LBitSet(300)), std::vector<int>{});
  LBitSetIterator it(of({4}));
  EXPECT_EQ(it.next(), 4);
  EXPECT_EQ(it.next(), -1);
  EXPECT_EQ(it.next(), -1);
}

TEST(LBitSetIteratorTest, ChangingTheSetDoesNotDisturbARunningIteration) {
  LBitSet s = of({1, 2, 3, 40});
  LBitSetIterator it(s);
  std::vector<int> seen;
  for (int m = it.next(); m >= 0; m = it.next()) {
    seen.push_back(m);
    s.clear(m + 1);
    s.set(m + 100);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 40}));
}

TEST(LBitSetTest, PrintsMembersThenVirtualBits) {
  LBitSet low_cleared = ~LBitSet();
  low_cleared.clear(0, 29);
  EXPECT_EQ(str(LBitSet()), "empty_bitset");
  EXPECT_EQ(str(of({33, 0, 5})), "0 5 33");
  EXPECT_EQ(str(low_cleared), "30 31 vbits=1");
}

// ---- binary form -------------------------------------------------------------------

std::string packed(const LBitSet& s) {
  StrBufs buf(16);
  s.pack(buf);
  return std::string(buf.str(), buf.length());
}

TEST(LBitSetPackTest, WritesBigEndianWordCountThenWords) {
  using namespace std::string_literals;
  EXPECT_EQ(packed(of({0, 33})), "\x00\x02\x00\x00\x00\x01\x00\x00\x00\x02"s);
  EXPECT_EQ(packed(of({31})), "\x00\x01\x80\x00\x00\x00"s);
  EXPECT_EQ(packed(LBitSet()), "\x00\x00"s);
  EXPECT_EQ(packed(LBitSet(64)), "\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00"s);
}

TEST(LBitSetPackTest, UnpackRestoresTheStoredWordsAndAdvancesTheCursor) {
  StrBufs buf(8);
  const LBitSet a = of({0, 31, 33, 95, 300});
  a.pack(buf);
  LBitSet().pack(buf);
  (~of({1})).pack(buf);
  buf.push_char('z');
  const std::string bytes(buf.str(), buf.length());

  const char* cursor = bytes.data();
  LBitSet b = of({7}), c = of({8}), d;
  b.unpack(cursor);
  c.unpack(cursor);
  d.unpack(cursor);
  EXPECT_EQ(*cursor, 'z');
  EXPECT_EQ(b, a);
  EXPECT_EQ(b.nwords(), a.nwords());
  EXPECT_EQ(str(c), "empty_bitset");
  // The flag is not stored: only the stored word comes back.
  EXPECT_EQ(d.count(), 31);
  EXPECT_FALSE(d.vbits());
  EXPECT_FALSE(d.test(32));
}

// ---- sort_by_count ------------------------------------------------------------------

TEST(SortByCountTest, OrdersByDescendingCountKeepingTiesInOrder) {
  std::vector<LBitSet> list = {of({1}), of({1, 2, 3}), LBitSet(), of({9}), of({4, 5})};
  sort_by_count(list);
  std::vector<std::string> printed;
  for (const LBitSet& s : list) printed.push_back(str(s));
  EXPECT_EQ(printed, (std::vector<std::string>{"1 2 3", "4 5", "1", "9", "empty_bitset"}));
}

}  // namespace
}  // namespace lorvan
