// Stem tables and the Stemmer: loading, the precedence of its root finders
// (stem table, irregular forms, ending table, Porter) and the result labels.
#include "lexicon/stemmer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "lexicon/stem_table.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using Roots = std::vector<std::string>;

// A data file that exists for the duration of a test.
class DataFile {
 public:
  DataFile(const std::string& name, const std::string& content)
      : path_(std::filesystem::temp_directory_path() /
              ("stemmer_test_" + std::to_string(::getpid()) + "_" + name)) {
    std::ofstream(path_) << content;
  }
  ~DataFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

class StemmerTest : public ::testing::Test {
 protected:
  StemmerTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~StemmerTest() override { std::cerr.rdbuf(saved_err_); }

  // A stemmer initialised with the options written in `text`.
  std::unique_ptr<Stemmer> make_stemmer(const std::string& text) {
    auto stemmer = std::make_unique<Stemmer>();
    std::unique_ptr<IRSlist> options = make_irslist(text.c_str(), tokenizer_.get());
    stemmer->init(options.get());
    return stemmer;
  }

  static Pairs pairs(Stemmer& s, const char* word) {
    std::vector<Stemmer::RootPair> out;
    s.getRoots(word, out);
    Pairs result;
    for (const auto& [root, label] : out) result.emplace_back(root, label ? label : "(null)");
    return result;
  }

  static Roots roots(Stemmer& s, const char* word) {
    std::vector<const char*> out;
    s.getRoots(word, out);
    return Roots(out.begin(), out.end());
  }

  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::ostringstream err_;

 private:
  std::streambuf* saved_err_;
};

TEST(StemTableLoad, KeepsEveryPairOfAFormInFileOrder) {
  std::istringstream in(
      "went go past\n"
      "left leave past  left left\tadj\n"
      "Mice mouse plural\n"
      "dangling");  // an incomplete triple ends the reading
  StemTable table;
  table.load(in);
  EXPECT_EQ(table.size(), 3);
  const StemEntry* left = table.find("LEFT");
  ASSERT_NE(left, nullptr);
  EXPECT_STREQ(left->form, "left");
  ASSERT_EQ(left->pairs.size(), 2u);
  EXPECT_STREQ(left->pairs[0].first, "leave");
  EXPECT_STREQ(left->pairs[0].second, "past");
  EXPECT_STREQ(left->pairs[1].first, "left");
  EXPECT_STREQ(left->pairs[1].second, "adj");
  ASSERT_NE(table.find("mice"), nullptr);
  EXPECT_EQ(table.find("dangling"), nullptr);
  EXPECT_EQ(table.find(nullptr), nullptr);
}

TEST(StemTableLoad, TakesLongWordsWhole) {
  const std::string form(300, 'f');
  const std::string root(200, 'r');
  std::istringstream in(form + " " + root + " long\nshort s x\n");
  StemTable table;
  table.load(in);
  const StemEntry* e = table.find(form.c_str());
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->pairs.at(0).first, root);
  EXPECT_NE(table.find("short"), nullptr);
}

TEST_F(StemmerTest, AStemTableAnswersAloneAndLabelsUnknownFormsBare) {
  DataFile stems("stems.txt", "went go past\nleft leave past\nleft left adj\n");
  DataFile irregular("irr.lsp", "(went wend)\n");
  auto s = make_stemmer("(:stem-table " + stems.path() + " :porter :irr-verbs " +
                        irregular.path() + " :ending-table ((p s noun)))");
  EXPECT_EQ(pairs(*s, "left"), Pairs({{"leave", "past"}, {"left", "adj"}}));
  EXPECT_EQ(pairs(*s, "Went"), Pairs({{"go", "past"}}));
  // Neither Porter nor the irregular forms nor the endings are consulted.
  EXPECT_EQ(pairs(*s, "walked"), Pairs({{"walked", "bare"}}));
  EXPECT_EQ(roots(*s, "left"), Roots({"leave", "left"}));
  EXPECT_EQ(roots(*s, "dogs"), Roots({"dogs"}));
  EXPECT_FALSE(s->porter());
  EXPECT_TRUE(s->irregular_forms().empty());
  EXPECT_EQ(s->ending_table(), nullptr);
  EXPECT_EQ(err_.str(), "");
}

TEST_F(StemmerTest, AStemTableThatCannotBeOpenedIsReported) {
  auto s = make_stemmer("(:stem-table no/such/stems.txt :porter)");
  EXPECT_NE(err_.str().find(":stem-table no/such/stems.txt cannot be opened.\n"),
            std::string::npos)
      << err_.str();
  // The other options are ignored; every word is its own root.
  EXPECT_FALSE(s->porter());
  EXPECT_EQ(pairs(*s, "walked"), Pairs({{"walked", "bare"}}));
}

