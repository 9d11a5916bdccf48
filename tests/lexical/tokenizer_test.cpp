#include "lexical/tokenizer.h"

#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lorvan {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Tokens = std::vector<std::string>;

// The reader of the command language.
Tokenizer command_tokenizer(std::size_t input_size = 512) {
  return Tokenizer(" \t\n\r", "();", "();,", "\"", '\\', ';', 4096, input_size);
}

// The sentence splitter the parser uses when it is given none.
Tokenizer sentence_tokenizer() {
  return Tokenizer(" \t\n", "(){}[];!?$`'\"-", "(){}[];,:?!@`\"-", "<> &;.", 0, 0,
                   4096, 512);
}

// Every token up to the end of input; a bound guards against a tokenizer
// that never ends.
Tokens all_tokens(TokenizerBase& t) {
  Tokens out;
  for (int i = 0; i < 10000; ++i) {
    const char* token = t.get_token();
    if (token == nullptr) return out;
    out.emplace_back(token);
  }
  ADD_FAILURE() << "tokenizer did not reach the end of input";
  return out;
}

Tokens string_tokens(TokenizerBase& t, const std::string& text) {
  t.set_string_input(text.data(), static_cast<std::ptrdiff_t>(text.size()));
  return all_tokens(t);
}

Tokens stream_tokens(Tokenizer& t, const std::string& text) {
  std::istringstream in(text);
  t.set_input_stream(&in);
  Tokens out = all_tokens(t);
  t.set_input_stream(nullptr);  // `in` dies here
  return out;
}

struct Case {
  const char* input;
  Tokens expected;
};

// Test names show the input with control and non-ASCII bytes as \xNN.
std::string printable(const char* text) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b >= 0x20 && b < 0x7F) {
      out += *p;
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << printable(c.input) << '"'; }

// ---- Command-language configuration ----

class TokenizerCommandLanguageTest : public ::testing::TestWithParam<Case> {};

TEST_P(TokenizerCommandLanguageTest, SplitsAsTheReaderExpects) {
  Tokenizer t = command_tokenizer();
  EXPECT_THAT(string_tokens(t, GetParam().input), ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TokenizerCommandLanguageTest,
    ::testing::Values(
        Case{"(load \"a b\")", {"(", "load", " ", "\"a b\"", ")"}},
        Case{"(a)(b)", {"(", "a", ")", "(", "b", ")"}},
        Case{"x \t\r\n y", {"x", " \t\r\n ", "y"}},
        // Comments run to the end of the line, newline included, and end a
        // word they follow directly.
        Case{"a ; note (x)\nb", {"a", " ", "; note (x)\n", "b"}},
        Case{"word;note\n", {"word", ";note\n"}},
        Case{";no newline", {";no newline"}},
        // Escapes inside strings.
        Case{R"("a\tb\nc\rd")", {"\"a\tb\nc\rd\""}},
        Case{R"("\65\66")", {"\"AB\""}},
        Case{R"("\321x")", {"\"Ax\""}},  // 321 mod 256 = 65; the run ends at x
        Case{R"("a\"b\\c")", {"\"a\"b\\c\""}},
        Case{R"("\q")", {"\"q\""}},
        Case{R"("a\0b")", {"\"ab\""}},  // a NUL would cut the token short
        Case{R"~("(;, )")~", {"\"(;, )\""}},
        Case{R"("")", {"\"\""}},
        // The backslash escapes only inside strings.
        Case{R"(a\"b")", {"a\\", "\"b\""}},
        // A double quote after a word ends it and opens the next token.
        Case{"word\"str\"x", {"word", "\"str\"", "x"}},
        // Unterminated strings end with the input.
        Case{"\"abc", {"\"abc"}},
        Case{"\"abc\\", {"\"abc"}},
        // The comma rule.
        Case{"1,000", {"1,000"}},
        Case{"a, b", {"a", ",", " ", "b"}},
        Case{"a,", {"a", ","}},
        Case{",a", {",", "a"}},
        Case{"a,,b", {"a", ",", ",", "b"}},
        Case{"a,(b", {"a", ",", "(", "b"}},
        Case{"a,\"s\"", {"a", ",", "\"s\""}},
        Case{"", {}}));

TEST(TokenizerCommandLanguage, NonSpaceTokensSkipWhiteAndComments) {
  Tokenizer t = command_tokenizer();
  t.set_string_input("  (a ; note\n\t b) ; end", -1);
  Tokens got;
  while (const char* token = t.get_non_space_token()) got.emplace_back(token);
  EXPECT_THAT(got, ElementsAre("(", "a", "b", ")"));
}

