// The S-expression reader and printers, the argument accessors that command
// handlers use, copying, word collection and the top-level iterator.
#include "command/irslist.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "lexical/tokenizer.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// The one-line form of a node, as print(StrBufs&) writes it.
std::string form(const IRSlist& node) {
  StrBufs out(64);
  node.print(out);
  return out.finish();
}

std::string indented(const IRSlist& node) {
  std::ostringstream out;
  node.print(out);
  return out.str();
}

std::string line(const IRSlist& node) {
  std::ostringstream out;
  node.print_line(out);
  return out.str();
}

// Reads expressions with a command-language tokenizer that outlives them.
class IRSlistTest : public ::testing::Test {
 protected:
  std::unique_ptr<IRSlist> parse(const std::string& text) {
    return make_irslist(text.c_str(), tokenizer_.get());
  }

  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
};

TEST_F(IRSlistTest, ReadsAndPrintsBackTheCommandLanguage) {
  using std::string_literals::operator""s;
  struct Case {
    std::string text;
    std::string printed;
  };
  const Case cases[] = {
      {"(a \"b c\" ())", "(a \"b c\" ())"},
      {"  atom  ", "atom"},
      {"\"atom\"", "atom"},           // quoted and bare read the same
      {"\"\"", "\"\""},               // an empty string
      {"\"a\\\"b\"", "\"a\\\"b\""},   // a, quote, b; the backslash returns
      {"\"a\\\\b\"", "\"a\\\\b\""},   // a, backslash, b
      {"\"\\65\\66\"", "AB"},         // decimal character codes
      {"\"x\\ty\"", "\"x\ty\""},      // \t is a tab
      {"\"(\"", "\"(\""},             // a parenthesis as an atom
      {"1,000", "\"1,000\""},         // a comma inside a word stays
      {"(a, b)", "(a \",\" b)"},      // ...but not before white space
      {"(,a)", "(\",\" a)"},          // ...nor at the start of a word
      {"(a;comment ( \" )\n b)", "(a b)"},
      {"(x\"y z\")", "(x \"y z\")"},  // a quote ends a word
      {"(a (b (c)) d)", "(a (b (c)) d)"},
      {"( ( ) )", "(())"},
      {"()", "()"},
      {"(a b", "(a b)"},              // unterminated lists are closed
      {"((a (b", "((a (b)))"},
      {"\"abc", "abc"},               // an unterminated string keeps its end
      {"(a\0b c)"s, "(ab c)"},        // NUL bytes are not text
      {"(\"caf\xc3\xa9\")", "(\"caf\xc3\xa9\")"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);  // a stream carries the NUL byte too
    tokenizer_->set_input_stream(&in);
    IRSlist node;
    EXPECT_EQ(node.read(tokenizer_.get()), 1) << c.text;
    EXPECT_EQ(form(node), c.printed) << c.text;
    tokenizer_->set_input_stream(nullptr);
  }
}

TEST_F(IRSlistTest, NodeKinds) {
  auto node = parse("(a \"b c\" ())");
  ASSERT_EQ(node->length(), 3);
  EXPECT_STREQ(node->nth(0)->val(), "a");
  EXPECT_STREQ(node->nth(1)->val(), "b c");
  EXPECT_TRUE(node->nth(2)->atom());  // an empty node is childless...
  EXPECT_EQ(node->nth(2)->val(), nullptr);  // ...and textless
  EXPECT_EQ(node->val(), nullptr);
  EXPECT_EQ(line(*node), "a \"b c\" ()");
}

TEST_F(IRSlistTest, ReadStopsAtCloseAndAtEndOfInput) {
  tokenizer_->set_string_input(") (a) b", -1);
  IRSlist node("stale");
  EXPECT_EQ(node.read(tokenizer_.get()), 0);  // a top-level ')'
  EXPECT_EQ(node.val(), nullptr);
  EXPECT_EQ(node.read(tokenizer_.get()), 1);
  EXPECT_EQ(form(node), "(a)");
  IRSlist atom;
  EXPECT_EQ(atom.read(tokenizer_.get()), 1);
  EXPECT_STREQ(atom.val(), "b");
  EXPECT_EQ(atom.read(tokenizer_.get()), 0);
  EXPECT_TRUE(tokenizer_->finished());

  // read_list appends to what is already there, up to the ')'.
  tokenizer_->set_string_input("c d) e", -1);
  node.read_list(tokenizer_.get());
  EXPECT_EQ(form(node), "(a c d)");
}

TEST_F(IRSlistTest, DeepNestingNeedsNoDeepStack) {
  const int depth = 200000;
  const std::string text = std::string(depth, '(') + "x";
  auto node = parse(text);
  StrBufs arena(4096);
  IRSlist copy;
  copy.copy(*node, arena);
  const std::string printed = form(copy);
  EXPECT_EQ(printed, std::string(depth, '(') + "x" + std::string(depth, ')'));
}

