// The C library's strcasecmp is deliberately visible here too: calls made
// inside namespace lorvan must still pick the program's own.
#include <strings.h>

#include <cstring>

#include "strfuncs.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvan {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

// ---- Hashes ----

TEST(Hashpjw, KnownValuesAndCaseInsensitivity) {
  EXPECT_EQ(hashpjw(""), 0u);
  EXPECT_EQ(hashpjw("a"), 97u);
  EXPECT_EQ(hashpjw("ab"), 97u * 16 + 98);
  // Long enough for the top-nibble folding to take part.
  EXPECT_EQ(hashpjw("hello world"), 18131988u);
  EXPECT_EQ(hashpjw("abcdefghijklmnop"), 196715280u);
  EXPECT_EQ(hashpjw("ABCDEFGHIJKLMNOP"), 196715280u);
  EXPECT_EQ(hashpjw("MiXeD"), hashpjw("mixed"));
  EXPECT_LT(hashpjw("a much longer string than the others here"), 1u << 28);
}

TEST(Hashpjw, HighBytesCountUnsignedOrSignedByVariant) {
  EXPECT_EQ(hashpjw("\xE9"), 0xE9u);
  // -23 sets the top nibble, which is folded in and cleared.
  EXPECT_EQ(hashpjw_signed("\xE9"), 0x0FFFFF19u);
  // Below 128 both variants agree, case-insensitively.
  EXPECT_EQ(hashpjw_signed("Hello World"), hashpjw("hello world"));
  // High bytes are not lowered: 0xC9 and 0xE9 differ.
  EXPECT_NE(hashpjw("\xC9"), hashpjw("\xE9"));
}

TEST(OtherHashes, MultiplicativeAndFold) {
  EXPECT_EQ(multiplicativehash(0), 0u);
  EXPECT_EQ(multiplicativehash(1), 2654435767u);
  EXPECT_EQ(multiplicativehash(2), 1013904238u);  // wraps modulo 2^32
  EXPECT_EQ(foldhash(0.0), 0u);
  EXPECT_EQ(foldhash(1.0), 0x3FF00000u);
  EXPECT_EQ(foldhash(-2.0), 0xC0000000u);
}

TEST(PrimeSizes, FirstTablePrimeAtLeastN) {
  const std::pair<unsigned, unsigned> cases[] = {
      {0, 101},       {101, 101},     {102, 1997},    {2000, 9973},  {19997, 19997},
      {50000, 59999}, {99991, 99991}, {99992, 99992}, {200000, 200000},
  };
  for (auto [n, p] : cases) EXPECT_EQ(get_a_prime_number_larger_than(n), p) << n;
}

// ---- Comparisons ----

struct CmpCase {
  const char* a;
  const char* b;
  int expected_sign;
};

TEST(StrCaseCmp, OrdersAsciiByLowerCaseAndHighBytesFirst) {
  const CmpCase cases[] = {
      {"Apple", "apple", 0},
      {"", "", 0},
      {"a", "B", -1},
      {"[", "A", -1},  // 'A' compares as 'a', which is above '['
      {"abc", "ab", 1},
      {"", "a", -1},
      {"\xE9t\xE9", "zebra", -1},  // a byte >= 128 ranks below ASCII
      {"zebra", "\xE9t\xE9", 1},
      {"\xE9", "\xE8", 1},  // signed: -23 > -24
      {"\x80", "\xFF", -1},
      {"ab", "ab\xE9", 1},  // the end of a string ranks above a high byte
      {"ab\xE9", "ab", -1},
  };
  for (const CmpCase& c : cases) {
    EXPECT_EQ(sign(strcasecmp(c.a, c.b)), c.expected_sign) << c.a << " vs " << c.b;
    EXPECT_EQ(sign(strcasecmp(c.b, c.a)), -c.expected_sign) << c.b << " vs " << c.a;
  }
}

TEST(StrToUpperCmp, UpperCasesAsciiAndTakesBytesUnsigned) {
  const CmpCase cases[] = {
      {"abc", "ABC", 0},
      {"ab", "abc", -1},
      {"b", "A", 1},
      {"a_", "aB", 1},  // '_' is above 'B' (but below 'b')
      {"\xE9", "z", 1},
      {"", "", 0},
  };
  for (const CmpCase& c : cases) {
    EXPECT_EQ(str_to_upper_cmp(c.a, c.b), c.expected_sign) << c.a << " vs " << c.b;
    EXPECT_EQ(str_to_upper_cmp(c.b, c.a), -c.expected_sign) << c.b << " vs " << c.a;
  }
}

TEST(StrToUpperCmpUpToTab, KeyEndsBeforeLongerKeys) {
  const CmpCase cases[] = {
      {"ab\t3", "abc\t1", -1},
      {"ab 3", "ab!", -1},
      {"ab\t", "ab\x01", -1},  // the tab side counts as 0
      {"a\tb", "a c", -1},     // both white: by value, then go on
      {"a\tb", "a\tB", 0},
      {"ab", "ab\t", -1},
      {"AB\t9", "ab\t9", 0},
  };
  for (const CmpCase& c : cases) {
    EXPECT_EQ(str_to_upper_cmp_up_to_tab(c.a, c.b), c.expected_sign) << c.a << " vs " << c.b;
    EXPECT_EQ(str_to_upper_cmp_up_to_tab(c.b, c.a), -c.expected_sign) << c.b << " vs " << c.a;
  }
}

// ---- Number text ----

TEST(Ftoa, DropsTrailingZerosAndBarePoint) {
  const std::pair<double, const char*> cases[] = {
      {2.5, "2.5"}, {3.0, "3"}, {-1.5, "-1.5"}, {0.0, "0"},
      {100.0, "100"}, {1e-7, "0"}, {0.125, "0.125"}, {-0.25, "-0.25"},
  };
  char buf[64];
  for (auto [x, text] : cases) {
    EXPECT_EQ(ftoa(x, buf, sizeof buf), buf);
    EXPECT_STREQ(buf, text) << x;
  }
}

TEST(Ftoa, RespectsTheBufferSize) {
  char buf[8];
  std::memset(buf, 'X', sizeof buf);
  EXPECT_STREQ(ftoa(123.456, buf, 4), "123");
  EXPECT_EQ(buf[4], 'X');
  EXPECT_STREQ(ftoa(1.5, buf, 3), "1");  // "1." truncated, then the bare point dropped
}

}  // namespace
}  // namespace lorvan
