#include "strbufs.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace lorvan {
namespace {

std::string current(const StrBufs& b) { return std::string(b.str(), b.length()); }

// ---- Current-string protocol ----

TEST(StrBufsProtocol, FinishedStringsNeverMoveWhileLaterOnesGrow) {
  StrBufs buf(16);
  std::vector<std::pair<const char*, std::string>> kept;
  for (int i = 0; i < 200; ++i) {
    std::string text = "word" + std::to_string(i) + std::string(i % 37, 'x');
    kept.emplace_back(buf.copy(text.c_str()), text);
  }
  // A long unfinished string crossing several blocks must not disturb them.
  for (int i = 0; i < 500; ++i) buf.push('y');
  EXPECT_EQ(current(buf), std::string(500, 'y'));
  for (const auto& [p, text] : kept) EXPECT_STREQ(p, text.c_str());
}

TEST(StrBufsProtocol, CompletingStartsANewCurrentStringBehindTheOld) {
  StrBufs buf(64);
  buf.push("ab");
  EXPECT_EQ(buf.length(), 2u);
  char* first = buf.finish();
  EXPECT_STREQ(first, "ab");
  EXPECT_EQ(buf.length(), 0u);
  EXPECT_EQ(buf.str(), first + 3);

  buf.push("cd");
  buf.push('\0');  // pushing a NUL completes as well
  EXPECT_STREQ(first + 3, "cd");
  EXPECT_EQ(buf.length(), 0u);
  EXPECT_EQ(buf.str(), first + 6);
}

TEST(StrBufsProtocol, UnfinishedStringMovesWhenItOutgrowsItsBlock) {
  StrBufs buf(8);
  buf.push("abcdef");
  char* before = buf.str();
  buf.push("ghijkl");
  EXPECT_NE(buf.str(), before);
  EXPECT_STREQ(buf.finish(), "abcdefghijkl");
}

// ---- Growth rule ----

struct GrowthCase {
  const char* name;
  std::size_t block;
  const char* finished;  // completed before the current string (or null)
  std::size_t current;   // length of the current string before the request
  std::size_t request;   // bytes appended in one call
  std::size_t expected_block;
};

class StrBufsGrowth : public testing::TestWithParam<GrowthCase> {};

TEST_P(StrBufsGrowth, NewBlockSize) {
  const GrowthCase& c = GetParam();
  StrBufs buf(c.block);
  if (c.finished != nullptr) buf.copy(c.finished);
  std::string cur(c.current, 'c'), more(c.request, 'r');
  buf.push(cur.c_str());
  ASSERT_EQ(buf.capacity(), c.block) << "setup must not grow yet";
  buf.push(more.c_str());
  EXPECT_EQ(buf.capacity(), c.expected_block);
  EXPECT_EQ(current(buf), cur + more);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, StrBufsGrowth,
    testing::Values(
        // The current string fills its whole block: double.
        GrowthCase{"FullBlockDoubles", 8, nullptr, 8, 1, 16},
        GrowthCase{"FullBlockDoublesLargerRequest", 8, nullptr, 8, 12, 24},
        // Fits in a block of the previous size: keep the size.
        GrowthCase{"FitsKeepsSize", 8, "abc", 4, 1, 8},
        // Current plus request would not fit: enlarge by the request.
        GrowthCase{"EnlargedByRequest", 8, "ab", 4, 6, 14},
        // A request larger than the block on an empty current string.
        GrowthCase{"LargeRequest", 8, "abcdef", 0, 20, 20}),
    [](const testing::TestParamInfo<GrowthCase>& info) { return info.param.name; });

TEST(StrBufsGrowth, BlockHoldingOnlyTheMovedStringIsFreed) {
  StrBufs buf(8);
  buf.push("abcdefgh");
  buf.push('i');  // the first block held nothing but this string
  buf.finish();
  EXPECT_EQ(buf.totalSize(), 10u);
  buf.clear();
  // The surviving first block is the doubled one.
  EXPECT_EQ(buf.capacity(), 16u);
}

TEST(StrBufsGrowth, ClearKeepsTheFirstBlockAndResetResizes) {
  StrBufs buf(16);
  for (int i = 0; i < 100; ++i) buf.copy("some text");
  EXPECT_EQ(buf.totalSize(), 1000u);
  buf.clear();
  EXPECT_EQ(buf.totalSize(), 0u);
  EXPECT_EQ(buf.capacity(), 16u);
  EXPECT_STREQ(buf.copy("again"), "again");
  buf.reset(100);
  EXPECT_EQ(buf.capacity(), 100u);
  EXPECT_EQ(buf.totalSize(), 0u);
}

TEST(StrBufsGrowth, TotalSizeCountsFinishedAndCurrentBytes) {
  StrBufs buf(4);
  buf.copy("abc");  // 4 bytes, fills the block
  buf.copy("de");   // 3 bytes in a new block
  buf.push("f");    // 1 unfinished byte
  EXPECT_EQ(buf.totalSize(), 8u);
}

// ---- Appends ----

TEST(StrBufsAppend, StringsIntegersRawBytesAndAllocate) {
  StrBufs buf(4);
  buf.push("a", nullptr, "b", nullptr, "c");
  buf.push(nullptr);
  buf.push(std::string_view("de"));
  buf.push(0);
  buf.push(-42);
  buf.push(INT_MIN);
  buf.push(123456789012LL);
  buf.push(7u);
  char* slot = buf.allocate(2);
  slot[0] = '<';
  slot[1] = '>';
  buf.push("\0x", 2);  // raw bytes do not complete
  std::string expected = "abcde0-42-2147483648";
  expected += "1234567890127<>";
  expected += std::string("\0x", 2);
  EXPECT_EQ(current(buf), expected);
}

TEST(StrBufsAppend, ConcatAndCopyComplete) {
  StrBufs buf(8);
  char* a = buf.concat("one", nullptr, "two", "three");
  char* b = buf.copy(static_cast<const char*>(nullptr));
  char* c = buf.copy(std::string_view("xyz", 2));
  EXPECT_STREQ(a, "onetwothree");
  EXPECT_STREQ(b, "");
  EXPECT_STREQ(c, "xy");
}

struct FloatCase {
  double value;
  const char* text;
};

class StrBufsPushFloat : public testing::TestWithParam<FloatCase> {};

TEST_P(StrBufsPushFloat, TrailingZeroRule) {
  StrBufs buf(4);
  buf.push(GetParam().value);
  EXPECT_EQ(current(buf), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StrBufsPushFloat,
    testing::Values(FloatCase{2.5, "2.5"}, FloatCase{3.0, "3"}, FloatCase{100.0, "100"},
                    FloatCase{0.0, "0"}, FloatCase{0.125, "0.125"}, FloatCase{1e-7, "0"},
                    FloatCase{1.0000001, "1"}, FloatCase{-1.5, "-1.500000"},
                    FloatCase{-0.0, "-0.000000"}, FloatCase{1e300 * 1e300, "inf"},
                    FloatCase{static_cast<float>(0.1), "0.1"}));

TEST(StrBufsAppend, FloatOfHugeMagnitudeIsWrittenWhole) {
  StrBufs buf(4);
  buf.push(1e300);
  std::string text = current(buf);
  EXPECT_EQ(text.size(), 301u);
  EXPECT_EQ(text.substr(0, 4), "1000");
}

// ---- Binary packing ----

TEST(StrBufsBinary, WritesMostSignificantByteFirst) {
  StrBufs buf(4);
  buf.push_int(0x01020304);
  buf.push_long(-2);
  buf.push_short(0x0A0B);
  buf.push_float(1.0f);
  buf.push_char('\0');
  const unsigned char expected[] = {1,    2,    3,    4,    0xFF, 0xFF, 0xFF, 0xFE,
                                    0x0A, 0x0B, 0x3F, 0x80, 0,    0,    0};
  ASSERT_EQ(buf.length(), sizeof expected);
  EXPECT_EQ(std::memcmp(buf.str(), expected, sizeof expected), 0);
}

TEST(StrBufsBinary, ReadersDecodeAndAdvance) {
  StrBufs buf(4);
  buf.push_int(-2);
  buf.push_int(-2);
  buf.push_long(-3);
  buf.push_long(-3);
  buf.push_short(-4);
  buf.push_short(-4);
  buf.push_char('\xE9');
  buf.push_char('\xE9');
  buf.push_float(-2.75f);
  buf.push("word", 5);
  buf.push("\x01\x02\x03", 3);
  buf.push_int(77);
  const char* cur = buf.str();
  const char* end = cur + buf.length();

  EXPECT_EQ(StrBufs::get_int(cur), -2);
  EXPECT_EQ(StrBufs::get_unsigned_int(cur), 4294967294u);
  EXPECT_EQ(StrBufs::get_long(cur), -3L);
  EXPECT_EQ(StrBufs::get_unsigned_long(cur), 4294967293ul);
  EXPECT_EQ(StrBufs::get_short(cur), -4);
  EXPECT_EQ(StrBufs::get_unsigned_short(cur), 65532);
  EXPECT_EQ(StrBufs::get_char(cur), '\xE9');
  EXPECT_EQ(StrBufs::get_unsigned_char(cur), 0xE9);
  EXPECT_EQ(StrBufs::get_float(cur), -2.75f);
  EXPECT_STREQ(StrBufs::get_str(cur), "word");
  char fixed[3];
  StrBufs::get_fixed(cur, fixed, 3);
  EXPECT_EQ(std::memcmp(fixed, "\x01\x02\x03", 3), 0);
  EXPECT_EQ(StrBufs::get_int(cur), 77);
  EXPECT_EQ(cur, end);
}

// ---- Reading lines and streams ----

TEST(StrBufsRead, GetlineStripsNewlineAndCarriageReturn) {
  std::istringstream in("one\r\ntwo\n\nlast");
  StrBufs buf(4);
  std::vector<std::string> lines;
  while (char* line = buf.getline(in, true)) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "last"}));
  EXPECT_EQ(buf.getline(in, true), nullptr);
}