TEST_F(IRSlistTest, IndentedForm) {
  struct Case {
    const char* text;
    const char* printed;
  };
  const Case cases[] = {
      {"(a b (c d) e)", "(a b\n  (c d)\n  e)\n"},
      {"((a) (b c))", "(\n  (a)\n  (b c))\n"},
      {"(a (b (c)) \"d e\")", "(a\n  (b\n    (c))\n  \"d e\")\n"},
      {"x", "x\n"},
      {"()", "()\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(indented(*parse(c.text)), c.printed) << c.text;
  }
}

TEST_F(IRSlistTest, PrintRootAndDebugPrint) {
  auto node = parse("(\"a b\" ())");
  std::ostringstream out;
  EXPECT_EQ(irslist_print_root(node.get(), out), nullptr);
  EXPECT_EQ(irslist_print_root(node->first(), out), node->first());
  EXPECT_EQ(irslist_print_root(node->last(), out), node->last());
  EXPECT_EQ(out.str(), "\"a b\"()");

  CaptureStderr();
  prirsl(nullptr);
  prirsl(node.get());
  EXPECT_EQ(GetCapturedStderr(), "nil(\"a b\" ())\n");
}

TEST_F(IRSlistTest, PrintIntoArenaLeavesCurrentStringOpen) {
  auto node = parse("(a (b))");
  StrBufs out(16);
  out.push("cmd: ");
  node->print(out);
  out.push('!');
  EXPECT_STREQ(out.finish(), "cmd: (a (b))!");
}

TEST_F(IRSlistTest, KeywordsOfACommand) {
  auto args = parse("(x :size 10 :name foo)");
  EXPECT_STREQ(args->get_val(), "x");
  const char* name = "default";
  EXPECT_TRUE(args->get_arg_val(":NAME", name, true));
  EXPECT_STREQ(name, "foo");
  long size = 0;
  EXPECT_TRUE(args->get_arg_long(":size", size, true));
  EXPECT_EQ(size, 10);
  EXPECT_STREQ(args->remove_val(":size", true), "10");
  EXPECT_EQ(form(*args), "(:name foo)");
}

TEST_F(IRSlistTest, PositionalValues) {
  auto args = parse("(first (b c) () 12abc abc -7 2.5x)");
  EXPECT_STREQ(args->top_val(), "first");
  EXPECT_STREQ(args->get_val(), "first");
  EXPECT_EQ(args->get_val(0), nullptr);  // a list has no text
  EXPECT_EQ(args->get_val(1), nullptr);  // nor has an empty node
  EXPECT_STREQ(args->get_val(2), "12abc");
  EXPECT_EQ(args->get_val(6), nullptr);  // out of range
  EXPECT_EQ(args->get_val(-1), nullptr);

  CaptureStderr();
  EXPECT_EQ(args->top_val(), nullptr);  // not consumed
  EXPECT_EQ(args->get_val(), nullptr);  // consumed
  EXPECT_EQ(GetCapturedStderr(),
            "expecting an atom. This is found instead:\n(b c)\n"
            "expecting an atom. This is found instead:\n(b c)\n");
  EXPECT_EQ(args->get_val(), nullptr);  // the empty node: no message

  CaptureStderr();
  EXPECT_EQ(args->get_long_val(1), 0);  // "abc": no message
  EXPECT_EQ(args->get_long_val(2), -7);
  EXPECT_FLOAT_EQ(args->get_float_val(3), 2.5f);
  EXPECT_EQ(args->get_long_val(), 12);  // consumes "12abc"
  EXPECT_EQ(args->get_long_val(), 0);
  EXPECT_EQ(args->get_long_val(), -7);
  EXPECT_FLOAT_EQ(args->get_float_val(), 2.5f);
  EXPECT_EQ(GetCapturedStderr(), "");

  CaptureStderr();
  EXPECT_EQ(args->get_long_val(), 0);
  EXPECT_EQ(args->get_float_val(), 0.0f);
  EXPECT_EQ(args->get_long_val(5), 0);
  EXPECT_EQ(GetCapturedStderr(),
            "IRSlist::get_long_val expecting a string\n"
            "IRSlist::get_float_val expecting a string\n"
            "IRSlist::get_long_val expecting a string\n");
}

TEST_F(IRSlistTest, MissingKeywordsAndQuietFlag) {
  auto args = parse("((:k) :a (v w) :n :f (1) :last)");
  CaptureStderr();
  EXPECT_EQ(args->get_arg(":absent", true), nullptr);
  EXPECT_EQ(GetCapturedStderr(), "");

  CaptureStderr();
  EXPECT_EQ(args->get_arg(":absent", false), nullptr);
  EXPECT_EQ(args->get_arg(":k", false), nullptr);  // only atoms are keys
  EXPECT_EQ(args->get_arg(":last", false), nullptr);  // nothing follows it
  EXPECT_EQ(GetCapturedStderr(),
            "argument :absent is not found\n"
            "argument :k is not found\n"
            "argument :last is not found\n");

  const char* text = "unchanged";
  EXPECT_FALSE(args->get_arg_val(":absent", text, true));
  EXPECT_STREQ(text, "unchanged");
  EXPECT_TRUE(args->get_arg_val(":A", text, true));  // a list follows
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(form(*args->get_arg(":a", true)), "(v w)");
}

TEST_F(IRSlistTest, NumericKeywords) {
  auto args = parse("(:n 42 :bad x12 :list (1) :f 0.25 :nf y)");
  long n = -1;
  float f = -1;
  EXPECT_TRUE(args->get_arg_long(":n", n, true));
  EXPECT_EQ(n, 42);
  EXPECT_TRUE(args->get_arg_long(":bad", n, true));  // found, not a number
  EXPECT_EQ(n, 42);
  EXPECT_TRUE(args->get_arg_float(":f", f, true));
  EXPECT_FLOAT_EQ(f, 0.25f);
  EXPECT_TRUE(args->get_arg_float(":nf", f, true));
  EXPECT_FLOAT_EQ(f, 0.25f);

  CaptureStderr();
  EXPECT_FALSE(args->get_arg_long(":list", n, true));
  EXPECT_FALSE(args->get_arg_float(":list", f, true));
  EXPECT_FALSE(args->get_arg_long(":none", n, false));
  EXPECT_FALSE(args->get_arg_float(":none", f, true));
  EXPECT_EQ(GetCapturedStderr(),
            "There must be an integer after :list\n"
            "There must be a number after :list\n"
            "argument :none is not found\n");
  EXPECT_EQ(n, 42);
  EXPECT_FLOAT_EQ(f, 0.25f);
}

TEST_F(IRSlistTest, RemovingKeywordsAndFlags) {
  auto args = parse("(a :v (x y) :Flag b :flag :end)");
  std::unique_ptr<IRSlist> v = args->remove_arg(":V", true);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->parent(), nullptr);
  EXPECT_EQ(form(*v), "(x y)");
  EXPECT_EQ(form(*args), "(a :Flag b :flag :end)");

  EXPECT_TRUE(args->get_flag(":FLAG"));
  EXPECT_FALSE(args->get_flag("(x"));
  EXPECT_TRUE(args->remove_flag(":flag"));  // the first one only
  EXPECT_EQ(form(*args), "(a b :flag :end)");
  EXPECT_FALSE(args->remove_flag(":nothing"));

  CaptureStderr();
  EXPECT_EQ(args->remove_arg(":end", false), nullptr);
  EXPECT_EQ(args->remove_val(":gone", false), nullptr);
  EXPECT_EQ(args->remove_val(":gone", true), nullptr);
  EXPECT_EQ(GetCapturedStderr(),
            "argument :end is not found\nargument :gone is not found\n");
  EXPECT_EQ(form(*args), "(a b :flag)");  // the trailing key went anyway
}

