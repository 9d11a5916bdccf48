// The word tokenizer end to end on in-memory streams: output of both modes,
// offsets, segment handling, exit statuses, and independence from how the
// input is cut into reads.
#include "token/scanner.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "string_streams.h"

namespace lorvan::token {
namespace {

using testing::scan;
using testing::segment;
constexpr TokenScanner::Mode kBlanks = TokenScanner::Mode::kBlanks;
constexpr TokenScanner::Mode kSpans = TokenScanner::Mode::kSpans;

struct ScanCase {
  const char* name;
  std::string input;
  TokenScanner::Mode mode;
  std::string expected;
};

std::string w(int s, int e, std::string_view text) {
  return "<w s='" + std::to_string(s) + "' e='" + std::to_string(e) + "'>" +
         std::string(text) + "</w>";
}

const ScanCase kCases[] = {
    // A clitic token gets an inserted blank before the input's own blank;
    // only the full stop that ends the segment is split off.
    {"clitic_and_final_stop", segment("John's dog barked."), kBlanks,
     "^ John 's  dog barked .\n"},
    {"clitic_and_final_stop_spans", segment("John's dog barked."), kSpans,
     "^ " + w(2, 5, "John") + " " + w(6, 7, "'s") + "  " + w(9, 11, "dog") + " " +
         w(13, 18, "barked") + " " + w(19, 19, ".") + "\n"},
    {"abbreviation_mid_segment", segment("Mr. Smith"), kSpans,
     "^ " + w(2, 4, "Mr.") + " " + w(6, 10, "Smith") + "\n"},
    {"single_letter_abbreviation_at_end", segment("the U.S."), kSpans,
     "^ " + w(2, 4, "the") + " " + w(6, 9, "U.S.") + "\n"},
    {"abbreviation_at_end", segment("see e.g."), kBlanks, "^ see e.g.\n"},
    {"number_keeps_its_stop", segment("3.14 is pi."), kBlanks, "^ 3.14 is pi .\n"},
    {"negation", segment("can't"), kBlanks, "^ ca n't \n"},
    {"contractions", segment("I'm sure they'll say we're done"), kBlanks,
     "^ I 'm  sure they 'll  say we 're  done\n"},
    {"clitics_are_case_exact", segment("ISN'T Can'T We'Re"), kBlanks,
     "^ IS N'T  Can'T We'Re\n"},
    {"clitic_after_digit_stays_attached", segment("1990's boom"), kBlanks,
     "^ 1990's  boom\n"},
    {"clitic_before_tag", segment("it's<b> x"), kBlanks, "^ it 's<b> x\n"},
    {"plural_possessive", segment("dogs' bone"), kSpans,
     "^ " + w(2, 5, "dogs") + " " + w(6, 6, "'") + " " + w(8, 11, "bone") + "\n"},
    {"brackets_mid_segment", segment("(approx.) today"), kBlanks,
     "^ ( approx. ) today\n"},
    // END looks through ")" to the end of the segment, so this stop is
    // final.
    {"brackets_at_end", segment("(approx.)"), kBlanks, "^ ( approx . )\n"},
    {"stop_inside_quotes_at_end", segment("etc.\""), kBlanks, "^ etc . \"\n"},
    {"stop_before_closing_quotes_at_end", segment("end.''"), kBlanks, "^ end . ''\n"},
    {"currency", segment("$5"), kSpans, "^ " + w(2, 2, "$") + " " + w(3, 3, "5") + "\n"},
    {"latin1_pound", segment("\xa3" "5 and \xa3"), kBlanks, "^ \xa3 5 and \xa3\n"},
    {"ellipsis_inside_word", segment("wait...more"), kSpans,
     "^ " + w(2, 5, "wait") + " " + w(6, 8, "...") + " " + w(9, 12, "more") + "\n"},
    {"four_stops", segment("so.... ok"), kSpans,
     "^ " + w(2, 3, "so") + "  " + w(4, 6, "...") + w(7, 7, ".") + " " + w(9, 10, "ok") +
         "\n"},
    {"double_hyphen", segment("a--b"), kSpans,
     "^ " + w(2, 2, "a") + " " + w(3, 4, "--") + " " + w(5, 5, "b") + "\n"},
    {"triple_hyphen", segment("a---b"), kBlanks, "^ a - -- b\n"},
    {"hyphens_before_newline", segment("well--"), kBlanks, "^ well -- \n"},
    {"comma_before_closing_quotes_stays", segment("said,'' she"), kBlanks,
     "^ said, '' she\n"},
    {"comma_after_closing_quotes_splits", segment("said'', she"), kBlanks,
     "^ said '' , she\n"},
    {"opening_quotes", segment("``Hi,'' he said"), kBlanks, "^ `` Hi, '' he said\n"},
    {"plural_in_parentheses", segment("word(s) and (s)"), kBlanks,
     "^ word(s)  and (s) \n"},
    {"entities", segment("AT&amp;T & co"), kSpans,
     "^ " + w(2, 9, "AT&amp;T") + " " + w(11, 11, "&") + " " + w(13, 14, "co") + "\n"},
    {"word_element_kept_whole", segment("see <w s='1'>x</w> now"), kBlanks,
     "^ see  <w s='1'>x</w>  now\n"},
    {"white_space_kinds", segment("a\tb\rc\fd\ve"), kSpans,
     "^ " + w(2, 2, "a") + "\t" + w(4, 4, "b") + "\r" + w(6, 6, "c") + "\f" + w(8, 8, "d") +
         "\v" + w(10, 10, "e") + "\n"},
    {"nul_and_high_bytes", segment(std::string("a\0b caf\xc3\xa9.", 10)), kSpans,
     "^ " + w(2, 4, std::string("a\0b", 3)) + " " + w(6, 10, "caf\xc3\xa9") + " " +
         w(11, 11, ".") + "\n"},
    // Segments: text outside them is copied; each marker restarts offsets;
    // the next marker ends a segment for END as "$$EOF$$" does.
    {"text_outside_segments_is_copied", "before. it's\n^ a.\n^^ after. it's\n", kSpans,
     "before. it's\n^ " + w(2, 2, "a") + " " + w(3, 3, ".") + "\n^^ after. it's\n"},
    {"lone_carets_and_dollars_outside", "x^y $z\n^ w\n", kBlanks, "x^y $z\n^ w\n"},
    {"offsets_restart_per_segment", "^ Hi.\n^ Go.\n", kSpans,
     "^ " + w(2, 3, "Hi") + " " + w(4, 4, ".") + "\n^ " + w(2, 4, "Go.") + "\n"},
    {"marker_inside_token", "^ ab^ cd\n", kSpans,
     "^ " + w(2, 3, "ab") + "^ " + w(2, 3, "cd") + "\n"},
    {"end_marker_stops_the_run", "^ a\n$$EOF$$\n^ b\n", kBlanks, "^ a\n"},
    // A token cut off by the end of the run or by "^^" is still written,
    // and never leaks into the next segment's first token.
    {"input_without_final_newline", "^ the end", kSpans,
     "^ " + w(2, 4, "the") + " " + w(6, 8, "end")},
    {"input_without_final_newline_blanks", "^ the end", kBlanks, "^ the end"},
    {"end_marker_right_after_token", "^ abc$$EOF$$ rest", kSpans, "^ " + w(2, 4, "abc")},
    {"token_running_into_double_caret", "^ foo^^ bar\n^ baz\n", kSpans,
     "^ " + w(2, 4, "foo") + "^^ bar\n^ " + w(2, 4, "baz") + "\n"},
    {"empty_input", "", kSpans, ""},
};

class ScanTableTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ScanTableTest, ProducesExpectedOutput) {
  for (const ScanCase& c : kCases) {
    SCOPED_TRACE(c.name);
    testing::ScanResult r = scan(c.input, c.mode, GetParam());
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.status, kSuccess);
    EXPECT_EQ(r.err, "");
  }
}

