// Rule selection: longest match with right contexts, ties to the earlier
// rule, rules limited to their start conditions.
#include "token/rule_matcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "string_streams.h"
#include "token/input_window.h"

namespace lorvan::token {
namespace {

using testing::StringReader;
constexpr StartCondition kOut = StartCondition::kOutside;
constexpr StartCondition kBtw = StartCondition::kBetween;
constexpr StartCondition kIn = StartCondition::kInside;

struct MatchCase {
  const char* text;
  StartCondition sc;
  Rule rule;
  std::size_t consumed;
  std::size_t length;
};

RuleMatch match_at_start(const std::string& text, StartCondition sc) {
  StringReader reader(text);
  InputWindow in(reader);
  RuleMatcher matcher(in);
  return matcher.longest(0, sc);
}

TEST(RuleMatcherTest, ChoosesLongestMatchThenEarliestRule) {
  const MatchCase kCases[] = {
      // Markers win in every condition.
      {"^ x", kOut, kSegmentMarker, 2, 2},
      {"^ x", kIn, kSegmentMarker, 2, 2},
      {"^^x", kBtw, kDoubleCaret, 2, 2},
      {"$$EOF$$", kBtw, kEndMarker, 7, 7},
      {"$$EOF", kOut, kCopy, 1, 1},
      {"x", kOut, kCopy, 1, 1},
      {"", kIn, kNoRule, 0, 0},
      // Full stops: END counts towards the length, so it beats a full stop
      // before white space; a letter between stops keeps the abbreviation.
      {".S.\n$$EOF$$", kIn, kAbbreviationEnd, 3, 11},
      {".S. x", kIn, kFullStop, 1, 1},
      {".\n^ ", kIn, kFinalStop, 1, 3},
      {".\")'' $$EOF$$", kIn, kFinalStop, 1, 13},
      {".''' ^", kIn, kFullStop, 1, 1},
      {". x", kIn, kLastByte, 1, 2},
      {".x", kIn, kFullStop, 1, 1},
      // Ellipses.
      {"...\n", kIn, kClosing, 3, 4},
      {"...x", kIn, kEllipsis, 3, 4},
      {"....x", kIn, kBeforeEllipsis, 1, 4},
      {"....\n", kIn, kClosing, 3, 5},
      {"...", kIn, kFullStop, 1, 1},
      // Quotes and closing punctuation.
      {"'' x", kBtw, kClosingQuotes, 2, 3},
      {"''x", kBtw, kOpener, 2, 2},
      {"''x", kIn, kByte, 1, 1},
      {",'' ", kIn, kByte, 1, 1},
      {",) ", kIn, kClosing, 1, 3},
      {",<", kIn, kClosing, 1, 2},
      {"\" ", kBtw, kClosing, 1, 2},
      {"\"x", kBtw, kOpener, 1, 1},
      {"``x", kBtw, kOpener, 2, 2},
      {"$5", kBtw, kOpener, 1, 1},
      {"$5", kIn, kByte, 1, 1},
      {"\xa3" "5", kBtw, kOpener, 1, 1},
      {"\xa3" "5", kIn, kByte, 1, 1},
      // Clitics: exactly the listed spellings.
      {"n's ", kIn, kBeforeClitic, 1, 4},
      {"an't ", kIn, kBeforeClitic, 1, 5},
      {"n't ", kIn, kClitic, 3, 4},
      {"N'T\t", kIn, kClitic, 3, 4},
      {"n'T ", kIn, kByte, 1, 1},
      {"a'Ll ", kIn, kByte, 1, 1},
      {"a'LL! ", kIn, kBeforeClitic, 1, 6},
      {"'s<", kIn, kCliticBeforeTag, 2, 3},
      {"'s.<", kIn, kClitic, 2, 4},
      {"'re", kIn, kByte, 1, 1},
      {"s' ", kIn, kPluralPossessive, 1, 3},
      {"s's ", kIn, kBeforeClitic, 1, 4},
      {"1's ", kIn, kByte, 1, 1},
      // "(s)" is consumed with the letters before it.
      {"word(s)", kIn, kPluralParen, 7, 7},
      {"(s)", kBtw, kPluralParen, 3, 3},
      {"word(s", kIn, kByte, 1, 1},
      // Entities and word elements are taken whole.
      {"&amp;", kIn, kEntity, 5, 5},
      {"&#38;", kIn, kEntity, 5, 5},
      {"&#;", kIn, kByte, 1, 1},
      {"&;", kIn, kByte, 1, 1},
      {"<w a>b c</w >", kBtw, kWordElement, 13, 13},
      {"<w>\n</w>", kIn, kWordElement, 8, 8},
      {"<w>b</x>", kIn, kByte, 1, 1},
      {"<w>b<i></w>", kIn, kByte, 1, 1},
      // Dashes.
      {"a--b", kIn, kBeforeDashes, 1, 3},
      {"--b", kIn, kDashes, 2, 3},
      {"---", kIn, kBeforeDashes, 1, 3},
      {"--", kIn, kByte, 1, 1},
      // White space and single bytes.
      {"a b", kIn, kLastByte, 1, 2},
      {" ", kIn, kSpace, 1, 1},
      {"\v", kBtw, kSpace, 1, 1},
  };
  for (const MatchCase& c : kCases) {
    SCOPED_TRACE(::testing::Message() << "text \"" << c.text << "\"");
    RuleMatch m = match_at_start(c.text, c.sc);
    EXPECT_EQ(m.rule, c.rule);
    EXPECT_EQ(m.consumed, c.consumed);
    EXPECT_EQ(m.length, c.length);
  }
}

TEST(RuleMatcherTest, NulByteIsAWordByte) {
  RuleMatch m = match_at_start(std::string("\0 ", 2), kIn);
  EXPECT_EQ(m.rule, kLastByte);
  EXPECT_EQ(m.length, 2u);
}

// Random text over the bytes the rules care about, with a few "(s)".
std::string random_text() {
  const std::string kAlphabet = "aAnNsStl'.-( )<>w/&;#^$\"!,`\n0\xa3";
  std::mt19937 rng(12345);
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string text;
  for (int i = 0; i < 200000; ++i) text += kAlphabet[pick(rng)];
  for (const char* word : {"word(s) ", "Kids(s)", "abc(s", "x(s)"}) text += word;
  text += std::string(100, 'k') + "(s) " + std::string(100, 'k') + " ";
  return text;
}

// longest(), plain_run() and plain_word() take short cuts; they must decide every byte
// exactly as the search over all candidate rules does.
TEST(RuleMatcherTest, ShortCutsAgreeWithFullSearch) {
  std::string text = random_text();
  StringReader reader(text);
  InputWindow in(reader);
  RuleMatcher matcher(in);
  std::size_t plain = 0;
  for (std::uint64_t p = 0; p < text.size(); ++p) {
    in.set_mark(p);
    bool is_plain = matcher.plain_run(p, 1) == 1;
    bool is_last = matcher.plain_word(p, 1) == 1;
    plain += is_plain;
    for (StartCondition sc : {kOut, kBtw, kIn}) {
      RuleMatch fast = matcher.longest(p, sc);
      RuleMatch full = matcher.search(p, sc);
      ASSERT_EQ(fast.rule, full.rule) << "at " << p << ": " << text.substr(p, 12);
      ASSERT_EQ(fast.consumed, full.consumed) << "at " << p;
      ASSERT_EQ(fast.length, full.length) << "at " << p;
      if (is_plain && sc != kOut) {
        ASSERT_EQ(full.rule, kByte) << "at " << p << ": " << text.substr(p, 12);
        ASSERT_EQ(full.length, 1u) << "at " << p;
      }
      if (is_last && sc != kOut) {
        ASSERT_EQ(full.rule, kLastByte) << "at " << p << ": " << text.substr(p, 12);
      }
    }
  }
  EXPECT_GT(plain, 1000u);  // the check saw plenty of plain bytes
}

TEST(RuleMatcherTest, PlainRunStopsWhereAWordEnds) {
  StringReader reader("abcde fg");
  InputWindow in(reader);
  RuleMatcher matcher(in);
  EXPECT_EQ(matcher.plain_run(0, 100), 0u);  // nothing read yet
  in.at(0);
  EXPECT_EQ(matcher.plain_run(0, 100), 4u);  // "e" ends the token
  EXPECT_EQ(matcher.plain_run(0, 2), 2u);
  EXPECT_EQ(matcher.plain_run(5, 100), 0u);  // white space
}

}  // namespace
}  // namespace lorvan::token