TEST_F(IRSlistTest, CopyOwnsItsTextsInTheArena) {
  StrBufs arena(32);
  IRSlist copy;
  {
    auto node = parse("(a (b \"c d\") ())");
    copy.copy(*node, arena);
    tokenizer_->clear();  // the original atom texts are gone
  }
  EXPECT_EQ(form(copy), "(a (b \"c d\") \"\")");  // the empty node became ""

  IRSlist atom;
  atom.copy(*parse("word"), arena);
  EXPECT_STREQ(atom.val(), "word");
  IRSlist empty_copy;
  empty_copy.copy(IRSlist(), arena);
  EXPECT_STREQ(empty_copy.val(), "");

  IRSlist target;
  target.append(new IRSlist(arena.copy("kept")));
  target.copy(*parse("(x y)"), arena);
  EXPECT_EQ(form(target), "(kept x y)");
}

// Word lists come from a list, a file on the search path, or standard
// input.
class GetWordsTest : public IRSlistTest {
 protected:
  void SetUp() override {
    saved_paths_ = PATHS;
    clear_search_path();
    append_to_search_path(dir_.path().c_str());
  }
  void TearDown() override { PATHS = saved_paths_; }

  std::vector<std::string> words(const IRSlist* src) {
    TSlist<const char*> out;
    IRSlist::getWords(src, arena_, out);
    std::vector<std::string> result;
    for (const char* w : out) result.emplace_back(w);
    return result;
  }

