// The sorted-lexicon-file utilities on small fixture files: keys, diff,
// update, combine, merge, sort, duplicate removal, selection and filtering.
#include "lexicon/lex_file_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "expr/lexp.h"
#include "lexicon/lexicon_fixture.h"

namespace lorvan::lexicon_test {
namespace {

// ---- Keys ----

TEST(GetKey, FollowsTheFileKeyRule) {
  struct Case {
    const char* item;
    const char* key;
  } cases[] = {
      {"(book (noun))", "book"},
      {"(word)", "word"},
      {"(  New \n\t York|(x))", "New York"},
      {"(ago , long (adv))", "ago , long"},
      {"(\"New \\\"Y\\\" (x)\" (m))", "New \"Y\" (x)"},
      {"  (a b)", "a b"},
      {"(\"unclosed", "unclosed"},
      {"()", ""},
  };
  std::string key;
  for (const Case& c : cases) EXPECT_STREQ(get_key(c.item, key), c.key) << c.item;
}

// ---- Utilities over one or two files ----

using TwoFileFn = void (*)(std::istream&, std::istream&, std::ostream&);
using OneFileFn = void (*)(std::istream&, std::ostream&);

std::string run2(TwoFileFn fn, const std::string& a, const std::string& b) {
  std::istringstream first(a), second(b);
  std::ostringstream out;
  fn(first, second, out);
  return out.str();
}

std::string run1(OneFileFn fn, const std::string& a) {
  std::istringstream in(a);
  std::ostringstream out;
  fn(in, out);
  return out.str();
}

struct TwoFileCase {
  const char* name;
  TwoFileFn fn;
  const char* first;
  const char* second;
  const char* expected;
};

class TwoFileTest : public ::testing::TestWithParam<TwoFileCase> {};

TEST_P(TwoFileTest, Output) {
  const TwoFileCase& c = GetParam();
  EXPECT_EQ(run2(c.fn, c.first, c.second), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TwoFileTest,
    ::testing::Values(
        TwoFileCase{"DiffMarksChangedAndMissingEntries", lex_diff,
                    "(a (m 1))\n(b (m 2))\n(c\n (m 3))\n(e (m 5))\n",
                    "(A  (M   1))\n(b (m 22))\n(d (m 4))\n",
                    "< (b (m 2))\n> (b (m 22))\n\n"
                    "< (c\n<  (m 3))\n\n"
                    "> (d (m 4))\n\n"
                    "< (e (m 5))\n"},
        TwoFileCase{"DiffOfEqualFilesIsEmpty", lex_diff, "(a (m))(b (m))", "(a (m))\n(b (m))\n",
                    ""},
        TwoFileCase{"DiffAfterTheFirstEnds", lex_diff, "", "(x (m))(y (m))",
                    "> (x (m))\n> (y (m))\n"},
        TwoFileCase{"UpdateReplacesAndKeeps", update_lex, "(b (new))\n(d (new))",
                    "(a (old))(B (old))(c (old))(e (old))",
                    "(a (old))\n(b (new))\n(c (old))\n(d (new))\n(e (old))\n"},
        TwoFileCase{"CombineJoinsMeanings", combine_lex, "(a (m1))\n(b (m1) (m2))",
                    "(B (m3 (x)))\n(c (m4))",
                    "(a (m1))\n(b\n (m1)\n (m2)\n (m3 (x))\n )\n(c (m4))\n"},
        TwoFileCase{"CombineQuotedKey", combine_lex, "(\"x (y)\" (m1))", "(\"x (y)\" (m2))",
                    "(x (y)\n (m1)\n (m2)\n )\n"}),
    [](const ::testing::TestParamInfo<TwoFileCase>& info) { return std::string(info.param.name); });

struct OneFileCase {
  const char* name;
  OneFileFn fn;
  const char* input;
  const char* expected;
};

class OneFileTest : public ::testing::TestWithParam<OneFileCase> {};

TEST_P(OneFileTest, Output) {
  const OneFileCase& c = GetParam();
  EXPECT_EQ(run1(c.fn, c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OneFileTest,
    ::testing::Values(
        OneFileCase{"MergeJoinsConsecutiveKeys", merge_entries,
                    "(a (m1))\n(A (m2) (m1))\n(b (x))\n(a (m3))",
                    "(a\n (m1)\n (m2)\n )\n(b\n (x)\n )\n(a\n (m3)\n )\n"},
        OneFileCase{"MergeKeepsExactTexts", merge_entries, "(a (m 1))(a (m  1))(a (M 1))",
                    "(a\n (m 1)\n (m  1)\n (M 1)\n )\n"},
        OneFileCase{"SortByWholeTextIgnoringCase", sort_lex, "(b 1)\n(A 2) junk (a 1)",
                    "(a 1)\n(A 2)\n(b 1)\n"},
        OneFileCase{"SortEmpty", sort_lex, "", ""},
        OneFileCase{"RemoveConsecutiveDuplicates", rm_duplicates, "(a 1)(A 1)(b 2)(a 1)(a 1)",
                    "(a 1)\n(b 2)\n(a 1)\n"}),
    [](const ::testing::TestParamInfo<OneFileCase>& info) { return std::string(info.param.name); });

TEST(LexFileUtils, UnmatchedItemAtTheEndIsReportedAndDropped) {
  std::ostringstream err;
  std::streambuf* saved = std::cerr.rdbuf(err.rdbuf());
  std::string out = run1(sort_lex, "(b 1)(a (2)");
  std::cerr.rdbuf(saved);
  EXPECT_EQ(out, "(b 1)\n");
  EXPECT_EQ(err.str(), "next_item: unmatched parenthesis\n");
}

// ---- Selection and filtering through expressions ----

// (test-contains TEXT): 1 when the input text contains TEXT.
class TestContains : public LExp {
 public:
  TestContains() { set_input_type(arg_type_id("char*")); }
  const char* type_name() const override { return "test-contains"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TestContains>(*this); }
  void init(IRSlist* args) override { text_ = args->get_val(0) ? args->get_val(0) : ""; }
  void* eval(void* input, int type) override {
    if (!valid_arg_type(type) || input == nullptr) return nullptr;
    return int_to_value(std::strstr(static_cast<const char*>(input), text_.c_str()) != nullptr);
  }

 private:
  std::string text_;
};

// (test-has TYPE): 1 when the input entry has a meaning of TYPE.
class TestHas : public LExp {
 public:
  TestHas() { set_input_type(arg_type_id("LexEntry*")); }
  const char* type_name() const override { return "test-has"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TestHas>(*this); }
  void init(IRSlist* args) override { type_ = args->get_val(0) ? args->get_val(0) : ""; }
  void* eval(void* input, int type) override {
    if (!valid_arg_type(type)) return nullptr;
    return int_to_value(static_cast<LexEntry*>(input)->get_meaning(type_.c_str()) != nullptr);
  }

 private:
  std::string type_;
};

// (test-drop TYPE): removes the input meaning from its entry when of TYPE,
// and with it the meaning after it of the same type.
class TestDrop : public LExp {
 public:
  TestDrop() { set_input_type(arg_type_id("Meaning*")); }
  const char* type_name() const override { return "test-drop"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TestDrop>(*this); }
  void init(IRSlist* args) override { type_ = args->get_val(0) ? args->get_val(0) : ""; }
  void* eval(void* input, int type) override {
    if (!valid_arg_type(type)) return nullptr;
    auto* m = static_cast<Meaning*>(input);
    if (type_ != m->type_name()) return nullptr;
    LexEntry* e = m->owner();
    e->del_meaning(m);
    if (Meaning* next = e->get_meaning(type_.c_str())) e->del_meaning(next);
    return nullptr;
  }

 private:
  std::string type_;
};

// (test-print): prints the input entry on std::cout.
class TestPrint : public LExp {
 public:
  TestPrint() { set_input_type(arg_type_id("LexEntry*")); }
  const char* type_name() const override { return "test-print"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TestPrint>(*this); }
  void* eval(void* input, int type) override {
    if (valid_arg_type(type)) static_cast<LexEntry*>(input)->print(std::cout);
    return nullptr;
  }
};

class LexFileExpTest : public LexiconTestBase {
 protected:
  static void SetUpTestSuite() {
    LexiconTestBase::SetUpTestSuite();
    LExp::exp_proto(std::make_unique<TestContains>(), nullptr, "(test-contains text)");
    LExp::exp_proto(std::make_unique<TestHas>(), nullptr, "(test-has type)");
    LExp::exp_proto(std::make_unique<TestDrop>(), nullptr, "(test-drop type)");
    LExp::exp_proto(std::make_unique<TestPrint>(), nullptr, "(test-print)");
  }
};

TEST_F(LexFileExpTest, SelectSeesLineEndsAsBarsAndWritesTheOriginal) {
  std::unique_ptr<LExp> test = LExp::get_exp("(test-contains \"|\")");
  ASSERT_NE(test, nullptr);
  std::istringstream in("(a\n (m))\n(b (m))\n(c (\"x|y\"))");
  std::ostringstream out;
  select_entries(*test, in, out);
  EXPECT_EQ(out.str(), "(a\n (m))\n(c (\"x|y\"))\n");
}

TEST_F(LexFileExpTest, FilterAppliesActionsToEntriesThatPassTheTest) {
  std::unique_ptr<LExp> test = LExp::get_exp("(test-has gloss)");
  std::unique_ptr<LExp> drop = LExp::get_exp("(test-drop freq)");
  std::unique_ptr<LExp> print = LExp::get_exp("(test-print)");
  std::istringstream in(
      "(a (gloss x) (freq N 1) (freq V 2) (freq A 3)) (b (freq N 3)) (New York (gloss c))");
  filter_entries(in, test.get(), drop.get(), print.get());
  // The action on "freq N" also removes "freq V", which is then skipped.
  EXPECT_EQ(out(),
            "(a\n (gloss x)\n )\n"
            "(\"New York\"\n (gloss c)\n )\n");
  EXPECT_EQ(err(), "");
}

TEST_F(LexFileExpTest, FilterWithoutTestTakesEveryEntry) {
  std::unique_ptr<LExp> print = LExp::get_exp("(test-print)");
  std::istringstream in("(a (gloss x)) stray ((no key)) (b)");
  filter_entries(in, nullptr, nullptr, print.get());
  EXPECT_EQ(out(), "(a\n (gloss x)\n )\n(b\n )\n");
}

}  // namespace
}  // namespace lorvan::lexicon_test