TEST(StrBufsRead, GetlineWithoutStripKeepsTheNewline) {
  std::istringstream in("a\r\n\nb");
  StrBufs buf(4);
  EXPECT_STREQ(buf.getline(in, false), "a\r\n");
  EXPECT_STREQ(buf.getline(in, false), "\n");
  EXPECT_STREQ(buf.getline(in, false), "b");
  EXPECT_EQ(buf.getline(in, false), nullptr);
}

TEST(StrBufsRead, GetlineOfEmptyStreamIsNullAndLongLinesGrow) {
  std::istringstream empty("");
  StrBufs buf(4);
  EXPECT_EQ(buf.getline(empty), nullptr);
  std::string longline(5000, 'z');
  std::istringstream in(longline + "\nnext\n");
  EXPECT_EQ(buf.getline(in), longline);
  EXPECT_STREQ(buf.getline(in), "next");
}

TEST(StrBufsRead, GetallReadsTheRest) {
  std::string text(10000, 'q');
  text += "\nend\n";
  std::istringstream in("first\n" + text);
  StrBufs buf(16);
  EXPECT_STREQ(buf.getline(in), "first");
  EXPECT_EQ(buf.getall(in), text);
  EXPECT_STREQ(buf.getall(in), "");
}

// ---- Tokens from a cursor ----