// ---- Sentence configuration ----

class TokenizerSentenceTest : public ::testing::TestWithParam<Case> {};

TEST_P(TokenizerSentenceTest, SplitsWords) {
  Tokenizer t = sentence_tokenizer();
  EXPECT_THAT(string_tokens(t, GetParam().input), ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Words, TokenizerSentenceTest,
    ::testing::Values(Case{"well-known", {"well", "-", "known"}},
                      Case{"John's", {"John", "'s"}},
                      Case{"don't", {"don", "'t"}},
                      Case{"1,000", {"1,000"}},
                      Case{"a, b", {"a", ",", " ", "b"}},
                      Case{"etc,", {"etc", ","}},
                      Case{"note:", {"note", ":"}},
                      Case{"a:b", {"a:b"}},
                      Case{"a--b", {"a", "-", "-", "b"}},
                      Case{"(yes)", {"(", "yes", ")"}},
                      Case{"Why?!", {"Why", "?", "!"}},
                      Case{"$5", {"$5"}},
                      Case{"<b>word</b>", {"<b>", "word", "</b>"}},
                      Case{"<a href=x y>", {"<a href=x y>"}},
                      Case{"&amp; &c.", {"&amp;", " ", "&c."}},
                      Case{"U.S. 3.5", {"U.S.", " ", "3.5"}},
                      Case{"a  b", {"a", "  ", "b"}},
                      Case{"", {}}));

// ---- Quote groups ----

TEST(TokenizerQuotes, SingleCharacterGroupsCloseThemselves) {
  Tokenizer t(" ", "", "", "' \"", 0, 0, 64, 64);
  EXPECT_THAT(string_tokens(t, "'a b'\"c d\"x"), ElementsAre("'a b'", "\"c d\"", "x"));
}

TEST(TokenizerQuotes, StopCharactersEndTheStretchUnconsumed) {
  // '<' closes at '>' and stops before another '<'.
  Tokenizer t(" ", "", "", "<>^<", 0, 0, 64, 64);
  EXPECT_THAT(string_tokens(t, "<a<b>c"), ElementsAre("<a", "<b>", "c"));
}

TEST(TokenizerQuotes, TrailingCaretIsAnOrdinaryClosingCharacter) {
  Tokenizer t(" ", "", "", "<^", 0, 0, 64, 64);
  EXPECT_THAT(string_tokens(t, "<a^b"), ElementsAre("<a^", "b"));
}

TEST(TokenizerQuotes, NestOnlyWhenRecursive) {
  Tokenizer flat(" ", "", "", "()", 0, 0, 64, 64);
  EXPECT_THAT(string_tokens(flat, "(a (b) c)"), ElementsAre("(a (b)", " ", "c)"));

  Tokenizer nested(" ", "", "", "()", 0, 0, 64, 64);
  nested.recursiveQuote('(');
  EXPECT_THAT(string_tokens(nested, "(a (b) c) d"), ElementsAre("(a (b) c)", " ", "d"));
}

TEST(TokenizerQuotes, CommentIsNotSubjectToEscapes) {
  Tokenizer t(" \n", "", "", "\"", '\\', '#', 64, 64);
  EXPECT_THAT(string_tokens(t, "#a\\n\nx"), ElementsAre("#a\\n\n", "x"));
}

// ---- Long quotes ----

TEST(TokenizerLongQuoteRecognizer, MatchesMarkersIgnoringCase) {
  const LongQuoteRecognizer r("<!--", "-->");
  EXPECT_TRUE(r.isStart("<!-- x"));
  EXPECT_TRUE(r.isStart("<!--"));
  EXPECT_FALSE(r.isStart("<!-"));
  EXPECT_FALSE(r.isStart("x<!--"));

  const LongQuoteRecognizer cdata("<![cdata[", "]]>");
  EXPECT_TRUE(cdata.isStart("<![CDATA[x"));
  const char text[] = "a]]>bc";
  EXPECT_TRUE(cdata.isEnd(text, 4));
  EXPECT_FALSE(cdata.isEnd(text, 5));
  EXPECT_FALSE(cdata.isEnd(text, 2));
}

TEST(TokenizerLongQuoteRecognizer, AbsentStartNeverStarts) {
  const LongQuoteRecognizer r(nullptr, "x");
  EXPECT_FALSE(r.isStart("anything"));
  EXPECT_TRUE(LongQuoteRecognizer("a", nullptr).isEnd("", 0));
}

TEST(TokenizerLongQuotes, SgmlCommentHoldingAClosingCharacterIsOneToken) {
  Tokenizer t = sentence_tokenizer();
  t.add_long_quote(LongQuoteRecognizer("<!--", "-->"));
  EXPECT_THAT(string_tokens(t, "x <!-- a > b --> <i>y"),
              ElementsAre("x", " ", "<!-- a > b -->", " ", "<i>", "y"));
  EXPECT_THAT(string_tokens(t, "<!-- open > to the end"),
              ElementsAre("<!-- open > to the end"));
}

TEST(TokenizerLongQuotes, StartInsideAWordRunsToTheEndMarker) {
  Tokenizer t(" ", "", "", "", 0, 0, 64, 64);
  t.add_long_quote(LongQuoteRecognizer("[[", "]]"));
  EXPECT_THAT(string_tokens(t, "[[a b]] c"), ElementsAre("[[a b]]", " ", "c"));
}

TEST(TokenizerLongQuotes, AlikeMarkersNeedAnEndAfterTheStart) {
  Tokenizer t(" ", "", "", "", 0, 0, 64, 64);
  t.add_long_quote(LongQuoteRecognizer("'''", "'''"));
  EXPECT_THAT(string_tokens(t, "''' a b ''' c"), ElementsAre("''' a b '''", " ", "c"));
}

// ---- Encodings ----

struct EncodingCase {
  int encoding;
  const char* input;
  Tokens expected;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
  *os << "encoding " << c.encoding << " \"" << printable(c.input) << '"';
}

class TokenizerEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(TokenizerEncodingTest, GroupsMultiByteCharacters) {
  Tokenizer t = sentence_tokenizer();
  t.set_encoding(GetParam().encoding);
  EXPECT_THAT(string_tokens(t, GetParam().input), ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TokenizerEncodingTest,
    ::testing::Values(
        EncodingCase{TokenizerBase::kAscii, "ab\xC3\xA9" "c", {"ab\xC3\xA9" "c"}},
        EncodingCase{TokenizerBase::kUtf8, "ab\xC3\xA9" "c", {"ab", "\xC3\xA9", "c"}},
        EncodingCase{TokenizerBase::kUtf8, "a\xE2\x82\xAC\xF0\x9F\x98\x80z",
                     {"a", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "z"}},
        // A lead byte without its continuation, and a stray continuation.
        EncodingCase{TokenizerBase::kUtf8, "\xE2\x82x\x80", {"\xE2\x82", "x", "\x80"}},
        // A middle character never ends a word, also before a multi-byte one.
        EncodingCase{TokenizerBase::kUtf8, "a,\xC3\xA9", {"a", ",", "\xC3\xA9"}},
        EncodingCase{TokenizerBase::kDoubleByte, "a\x81\x40\xB0\xA1z",
                     {"a", "\x81\x40", "\xB0\xA1", "z"}},
        EncodingCase{TokenizerBase::kDoubleByte, "a\x81", {"a", "\x81"}}));

TEST(TokenizerEncoding, NewTokenizersTakeTheDefaultAndCopiesKeepTheirOwn) {
  const int saved = TokenizerBase::defaultEncoding;
  TokenizerBase::defaultEncoding = TokenizerBase::kUtf8;
  Tokenizer utf8 = sentence_tokenizer();
  TokenizerBase::defaultEncoding = TokenizerBase::kAscii;
  Tokenizer copy(utf8);
  TokenizerBase::defaultEncoding = saved;

  EXPECT_EQ(utf8.encoding(), TokenizerBase::kUtf8);
  EXPECT_THAT(string_tokens(copy, "x\xC3\xA9y"), ElementsAre("x", "\xC3\xA9", "y"));
}

// ---- Separator mode ----

TEST(TokenizerSeparator, ReturnsEachPieceWithItsSeparator) {
  Tokenizer t("\n", 64, 64);
  t.set_string_input("one two\n(three)\n", -1);
  EXPECT_STREQ(t.get_token(), "one two\n");
  EXPECT_STREQ(t.get_token(), "(three)\n");
  EXPECT_FALSE(t.finished());
  EXPECT_STREQ(t.get_token(), "");
  EXPECT_TRUE(t.finished());
  EXPECT_STREQ(t.get_token(), "");
}

TEST(TokenizerSeparator, MultiByteSeparatorAndUnterminatedRest) {
  Tokenizer t("||", 64, 4);
  std::istringstream in("a||b|c\nd");
  t.set_input_stream(&in);
  EXPECT_STREQ(t.get_token(), "a||");
  EXPECT_STREQ(t.get_token(), "b|c\nd");
  EXPECT_TRUE(t.finished());
}

TEST(TokenizerSeparator, EmptySeparatorTakesTheWholeInput) {
  Tokenizer t("", 64, 64);
  t.set_string_input("a b\nc", -1);
  EXPECT_STREQ(t.get_token(), "a b\nc");
  EXPECT_TRUE(t.finished());
}

TEST(TokenizerSeparator, NonSpaceTokenEndsAtTheEmptyRest) {
  Tokenizer t("\n", 64, 64);
  t.set_string_input("x\n", -1);
  EXPECT_STREQ(t.get_non_space_token(), "x\n");
  EXPECT_STREQ(t.get_non_space_token(), "");
}

// ---- Put-back, peek and rollback ----

TEST(TokenizerPutBack, TokensComeBackMostRecentFirstBeforeInput) {
  Tokenizer t = command_tokenizer();
  t.set_string_input("(c)", -1);
  char* open = t.get_token();
  char a[] = "a";
  char b[] = "b";
  t.put_back(open);
  t.put_back(a);
  t.put_back(b);
  EXPECT_THAT(all_tokens(t), ElementsAre("b", "a", "(", "c", ")"));
}

TEST(TokenizerPutBack, ClearForgetsPushedBackTokens) {
  Tokenizer t = command_tokenizer();
  t.set_string_input("x", -1);
  char a[] = "a";
  t.put_back(a);
  t.clear();
  EXPECT_THAT(all_tokens(t), ElementsAre("x"));
}

TEST(TokenizerRollback, PeekDoesNotConsumeAndRolledBackCharactersComeFirst) {
  Tokenizer t = command_tokenizer();
  t.set_string_input("bc", -1);
  char c = 'x';
  EXPECT_EQ(t.peek(c), 'b');
  EXPECT_EQ(c, 'b');
  t.rollback('a');
  t.rollback('(');
  EXPECT_EQ(t.peek(c), '(');
  EXPECT_THAT(all_tokens(t), ElementsAre("(", "abc"));
  EXPECT_EQ(t.peek(c), 0);
  EXPECT_EQ(c, 0);
  EXPECT_TRUE(t.finished());
}

TEST(TokenizerRollback, NewStringInputForgetsRolledBackCharacters) {
  Tokenizer t = command_tokenizer();
  t.rollback('z');
  EXPECT_THAT(string_tokens(t, "a"), ElementsAre("a"));
}

TEST(TokenizerRollbackDeathTest, MoreThanTenCharactersStopTheProgram) {
  Tokenizer t = command_tokenizer();
  for (int i = 0; i < TokenizerBase::kMaxRollback; ++i) t.rollback('a');
  EXPECT_EXIT(t.rollback('a'), ::testing::ExitedWithCode(1),
              "Tokenizer cannot rollback more than 10 characters");
}

// ---- Input sources ----

TEST(TokenizerInput, StreamAndStringGiveTheSameTokensForAnyBufferSize) {
  const std::string text =
      "(def-x \"a b\\n\" 1,000 a, b) ; note\n"
      "(y,) word\"s\"\r\n(z \"long string across refills\")";
  Tokenizer reference = command_tokenizer();
  const Tokens expected = string_tokens(reference, text);
  ASSERT_GT(expected.size(), 20u);
  for (std::size_t size : {1, 2, 3, 7, 512}) {
    Tokenizer t = command_tokenizer(size);
    EXPECT_EQ(stream_tokens(t, text), expected) << "input size " << size;
    EXPECT_EQ(string_tokens(t, text), expected) << "input size " << size;
  }
}

TEST(TokenizerInput, StreamIsReadOneLineAtATime) {
  // An interactive reader must be able to act on a line before the next
  // one is typed.
  std::istringstream in("(a)\n(b)\n");
  Tokenizer t = command_tokenizer();
  t.set_input_stream(&in);
  EXPECT_STREQ(t.get_token(), "(");
  EXPECT_STREQ(t.get_token(), "a");
  EXPECT_STREQ(t.get_token(), ")");
  EXPECT_EQ(in.tellg(), 4);
}

TEST(TokenizerInput, StringInputHonoursLengthAndEmptiness) {
  Tokenizer t = command_tokenizer();
  EXPECT_THAT(string_tokens(t, std::string("abc def", 3)), ElementsAre("abc"));

  t.set_string_input("abc def", 5);
  EXPECT_THAT(all_tokens(t), ElementsAre("abc", " ", "d"));

  t.set_string_input("abc", 0);
  EXPECT_TRUE(t.finished());
  EXPECT_EQ(t.get_token(), nullptr);

  t.set_string_input(nullptr, -1);
  EXPECT_EQ(t.get_token(), nullptr);
}

TEST(TokenizerInput, StringRunsIntoTheStreamWhenUsedUp) {
  std::istringstream in("tail");
  Tokenizer t = command_tokenizer();
  t.set_input_stream(&in);
  t.set_string_input("head ", -1);
  EXPECT_THAT(all_tokens(t), ElementsAre("head", " ", "tail"));
}

TEST(TokenizerInput, NewStreamKeepsPutBackAndArena) {
  Tokenizer t = command_tokenizer();
  t.set_string_input("first", -1);
  char* first = t.get_token();
  t.put_back(first);
  std::istringstream in("second");
  t.set_input_stream(&in);
  EXPECT_THAT(all_tokens(t), ElementsAre("first", "second"));
}

TEST(TokenizerInput, NulBytesAreDropped) {
  Tokenizer t = command_tokenizer(2);
  const std::string text("a\0b \0\0\0\0(\0)", 11);
  EXPECT_THAT(string_tokens(t, text), ElementsAre("ab", " ", "(", ")"));
  EXPECT_THAT(stream_tokens(t, text), ElementsAre("ab", " ", "(", ")"));
}

TEST(TokenizerInput, TokensStayValidUntilClear) {
  Tokenizer t(" ", "", "", "", 0, 0, 8, 4);  // tiny arena: many blocks
  t.set_string_input("alpha beta-gamma-delta epsilon", -1);
  std::vector<const char*> kept;
  while (const char* token = t.get_non_space_token()) kept.push_back(token);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_STREQ(kept[0], "alpha");
  EXPECT_STREQ(kept[1], "beta-gamma-delta");
  EXPECT_STREQ(kept[2], "epsilon");
}

TEST(SocketTokenizer, ReadsADescriptorUntilItCloses) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const std::string text = "(a \"b c\")\n1,000 x";
  ASSERT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fds[1]);
  SocketTokenizer t(" \t\n\r", "();", "();,", "\"", '\\', ';', 512, 3);
  t.set_input_descriptor(fds[0]);
  EXPECT_THAT(all_tokens(t),
              ElementsAre("(", "a", " ", "\"b c\"", ")", "\n", "1,000", " ", "x"));
  EXPECT_TRUE(t.finished());
  close(fds[0]);
}