  lorvan::testsupport::TempDir dir_;
  std::vector<std::string> saved_paths_;
  StrBufs arena_{64};
};

using Words = std::vector<std::string>;

TEST_F(GetWordsTest, FromAList) {
  auto src = parse("(a \"b c\" () (d))");
  EXPECT_EQ(words(src.get()), (Words{"a", "b c", "", ""}));
  EXPECT_EQ(words(nullptr), Words{});
  IRSlist empty;
  EXPECT_EQ(words(&empty), Words{});
}

TEST_F(GetWordsTest, FromAFileOnTheSearchPath) {
  dir_.write("words.txt", "one\r\ntwo words\n\nthree");
  auto src = parse("words.txt");
  EXPECT_EQ(words(src.get()), (Words{"one", "two words", "", "three"}));

  CaptureStderr();
  EXPECT_EQ(words(parse("absent.txt").get()), Words{});
  EXPECT_EQ(GetCapturedStderr(), "The file absent.txt cannot be opened\n");
}

TEST_F(GetWordsTest, DashReadsStandardInput) {
  dir_.write("stdin.txt", "x\ny\n");
  ASSERT_NE(std::freopen(dir_.file("stdin.txt").c_str(), "r", stdin), nullptr);
  std::cin.clear();
  EXPECT_EQ(words(parse("-").get()), (Words{"x", "y"}));
  std::cin.clear();
}

std::vector<std::string> all_forms(IRSlistInputIterator& it) {
  std::vector<std::string> forms;
  for (IRSlist* e = it.current(); e != nullptr; e = it.next()) {
    forms.push_back(form(*e));
  }
  return forms;
}

TEST(IRSlistInputIteratorTest, WalksTopLevelExpressions) {
  struct Case {
    const char* text;
    Words forms;
  };
  const Case cases[] = {
      {"(a 1)\n; comment\n(b (c))\n", {"(a 1)", "(b (c))"}},
      {"(a)\n)\n(b)", {"(a)", "()", "(b)"}},  // a stray ')' is an empty node
      {"(a) last", {"(a)", "last"}},        // an atom just before the end
      {"(a) (open", {"(a)", "(open)"}},     // an unterminated last list
      {"", {}},
      {"  ; only a comment", {}},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    IRSlistInputIterator from_stream(in);
    EXPECT_EQ(all_forms(from_stream), c.forms) << c.text;
    EXPECT_TRUE(from_stream.finished());
    IRSlistInputIterator from_text(c.text);
    EXPECT_EQ(all_forms(from_text), c.forms) << c.text;
  }
}

TEST(IRSlistInputIteratorTest, ResetStartsOverOnNewInput) {
  std::istringstream first("(a) (b)");
  IRSlistInputIterator it(first);
  EXPECT_EQ(form(*it.current()), "(a)");
  EXPECT_FALSE(it.updated());
  it.reset("(c) (d)");
  EXPECT_EQ(all_forms(it), (Words{"(c)", "(d)"}));
  std::istringstream second("(e)");
  it.reset(second);
  EXPECT_EQ(all_forms(it), (Words{"(e)"}));
  EXPECT_EQ(it.next(), nullptr);
}

TEST_F(IRSlistTest, MakeIrslistReplacesTheTokenizerInput) {
  std::istringstream pending("(from stream)");
  tokenizer_->set_input_stream(&pending);
  auto node = make_irslist("(from text) (more)", tokenizer_.get());
  EXPECT_EQ(form(*node), "(from text)");
  auto empty = make_irslist("", tokenizer_.get());
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(form(*empty), "()");
  EXPECT_EQ(form(*make_irslist(nullptr, tokenizer_.get())), "()");
}

// A reader tokenizer may have other quotes than the double quote; each
// quoted atom loses its own opening and closing characters, and a string
// left open at the end keeps its last character.
TEST(IRSlistOtherQuotesTest, EveryQuoteOfTheTokenizerIsStripped) {
  Tokenizer t(" \t\n", "()", "()", "' <>", 0, 0, 256, 64);
  auto node = make_irslist("(a 'b c' <d (e)> '' \"f\" 'open", &t);
  std::vector<std::string> atoms;
  for (IRSlist* c = node->first(); c != nullptr; c = c->next()) {
    ASSERT_NE(c->val(), nullptr);
    atoms.emplace_back(c->val());
  }
  // The double quote is an ordinary character here.
  EXPECT_EQ(atoms, (std::vector<std::string>{"a", "b c", "d (e)", "", "\"f\"", "open"}));
}

}  // namespace
}  // namespace lorvan