struct TokenCase {
  const char* text;
  std::vector<std::string> tokens;
  std::string rest;  // text left at the cursor after the calls
};

std::vector<std::string> split(const char*& cur, const std::function<char*(const char*&)>& take) {
  std::vector<std::string> out;
  while (char* t = take(cur)) out.emplace_back(t);
  return out;
}

TEST(StrBufsTokens, GetTokenSplitsAtEachDelimiter) {
  const TokenCase cases[] = {
      {"a,b;c", {"a", "b", "c"}, ""},
      {"a,,b", {"a", "", "b"}, ""},
      {",a", {"", "a"}, ""},
      {"a,", {"a"}, ""},
      {"", {}, ""},
  };
  for (const TokenCase& c : cases) {
    StrBufs buf(4);
    const char* cur = c.text;
    auto got = split(cur, [&](const char*& p) { return buf.get_token(p, ",;"); });
    EXPECT_EQ(got, c.tokens) << c.text;
  }
}

TEST(StrBufsTokens, GetTokSkipsAroundTokensOfAtLeastOneCharacter) {
  const TokenCase cases[] = {
      {"  ab  cd ", {"ab", "cd"}, ""},
      {"ab(cd)", {"ab", "(cd", ")"}, ""},  // a delimiter starts a token of its own
      {"   ", {}, ""},
      {"x", {"x"}, ""},
  };
  for (const TokenCase& c : cases) {
    StrBufs buf(4);
    const char* cur = c.text;
    auto got = split(cur, [&](const char*& p) { return buf.get_tok(p, " ()", " "); });
    EXPECT_EQ(got, c.tokens) << c.text;
  }
}