TEST(SocketTokenizer, WithoutADescriptorThereIsNoInput) {
  SocketTokenizer t("\n", 64, 64);
  EXPECT_STREQ(t.get_token(), "");
  EXPECT_TRUE(t.finished());
}

// ---- Copy construction ----

TEST(TokenizerCopy, KeepsClassesTablesAndEscapesButNotInputOrExtras) {
  Tokenizer original(" ", "", "", "() \"", '\\', '#', 64, 64);
  original.recursiveQuote('(');
  original.add_long_quote(LongQuoteRecognizer("[[", "]]"));
  original.set_string_input("left over", -1);
  char kept[] = "kept";
  original.put_back(kept);

  Tokenizer copy(original);
  EXPECT_EQ(copy.get_token(), nullptr);  // no input, no put-back
  EXPECT_THAT(string_tokens(copy, "(a (b) c) \"x\\ty\" #c\n[[p q]]"),
              ElementsAre("(a (b)", " ", "c)", " ", "\"x\ty\"", " ", "#c\n", "[[p",
                          " ", "q]]"));
  EXPECT_THAT(all_tokens(original), ElementsAre("kept", "left", " ", "over"));
}

TEST(TokenizerCopy, SeparatorModeIsCopied) {
  const Tokenizer original(";", 64, 64);
  Tokenizer copy(original);
  EXPECT_TRUE(copy.separator_mode());
  copy.set_string_input("a;b", -1);
  EXPECT_STREQ(copy.get_token(), "a;");
  EXPECT_STREQ(copy.get_token(), "b");
  EXPECT_TRUE(copy.finished());
}

// ---- Debugging aid ----

TEST(TokenizerPrintBin, WritesBitsMostSignificantFirst) {
  ::testing::internal::CaptureStderr();
  TokenizerBase::printBin(0x05);
  TokenizerBase::printBin(0xA0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "00000101\n10100000\n");
}

}  // namespace
}  // namespace lorvan