TEST_F(StemmerTest, IrregularFormsAreFoundCaseInsensitivelyAndComeBeforeEndings) {
  // Written out of order: the look-up is a binary search on the sorted lists.
  DataFile irregular("irr.lsp",
                     "(went go)\n(Children child)\n(ate eat)\n(was be be Be)\n"
                     "(bore bear bore)\n(mice mouse)\n(zebra)\n(lay lie lay)\n"
                     "stray-atom ((nested list) geese goose)\n");
  auto s = make_stemmer("(:irr-verbs " + irregular.path() + " :ending-table ((p s noun)))");
  EXPECT_EQ(pairs(*s, "children"), Pairs({{"child", "irreg"}}));
  EXPECT_EQ(pairs(*s, "BORE"), Pairs({{"bear", "irreg"}, {"bore", "irreg"}}));
  EXPECT_EQ(roots(*s, "was"), Roots({"be"}));  // repeated roots are dropped
  EXPECT_EQ(roots(*s, "ate"), Roots({"eat"}));
  EXPECT_EQ(roots(*s, "lay"), Roots({"lie", "lay"}));
  EXPECT_EQ(roots(*s, "geese"), Roots({"goose"}));  // atoms only
  // A surface form without roots gives none, and nothing else is tried.
  EXPECT_EQ(roots(*s, "zebra"), Roots());
  // Not irregular: the ending table answers.
  EXPECT_EQ(pairs(*s, "dogs"), Pairs({{"dog", "noun"}}));
  const auto& lists = s->irregular_forms();
  for (std::size_t i = 1; i < lists.size(); ++i) {
    EXPECT_LT(lorvan::strcasecmp(lists[i - 1][0].c_str(), lists[i][0].c_str()), 0);
  }
  EXPECT_EQ(err_.str(), "");
}

TEST_F(StemmerTest, WithPorterIrregularRootsAreStemmed) {
  DataFile irregular("irr.lsp", "(studied studies studying Study)\n(Ran running run)\n");
  auto s = make_stemmer("(:irr-verbs " + irregular.path() + " :porter)");
  // studies -> studi, studying -> studi (dropped), Study -> studi (dropped).
  EXPECT_EQ(roots(*s, "studied"), Roots({"studi"}));
  EXPECT_EQ(roots(*s, "ran"), Roots({"runn", "run"}));
  EXPECT_EQ(s->irregular_forms().at(0).at(0), "Ran");  // the surface form is kept
}

TEST_F(StemmerTest, AMissingIrregularFileLoadsNothingSilently) {
  auto s = make_stemmer("(:irr-verbs no/such/irr.lsp :porter)");
  EXPECT_EQ(err_.str(), "");
  EXPECT_TRUE(s->irregular_forms().empty());
  EXPECT_EQ(roots(*s, "walked"), Roots({"walk"}));
}

TEST_F(StemmerTest, EndingTableGivesAllRootsOrTheFirstWithItsName) {
  auto s = make_stemmer("(:ending-table ((p s noun) (p es noun) (d ed verb) (p ed past)) :porter)");
  EXPECT_EQ(roots(*s, "boxes"), Roots({"boxe", "box"}));
  EXPECT_EQ(pairs(*s, "boxes"), Pairs({{"boxe", "noun"}}));
  EXPECT_EQ(pairs(*s, "stopped"), Pairs({{"stop", "verb"}}));
  // No ending gives a root: nothing, and the Porter stemmer is not tried.
  EXPECT_EQ(roots(*s, "walking"), Roots());
  EXPECT_EQ(pairs(*s, "walking"), Pairs());
  EXPECT_EQ(roots(*s, "s"), Roots());
}

TEST_F(StemmerTest, PorterPairsTheStemWithWhatItCutOff) {
  auto s = make_stemmer("(:porter)");
  const std::pair<const char*, Pairs> cases[] = {
      {"walked", {{"walk", "ed"}}},
      {"Ponies", {{"poni", "es"}}},
      {"happy", {{"happi", ""}}},  // same length: nothing cut off
      {"cat", {{"cat", ""}}},
      {"A4", {{"a4", ""}}},        // stopped at the digit
      {"", {{"", ""}}},
  };
  for (const auto& [word, expected] : cases) EXPECT_EQ(pairs(*s, word), expected) << word;
  EXPECT_EQ(roots(*s, "relational"), Roots({"relat"}));
}

TEST_F(StemmerTest, WithoutAnyFinderEveryWordIsItsOwnRoot) {
  auto s = make_stemmer("()");
  EXPECT_EQ(pairs(*s, "Walked"), Pairs({{"Walked", ""}}));
  EXPECT_EQ(roots(*s, "Walked"), Roots({"Walked"}));
  Stemmer bare;
  bare.init(nullptr);
  EXPECT_EQ(roots(bare, "dogs"), Roots({"dogs"}));
  EXPECT_EQ(roots(bare, nullptr), Roots());
}

TEST_F(StemmerTest, ResultsLiveInTheGivenBufferUntilItIsCleared) {
  auto s = make_stemmer("(:porter)");
  StrBufs buffer;
  std::vector<const char*> out;
  s->getRoots("walked", out, &buffer);
  s->getRoots("jumping", out, &buffer);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_STREQ(out[0], "walk");
  EXPECT_STREQ(out[1], "jump");
  // The own buffer does not disturb the caller's.
  std::vector<const char*> own;
  s->getRoots("talked", own);
  EXPECT_STREQ(out[0], "walk");
  EXPECT_STREQ(own[0], "talk");
  // Appends to what the caller already has.
  s->getRoots("cats", own);
  EXPECT_EQ(own.size(), 2u);
  EXPECT_STREQ(own[1], "cat");
}

}  // namespace
}  // namespace lorvan