TEST(StrBufsTokens, GetQuoteHonoursEscapeAndStopsAfterTheClose) {
  const TokenCase cases[] = {
      {"abc\" rest", {"abc"}, " rest"},
      {"a\\\"b\" x", {"a\"b"}, " x"},
      {"a\\\\\"b", {"a\\"}, "b"},
      {"unterminated", {"unterminated"}, ""},
      {"\"", {""}, ""},
  };
  for (const TokenCase& c : cases) {
    StrBufs buf(4);
    const char* cur = c.text;
    EXPECT_EQ(std::string(buf.get_quote(cur, '"', '\\')), c.tokens[0]) << c.text;
    EXPECT_EQ(std::string(cur), c.rest) << c.text;
  }
}

// ---- Parenthesised items ----

struct ItemCase {
  const char* text;
  std::vector<std::string> items;
  bool unmatched;  // the last attempt reports an unmatched parenthesis
};

class StrBufsNextItem : public testing::TestWithParam<ItemCase> {};

TEST_P(StrBufsNextItem, FromCursor) {
  const ItemCase& c = GetParam();
  StrBufs buf(4);
  const char* cur = c.text;
  testing::internal::CaptureStderr();
  auto got = split(cur, [&](const char*& p) { return buf.next_item(p); });
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(got, c.items);
  EXPECT_EQ(*cur, '\0');
  EXPECT_EQ(err, c.unmatched ? "next_item: unmatched parenthesis\n" : "");
}

TEST_P(StrBufsNextItem, FromStream) {
  const ItemCase& c = GetParam();
  StrBufs buf(4);
  std::istringstream in(c.text);
  testing::internal::CaptureStderr();
  std::vector<std::string> got;
  while (char* item = buf.next_item(in)) got.emplace_back(item);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(got, c.items);
  EXPECT_EQ(err, c.unmatched ? "next_item: unmatched parenthesis\n" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrBufsNextItem,
    testing::Values(
        ItemCase{"junk (a (b c) d) more (e)\n", {"(a (b c) d)", "(e)"}, false},
        ItemCase{"(\"a ) quoted (\" x)", {"(\"a ) quoted (\" x)"}, false},
        ItemCase{"(\"escaped \\\" ) still quoted\")", {"(\"escaped \\\" ) still quoted\")"},
                 false},
        ItemCase{"no items here", {}, false},
        ItemCase{"(ok) (broken (x)", {"(ok)"}, true},
        ItemCase{"(\"never closed)", {}, true}));

// ---- Quoting ----

TEST(StrBufsQuote, QuoteWhiteReturnsPlainWordsThemselves) {
  for (const char* s : {"abc", "a-b.c", "x'y", "[]{}", "#:+"}) {
    EXPECT_EQ(StrBufs::quote_white(s), s) << s;
  }
}

TEST(StrBufsQuote, QuoteWhiteWrapsAndEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "\"\""},
      {"a b", "\"a b\""},
      {"tab\there", "\"tab\there\""},
      {"nl\n", "\"nl\n\""},
      {"cr\r", "\"cr\r\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"(x)", "\"(x)\""},
      {"a,b", "\"a,b\""},
      {"a;b", "\"a;b\""},
      {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
  };
  for (const auto& [in, out] : cases) EXPECT_STREQ(StrBufs::quote_white(in), out) << in;
  EXPECT_STREQ(StrBufs::quote_white(nullptr), "\"\"");
}

TEST(StrBufsQuote, SeveralQuotedCopiesStayValidTogether) {
  const char* a = StrBufs::quote_white("a b");
  const char* b = StrBufs::quote_white("c d");
  std::ostringstream out;
  out << a << b << StrBufs::quote_white("e f");
  EXPECT_EQ(out.str(), "\"a b\"\"c d\"\"e f\"");
}

TEST(StrBufsQuote, QuoteForHtml) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a b", "a+b"},
      {"Az09*-.@_", "Az09*-.@_"},
      {"a+b=c&d", "a%2Bb%3Dc%26d"},
      {"\t\n/~", "%09%0A%2F%7E"},
      {"\xC3\xA9", "%C3%A9"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(StrBufs::quote_for_html(in), out) << in;
  EXPECT_EQ(StrBufs::quote_for_html(nullptr), "");
}

}  // namespace
}  // namespace lorvan