// The same results whether the input arrives whole or a few bytes a read.
INSTANTIATE_TEST_SUITE_P(ReadSizes, ScanTableTest,
                         ::testing::Values(std::string::npos, 1, 5),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           return info.param == std::string::npos
                                      ? std::string("WholeInput")
                                      : "Reads" + std::to_string(info.param);
                         });

TEST(ScanLimitsTest, SpanModeTokenLimit) {
  std::string longest(TokenScanner::kMaxToken, 'a');
  testing::ScanResult ok = scan(segment(longest), kSpans);
  EXPECT_EQ(ok.status, kSuccess);
  EXPECT_EQ(ok.out, "^ " + w(2, 1001, longest) + "\n");

  // The token is collected byte by byte, so the buffer is full when the
  // 1001st byte arrives.
  testing::ScanResult over = scan("^ x " + longest + "a\n", kSpans, 100);
  EXPECT_EQ(over.status, kTokenOverflow);
  EXPECT_EQ(over.err, "Token buffer overflow at '" + longest + "'\n");
  EXPECT_EQ(over.out, "^ " + w(2, 2, "x") + " ");

  // A single match that does not fit leaves the buffer as it was.
  testing::ScanResult entity = scan(segment("ab&" + std::string(998, 'x') + ";"), kSpans);
  EXPECT_EQ(entity.status, kTokenOverflow);
  EXPECT_EQ(entity.err, "Token buffer overflow at 'ab'\n");
}

TEST(ScanLimitsTest, BlankModeHasNoTokenLimit) {
  std::string word(5000, 'a');
  testing::ScanResult r = scan(segment(word + "."), kBlanks);
  EXPECT_EQ(r.status, kSuccess);
  EXPECT_EQ(r.out, "^ " + word + " .\n");
}

