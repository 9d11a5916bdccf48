#include "regexp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lorvan {
namespace {

// What a group matched: its text, or "-" when it took no part.
std::vector<std::string> groups_of(const regexp& prog, std::size_t count) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < count; ++i) {
    if (prog.startp[i] == nullptr || prog.endp[i] == nullptr)
      out.push_back("-");
    else
      out.emplace_back(prog.startp[i], prog.endp[i]);
  }
  return out;
}

struct MatchCase {
  const char* pattern;
  const char* text;
  int start;  // offset of the whole match, -1 for no match
  std::vector<std::string> groups;  // slots 0, 1, ...
};

class RegexpMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RegexpMatchTest, FindsLeftmostMatchAndGroups) {
  const MatchCase& c = GetParam();
  RegexpPtr prog(regcomp(c.pattern));
  const int found = regexec(prog.get(), c.text);
  if (c.start < 0) {
    EXPECT_EQ(found, 0);
    EXPECT_EQ(prog->startp[0], nullptr);
    return;
  }
  ASSERT_EQ(found, 1);
  EXPECT_EQ(prog->startp[0] - c.text, c.start);
  EXPECT_EQ(groups_of(*prog, c.groups.size()), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Literals, RegexpMatchTest,
    ::testing::Values(
        MatchCase{"abc", "xabcx", 1, {"abc"}},
        MatchCase{"abd", "abcabc", -1, {}},
        MatchCase{"", "abc", 0, {""}},
        MatchCase{"b", "aab", 2, {"b"}},
        // The literal before a repetition gives up its last byte to it.
        MatchCase{"abc*", "abd", 0, {"ab"}},
        MatchCase{"abc+", "xabccc", 1, {"abccc"}},
        MatchCase{"ab+", "ababb", 0, {"ab"}},
        MatchCase{"a\\.c", "abc a.c", 4, {"a.c"}},
        MatchCase{"\\*\\(\\\\", "a*(\\", 1, {"*(\\"}},
        MatchCase{"\\a", "ba", 1, {"a"}},
        // Matching is case-sensitive and bytes above 127 are ordinary.
        MatchCase{"The", "the The", 4, {"The"}},
        MatchCase{"\xe9+", "caf\xe9\xe9s", 3, {"\xe9\xe9"}},
        MatchCase{".", "\x80", 0, {"\x80"}}));

INSTANTIATE_TEST_SUITE_P(
    Repetitions, RegexpMatchTest,
    ::testing::Values(
        // Leftmost wins over longest: a* matches empty at 0.
        MatchCase{"a*", "baaa", 0, {""}},
        MatchCase{"a+", "baaa", 1, {"aaa"}},
        MatchCase{"a*ab", "xaaab", 1, {"aaab"}},
        MatchCase{".*b", "abcbd", 0, {"abcb"}},
        MatchCase{"a?b", "ab", 0, {"ab"}},
        MatchCase{"a?a", "a", 0, {"a"}},
        MatchCase{"x+y", "xxxz", -1, {}},
        MatchCase{"[0-9]+\\.[0-9]*", "v12.5x", 1, {"12.5"}},
        MatchCase{"(ab)*c", "ababc", 0, {"ababc", "ab"}},
        MatchCase{"(ab)+", "xabab", 1, {"abab", "ab"}},
        MatchCase{"(ab)?c", "abc", 0, {"abc", "ab"}},
        MatchCase{"(a+)+b", "aaab", 0, {"aaab", "aaa"}},
        MatchCase{"(a|b)*c", "abbc", 0, {"abbc", "b"}}));

INSTANTIATE_TEST_SUITE_P(
    Alternation, RegexpMatchTest,
    ::testing::Values(
        MatchCase{"a|b", "cb", 1, {"b"}},
        // The first alternative that lets the rest match wins, even when a
        // later one would match more.
        MatchCase{"ab|abc", "abc", 0, {"ab"}},
        MatchCase{"(a|ab)(c|bcd)(d*)", "abcd", 0, {"abcd", "a", "bcd", ""}},
        MatchCase{"(ab|a)(bc|c)", "abc", 0, {"abc", "ab", "c"}},
        MatchCase{"a(|b)c", "abc", 0, {"abc", "b"}},
        MatchCase{"a(|b)c", "ac", 0, {"ac", ""}},
        MatchCase{"x|", "ab", 0, {""}},
        MatchCase{"the|a|an", "an apple", 0, {"a"}},
        MatchCase{"x|y|z", "az", 1, {"z"}}));

INSTANTIATE_TEST_SUITE_P(
    Groups, RegexpMatchTest,
    ::testing::Values(
        MatchCase{"(a)(b)", "ab", 0, {"ab", "a", "b"}},
        MatchCase{"(a)|(b)", "b", 0, {"b", "-", "b"}},
        MatchCase{"a(b)?c", "ac", 0, {"ac", "-"}},
        MatchCase{"((a)b)+", "abab", 0, {"abab", "ab", "a"}},
        // A repeated group reports its last iteration; a group inside it
        // that the last iteration skipped keeps its earlier text.
        MatchCase{"(a(b)?)+", "aba", 0, {"aba", "a", "b"}},
        MatchCase{"(a*)b", "aab", 0, {"aab", "aa"}},
        MatchCase{"()a", "a", 0, {"a", ""}},
        MatchCase{"(x)|y", "y", 0, {"y", "-"}},
        MatchCase{"(a)(b)(c)(d)(e)(f)(g)(h)(i)", "abcdefghi", 0,
                  {"abcdefghi", "a", "b", "c", "d", "e", "f", "g", "h",
                   "i"}}));

INSTANTIATE_TEST_SUITE_P(
    Anchors, RegexpMatchTest,
    ::testing::Values(
        MatchCase{"^abc", "xabc", -1, {}},
        MatchCase{"^a", "ab", 0, {"a"}},
        MatchCase{"c$", "abc", 2, {"c"}},
        MatchCase{"b$", "abc", -1, {}},
        MatchCase{"^$", "", 0, {""}},
        MatchCase{"^$", "a", -1, {}},
        MatchCase{"$", "ab", 2, {""}},
        MatchCase{"a$", "a\n", -1, {}},
        // Anchors keep their meaning inside a pattern.
        MatchCase{"a^b", "a^b", -1, {}},
        MatchCase{"a$b", "a$b", -1, {}},
        MatchCase{"x|^b", "ab", -1, {}},
        MatchCase{"(^a|b)c", "bc ac", 0, {"bc", "b"}}));

INSTANTIATE_TEST_SUITE_P(
    AnyAndBrackets, RegexpMatchTest,
    ::testing::Values(
        MatchCase{"a.c", "a\nc", 0, {"a\nc"}},
        MatchCase{"a.", "a", -1, {}},
        MatchCase{"[abc]+", "xxbcay", 2, {"bca"}},
        MatchCase{"[a-c]+", "xcabd", 1, {"cab"}},
        MatchCase{"[^a-c]+", "abxyc", 2, {"xy"}},
        MatchCase{"[]a]+", "x]a]", 1, {"]a]"}},
        MatchCase{"[^]a]", "]ab", 2, {"b"}},
        MatchCase{"[a-]+", "x-a-", 1, {"-a-"}},
        MatchCase{"[-a]+", "x-a-", 1, {"-a-"}},
        MatchCase{"[a-a]", "ba", 1, {"a"}},
        MatchCase{"[.*]+", "a.*", 1, {".*"}},
        MatchCase{"[\\]+", "a\\\\", 1, {"\\\\"}},
        // A range starts at the byte before its '-', even one that ended a range.
        MatchCase{"[a-c-e]", "d", 0, {"d"}},
        MatchCase{"[\x80-\xff]+", "ab\xe9\x80z", 2, {"\xe9\x80"}},
        MatchCase{"[^a]", "a\xff", 1, {"\xff"}},
        // A class never matches the end of the text.
        MatchCase{"a[b]", "a", -1, {}},
        MatchCase{"a[^b]", "a", -1, {}},
        MatchCase{"a[^b]*$", "acc", 0, {"acc"}}));

TEST(RegexpTest, EveryRunStartsWithClearedGroups) {
  RegexpPtr prog(regcomp("(a)|b"));
  ASSERT_EQ(regexec(prog.get(), "a"), 1);
  EXPECT_EQ(groups_of(*prog, 2), (std::vector<std::string>{"a", "a"}));
  ASSERT_EQ(regexec(prog.get(), "b"), 1);
  EXPECT_EQ(groups_of(*prog, 2), (std::vector<std::string>{"b", "-"}));
  ASSERT_EQ(regexec(prog.get(), "c"), 0);
  EXPECT_EQ(groups_of(*prog, 2), (std::vector<std::string>{"-", "-"}));
}

TEST(RegexpTest, MustContainLiteralDoesNotHideMatches) {
  // Patterns that start with a repetition are screened for their longest
  // literal before the search.
  RegexpPtr prog(regcomp(".*ab.*cde"));
  EXPECT_EQ(regexec(prog.get(), "xxabyycd"), 0);
  ASSERT_EQ(regexec(prog.get(), "xxabyycde"), 1);
  EXPECT_EQ(std::string(prog->startp[0], prog->endp[0]), "xxabyycde");
}

TEST(RegexpTest, LongTextsDoNotExhaustTheStack) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "ab";
  const std::string with_end = text + "c";
  struct {
    const char* pattern;
    const std::string* text;
    std::size_t length;  // of the match at 0
  } cases[] = {
      {"(ab)*c", &with_end, with_end.size()},
      {"(a|b)+c", &with_end, with_end.size()},
      {"(ab)*", &text, text.size()},
      {"[ab]*c", &with_end, with_end.size()},
      {".*", &text, text.size()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    RegexpPtr prog(regcomp(c.pattern));
    ASSERT_EQ(regexec(prog.get(), c.text->c_str()), 1);
    EXPECT_EQ(prog->startp[0], c.text->c_str());
    EXPECT_EQ(static_cast<std::size_t>(prog->endp[0] - prog->startp[0]),
              c.length);
  }
  RegexpPtr prog(regcomp("(ab)*d"));
  EXPECT_EQ(regexec(prog.get(), with_end.c_str()), 0);
}

TEST(RegexpTest, LargePatternBelowTheLimitCompiles) {
  const std::string pattern(30000, 'a');
  RegexpPtr prog(regcomp(pattern.c_str()));
  EXPECT_EQ(regexec(prog.get(), pattern.c_str()), 1);
  EXPECT_EQ(regexec(prog.get(), pattern.substr(1).c_str()), 0);
}

struct SubCase {
  const char* pattern;
  const char* text;
  const char* source;
  const char* expected;
};

class RegsubTest : public ::testing::TestWithParam<SubCase> {};

TEST_P(RegsubTest, ExpandsMatchAndGroups) {
  const SubCase& c = GetParam();
  RegexpPtr prog(regcomp(c.pattern));
  ASSERT_EQ(regexec(prog.get(), c.text), 1);

  const std::size_t size = regsub_size(prog.get(), c.source);
  EXPECT_EQ(size, std::strlen(c.expected) + 1);
  std::vector<char> dest(size + 8, '#');
  regsub(prog.get(), c.source, dest.data());
  EXPECT_STREQ(dest.data(), c.expected);
  EXPECT_EQ(dest[size], '#');  // nothing written past the NUL

  std::string appended = "pre:";
  regsub(prog.get(), c.source, appended);
  EXPECT_EQ(appended, std::string("pre:") + c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegsubTest,
    ::testing::Values(
        SubCase{"b+", "abbbc", "<&>", "<bbb>"},
        SubCase{"b+", "abbbc", "\\0\\0", "bbbbbb"},
        SubCase{"b+", "abbbc", "x\\&y", "x&y"},
        SubCase{"b+", "abbbc", "\\\\&", "\\bbb"},
        SubCase{"b+", "abbbc", "\\n\\", "\\n\\"},
        SubCase{"b+", "abbbc", "", ""},
        SubCase{"(a+)(b+)", "xaabbb", "\\2-\\1", "bbb-aa"},
        SubCase{"(a+)(b+)", "xaabbb", "[\\3\\9]", "[]"},
        SubCase{"(a)|(b)", "b", "[\\1][\\2]", "[][b]"},
        SubCase{"x*", "abc", "(&)", "()"},
        SubCase{"\xe9", "caf\xe9", "\xe8&", "\xe8\xe9"}));

// Compile errors end the program with status 1 after their message.
struct ErrorCase {
  std::string pattern;
  const char* message;  // a regular expression for the death test
};

class RegcompDeathTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RegcompDeathTest, ReportsAndExits) {
  const ErrorCase& c = GetParam();
  EXPECT_EXIT(regcomp(c.pattern.c_str()), ::testing::ExitedWithCode(1),
              std::string("regexp\\(3\\): ") + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegcompDeathTest,
    ::testing::Values(
        ErrorCase{"(a*)*", "\\*\\+ operand could be empty"},
        ErrorCase{"(a*)+", "\\*\\+ operand could be empty"},
        ErrorCase{"(a|)*", "\\*\\+ operand could be empty"},
        ErrorCase{"^*", "\\*\\+ operand could be empty"},
        ErrorCase{"a**", "nested \\*\\?\\+"},
        ErrorCase{"a*?", "nested \\*\\?\\+"},
        ErrorCase{"(ab)+*", "nested \\*\\?\\+"},
        ErrorCase{"*a", "\\?\\+\\* follows nothing"},
        ErrorCase{"a|+b", "\\?\\+\\* follows nothing"},
        ErrorCase{"(?a)", "\\?\\+\\* follows nothing"},
        ErrorCase{"(a", "unmatched \\(\\)"},
        ErrorCase{"a)", "unmatched \\(\\)"},
        ErrorCase{"((a)", "unmatched \\(\\)"},
        ErrorCase{"(a))", "unmatched \\(\\)"},
        ErrorCase{"a\\", "trailing \\\\"},
        ErrorCase{"[a", "unmatched \\[\\]"},
        ErrorCase{"[]", "unmatched \\[\\]"},
        ErrorCase{"[^", "unmatched \\[\\]"},
        ErrorCase{"[b-a]", "invalid \\[\\] range"},
        ErrorCase{"[a-z-9]", "invalid \\[\\] range"},
        ErrorCase{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many \\(\\)"},
        // The group count is checked on entering the group.
        ErrorCase{"((((((((((", "too many \\(\\)"},
        ErrorCase{std::string(40000, 'a'), "regexp too big"}));

TEST(RegexpDeathTest, NullArgumentsExit) {
  RegexpPtr prog(regcomp("a"));
  char dest[8];
  EXPECT_EXIT(regcomp(nullptr), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL argument\n");
  EXPECT_EXIT(regexec(nullptr, "a"), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parameter\n");
  EXPECT_EXIT(regexec(prog.get(), nullptr), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parameter\n");
  EXPECT_EXIT(regsub(nullptr, "&", dest), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parm to regsub\n");
  EXPECT_EXIT(regsub(prog.get(), nullptr, dest), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parm to regsub\n");
  EXPECT_EXIT(regsub(prog.get(), "&", static_cast<char*>(nullptr)),
              ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parm to regsub\n");
  EXPECT_EXIT(regsub_size(nullptr, "&"), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): NULL parm to regsub\n");
}

TEST(RegexpDeathTest, TextChangedAfterMatchIsDetected) {
  RegexpPtr prog(regcomp("(b+)c"));
  char text[] = "abbbc";
  ASSERT_EQ(regexec(prog.get(), text), 1);
  text[2] = '\0';
  std::string out;
  EXPECT_EXIT(regsub(prog.get(), "\\1", out), ::testing::ExitedWithCode(1),
              "regexp\\(3\\): damaged match string\n");
  // A group the change did not reach still expands.
  RegexpPtr tail(regcomp("b(c)"));
  char other[] = "abbc";
  ASSERT_EQ(regexec(tail.get(), other), 1);
  other[1] = '\0';
  regsub(tail.get(), "\\1", out);
  EXPECT_EQ(out, "c");
}

}  // namespace
}  // namespace lorvan