TEST(ScanLimitsTest, MatchLongerThanInputBufferIsAScannerError) {
  std::string blanks(20000, ' ');
  const std::string kTooLong[] = {
      segment("<w>" + std::string(20000, 'x') + "</w>"),  // the match itself
      "^ a." + blanks + "^ b\n",                          // its right context
  };
  for (const std::string& input : kTooLong) {
    for (TokenScanner::Mode mode : {kBlanks, kSpans}) {
      testing::ScanResult r = scan(input, mode);
      EXPECT_EQ(r.status, kScannerError);
      EXPECT_NE(r.err.find("longer than 16384"), std::string::npos) << r.err;
    }
  }
}

TEST(ScanLimitsTest, LongLookAheadThatFailsToMatchIsNoError) {
  // Neither the END after the stop nor the word element is complete, so
  // the bytes are scanned as ordinary text.
  std::string blanks(20000, ' ');
  testing::ScanResult stop = scan("^ a." + blanks + "x\n", kBlanks);
  EXPECT_EQ(stop.status, kSuccess);
  EXPECT_EQ(stop.out, "^ a." + blanks + "x\n");

  // Past the look-ahead a would-be word element is given up on.
  std::string body(InputWindow::kLookahead + 100, 'x');
  testing::ScanResult element = scan("^ <w>" + body + "</w>\n", kBlanks, 4096);
  EXPECT_EQ(element.status, kSuccess);
  EXPECT_TRUE(element.out == "^ <w>" + body + "</w>\n");
}

// How the input is cut into reads changes what the scanner has buffered
// when it decides, never the output: random text with every kind of byte
// the rules look at, markers included.
TEST(ScanStreamingTest, OutputDoesNotDependOnReadSizes) {
  const std::string kPieces[] = {"a", "N", "n", "s", "t", "'", ".", "-", "(", ")", " ",
                                 "<", ">", "w", "&", ";", "\"", "!", ",", "`", "\n",
                                 "0", "\xa3", "^ ", "^^", "$$EOF", "n't", "(s)", "..."};
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string input = "^ ";
  while (input.size() < 100000) input += kPieces[pick(rng)];
  for (TokenScanner::Mode mode : {kBlanks, kSpans}) {
    testing::ScanResult whole = scan(input, mode);
    testing::ScanResult bytewise = scan(input, mode, 1);
    EXPECT_EQ(whole.status, kSuccess);
    EXPECT_EQ(bytewise.status, kSuccess);
    EXPECT_TRUE(whole.out == bytewise.out);  // too large for a readable diff
  }
}

// Runs far longer than the look-ahead: each must be scanned in one pass
// (a rescan per byte would not finish), and none is a single match.
TEST(ScanStreamingTest, LongRunsOfOneKind) {
  const std::size_t kRun = 3 * InputWindow::kLookahead;
  const std::string kRuns[] = {
      std::string(kRun, 'a') + " x\n",       // letters that might reach "(s)"
      std::string(kRun, '!') + "x\n",        // closing bytes looking for T
      "a." + std::string(kRun, ')') + "x\n",  // END that never ends
      "<w>" + std::string(kRun, 'b') + "\n",  // an unfinished word element
      "&" + std::string(kRun, 'c') + "\n",    // an unfinished entity
  };
  for (const std::string& run : kRuns) {
    SCOPED_TRACE(run.substr(0, 4));
    testing::ScanResult r = scan("^ " + run, kBlanks, 65536);
    EXPECT_EQ(r.status, kSuccess);
    EXPECT_EQ(r.out.size(), 2 + run.size());  // nothing to split
  }
}

TEST(ScanStreamingTest, LargeInputMatchesSegmentBySegment) {
  const std::string kSegment = "^ \"Don't,\" she said (twice)... U.S. $5 -- ok!\n";
  testing::ScanResult one = scan(kSegment, kSpans);
  ASSERT_EQ(one.status, kSuccess);
  std::string input, expected;
  while (input.size() < 4 * InputWindow::kLookahead) {
    input += kSegment;
    expected += one.out;
  }
  testing::ScanResult all = scan(input, kSpans, 10000);
  EXPECT_EQ(all.status, kSuccess);
  EXPECT_TRUE(all.out == expected);  // too large for a readable diff
}

class FailingReader : public ByteReader {
 public:
  long read(char* dst, std::size_t capacity) override {
    if (served_) return -1;
    served_ = true;
    std::string_view text = "^ abc";
    std::size_t n = std::min(capacity, text.size());
    std::copy_n(text.data(), n, dst);
    return static_cast<long>(n);
  }
  std::string error() const override { return "device on fire"; }

 private:
  bool served_ = false;
};

TEST(ScanErrorsTest, ReadFailureIsAScannerError) {
  FailingReader in;
  testing::StringWriter out, err;
  EXPECT_EQ(TokenScanner(in, out, err, kSpans).run(), kScannerError);
  EXPECT_EQ(err.text, "token: input error: device on fire\n");
}

}  // namespace
}  // namespace lorvan::token
