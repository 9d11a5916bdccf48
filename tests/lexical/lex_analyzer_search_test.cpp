// Lexical search: lattices of small sentences from a fixture lexicon --
// single words, inflected words through endings, phrases with anchors,
// unknown words, sentence-final punctuation, meaning selectors, tags --
// and from a word-sequence counter in place of a lexicon, with the unigram
// segmentation over it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "lex_analyzer_fixture.h"
#include "stats/word_seq_counter.h"

namespace lorvan::lexantest {
namespace {

const char* const kEndings = "((p s noun) (p s plural) (d ed verb) (p ed verb) (p \"\"))";

class LexicalSearchTest : public ::testing::Test {
 protected:
  LexicalSearchTest()
      : lexicon_({"(dog (pos noun))", "(walk (pos noun) (pos verb))", "(stop (pos verb))",
                  "(saw (pos noun) (pos verb))", "(New York (pos noun))",
                  "(ago , long (pos adv))", "(U.S. (pos noun))", "(1,000 (pos num))",
                  "(book (pos noun) (phrases (book shop)))", "(I (pos pron))", "(it (pos pron))"},
                 kEndings) {
    init_runtime();
    a_.set_lexicon(&lexicon_.lexicon());
    NOT_TO_REMOVE_PUNC_MARKS = 0;
  }
  ~LexicalSearchTest() override { NOT_TO_REMOVE_PUNC_MARKS = 0; }

  std::string search(const char* text) {
    a_.clear();
    feed(a_, text);
    a_.lexical_search();
    return lattice(a_);
  }
  std::string words() const {
    std::string out;
    for (int i = 1; i < a_.sentleng(); ++i) out += std::string(a_.space(i)) + "[" + a_.word(i) + "]";
    return out;
  }

  FixtureLexicon lexicon_;
  LexAnalyzer a_{16};
};

TEST_F(LexicalSearchTest, EveryMeaningOfEveryReadingBecomesAnItem) {
  struct Case {
    const char* sentence;
    const char* lattice;
  };
  const Case cases[] = {
      {"dog", "[1,1] dog (pos noun) w=0 hd=1 (root dog)\n"},
      {"Dogs", "[1,1] Dogs (pos noun) (affixes noun) w=0 hd=1 (root dog)\n"},
      // Two meanings, in the entry's order: the later one comes first in
      // the end list.
      {"walked",
       "[1,1] walked (pos verb) (affixes verb) w=0 hd=1 (root walk)\n"
       "[1,1] walked (pos noun) (affixes verb) w=0 hd=1 (root walk)\n"},
      {"stopped", "[1,1] stopped (pos verb) (affixes verb) w=0 hd=1 (root stop)\n"},
      // The key's spelling is the root; a comma inside a word splits nothing.
      {"1,000", "[1,1] 1,000 (pos num) w=0 hd=1 (root 1,000)\n"},
      // The phrase list of an entry is no reading of it.
      {"book", "[1,1] book (pos noun) w=0 hd=1 (root book)\n"},
      // Unknown words get no item.
      {"zebra", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(search(c.sentence), c.lattice) << c.sentence;
}

TEST_F(LexicalSearchTest, TwoAnalysesWithTheSameRootAndMeaningGiveOneItem) {
  // "dogs" reaches dog through both s endings.
  EXPECT_EQ(search("dogs"), "[1,1] dogs (pos noun) (affixes noun) w=0 hd=1 (root dog)\n");
  EXPECT_EQ(a_.item_count(), 2);
}

TEST_F(LexicalSearchTest, PhrasesAreFoundAroundTheirAnchors) {
  EXPECT_EQ(search("I saw New York"),
            "[1,1] I (pos pron) w=0 hd=1 (root I)\n"
            "[2,2] saw (pos verb) w=0 hd=2 (root saw)\n"
            "[2,2] saw (pos noun) w=0 hd=2 (root saw)\n"
            "[3,4] New York (pos noun) w=0 hd=3 (root New York)\n");
  // Anchored at "ago" with one word before it; the root reads in text
  // order.
  EXPECT_EQ(search("it was long ago"),
            "[1,1] it (pos pron) w=0 hd=1 (root it)\n"
            "[3,4] long ago (pos adv) w=0 hd=3 (root long ago)\n");
  // The phrase must be complete inside the sentence.
  EXPECT_EQ(search("ago"), "");
  EXPECT_EQ(search("new"), "");
}

TEST_F(LexicalSearchTest, APhraseWithoutItsEntryIsReportedAndTheRestGoesOn) {
  lexicon_.lexicon().del_entry("New York");
  Captured c;
  EXPECT_EQ(search("New York dog"), "[3,3] dog (pos noun) w=0 hd=3 (root dog)\n");
  EXPECT_EQ(c.err(), "Phrasal entry 'New York' is not found\n");
}

TEST_F(LexicalSearchTest, SentenceFinalPunctuationIsSplitOffTheLastRealWord) {
  struct Case {
    std::vector<const char*> words;
    const char* after;
  };
  const Case cases[] = {
      {{"the", "dog", "barked."}, " [the] [dog] [barked][.]"},
      {{"What?!"}, " [What][?!]"},
      {{"#1."}, " [#1][.]"},
      {{"50%."}, " [50%][.]"},
      {{"in", "the", "U.S."}, " [in] [the] [U.S.]"},          // the lexicon knows it
      {{"the", "dog", "."}, " [the] [dog] [.]"},              // already apart
      {{"a", "dog.", "\""}, " [a] [dog] .[\"]"},              // joins the next space
      {{"...", "!"}, " [...] [!]"},                           // no real word
      {{"'", "x"}, " ['] [x]"},                               // nothing to cut
      {{"dogs.", "'"}, " [dogs] .[']"},
  };
  for (const Case& c : cases) {
    a_.clear();
    a_.add_words(c.words);
    a_.lexical_search();
    EXPECT_EQ(words(), c.after) << c.words.back();
  }
  // The cut-off word follows without white space; the word itself is then
  // found as usual.
  a_.clear();
  a_.add_words(std::vector<const char*>{"dogs."});
  a_.lexical_search();
  EXPECT_TRUE(a_.nogap(2));
  EXPECT_EQ(lattice(a_), "[1,1] dogs (pos noun) (affixes noun) w=0 hd=1 (root dog)\n");
}

TEST_F(LexicalSearchTest, TheSwitchKeepsPunctuationOnTheWord) {
  NOT_TO_REMOVE_PUNC_MARKS = 1;
  a_.add_words(std::vector<const char*>{"the", "dog."});
  a_.lexical_search();
  EXPECT_EQ(words(), " [the] [dog.]");
  EXPECT_EQ(lattice(a_), "");
}

TEST_F(LexicalSearchTest, TheMeaningSelectorDecidesWhichMeaningsBecomeItems) {
  a_.set_meaning_selector(compile("(not-verb)"));
  EXPECT_EQ(search("walk"), "[1,1] walk (pos noun) w=0 hd=1 (root walk)\n");
}

TEST_F(LexicalSearchTest, TagsKeepOnlyTheItemsOfTheirCategoryWhenThereAreAny) {
  a_.set_hook(compile("(cate-from-meaning)"));
  a_.pos_marker('/');
  EXPECT_EQ(search("I saw/verb it/adj"),
            "[1,1] pron I (pos pron) w=0 hd=1 (root I)\n"
            "[2,2] verb saw (pos verb) w=0 hd=2 (root saw)\n"
            "[3,3] pron it (pos pron) w=0 hd=3 (root it)\n");
  EXPECT_STREQ(a_.word(2), "saw");
}

TEST_F(LexicalSearchTest, DebugSwitchPrintsTheLatticeOnTheErrorStream) {
  DEBUG_LEX_RULES = 1;
  Captured c;
  search("dog");
  DEBUG_LEX_RULES = 0;
  EXPECT_EQ(c.err(), "[1,1] dog (pos noun) w=0 hd=1 (root dog)\n");
}

TEST_F(LexicalSearchTest, EachSentenceStartsFromAnEmptyLattice) {
  const std::string first = search("I saw New York");
  EXPECT_EQ(search("dog"), "[1,1] dog (pos noun) w=0 hd=1 (root dog)\n");
  EXPECT_EQ(a_.sentleng(), 2);
  EXPECT_EQ(search("I saw New York"), first);
}

TEST_F(LexicalSearchTest, WordsBeyondSixteenBitPositionsAreReportedNotAnalysed) {
  std::vector<const char*> words(LexAnalyzer::kPositionLimit + 9, "dog");
  a_.add_words(words);
  Captured c;
  a_.lexical_search();
  EXPECT_EQ(c.err(),
            "Lexical analysis: the sentence has 32777 words; the words after position 32767 "
            "are not analysed\n");
  EXPECT_EQ(a_.item_count(), LexAnalyzer::kPositionLimit - 1);
  EXPECT_EQ(a_.bucket(32767)->size(), 1u);
  EXPECT_EQ(a_.bucket(32768), nullptr);
}

// ---- A word-sequence counter in place of a lexicon ----

class WordListTest : public ::testing::Test {
 protected:
  WordListTest() {
    init_runtime();
    counter_.setSymtable(101);
  }
  void load(const char* counts) {
    std::istringstream in(counts);
    counter_.loadCounts(in);
    a_.set_word_list(&counter_);
  }
  float cost(float count) const { return static_cast<float>(std::log(counter_.total_count() / count)); }
  std::string search(const char* text) {
    a_.clear();
    feed(a_, text);
    a_.lexical_search();
    return lattice(a_);
  }
  static std::string line(const char* span, const char* words, float w, const char* root) {
    std::ostringstream out;
    out << span << ' ' << words << "  w=" << w << " hd=" << span[1] << " (root " << root << ")\n";
    return out.str();
  }

  WordSeqCounter counter_{101, false};
  LexAnalyzer a_{16};
};

TEST_F(WordListTest, WithoutAnyListEveryWordIsOneItemWithoutMeaning) {
  EXPECT_EQ(search("new :nogap york"),
            "[1,1] new  w=0 hd=1 (root new)\n"
            "[2,2] york  w=0 hd=2 (root york)\n");
  EXPECT_STREQ(a_.space(2), " ");  // every space becomes one blank
}

TEST_F(WordListTest, KnownSequencesWeighTheirCountsAndUnknownWordsTwiceTheTotal) {
  load("new york\t5\nnew\t7\ncity\t3\n");
  const float n = counter_.total_count();
  EXPECT_EQ(search("new york city zoo"),
            line("[1,1]", "new", cost(7), "new") + line("[2,2]", "york", std::log(2 * n), "york") +
                line("[1,2]", "new york", cost(5), "new york") +
                line("[3,3]", "city", cost(3), "city") + line("[4,4]", "zoo", std::log(2 * n), "zoo"));
}

TEST_F(WordListTest, AWordThatOnlyBeginsLongerSequencesCountsAsUnknownAlone) {
  load("new york\t5\n");
  const float n = counter_.total_count();
  EXPECT_EQ(search("new jersey"),
            line("[1,1]", "new", std::log(2 * n), "new") +
                line("[2,2]", "jersey", std::log(2 * n), "jersey"));
}

TEST_F(WordListTest, UnigramSegmentationKeepsOneCheapestCover) {
  load("new york\t5\nnew\t7\ncity\t3\nyork city\t1\n");
  search("new york city");
  pickLexItemsWithUnigrams(a_);
  EXPECT_EQ(lattice(a_), line("[1,2]", "new york", cost(5), "new york") +
                             line("[3,3]", "city", cost(3), "city"));
  // Items taken out are in no list, and not marked deleted.
  EXPECT_TRUE(a_.pbucket(2)->empty());
  for (int i = 0; i < a_.item_count(); ++i) {
    const LexItem* item = a_.item(i);
    EXPECT_FALSE(item->deleted());
    const bool kept = item->root() == std::string("new york") || item->root() == std::string("city");
    EXPECT_EQ(item->in_lattice(), kept) << item->root();
  }
}

TEST_F(WordListTest, EqualCostsStillLeaveExactlyOneCover) {
  // ln(6/1) for "a b" equals ln(6/2) + ln(6/3) for "a" then "b".
  load("a\t2\nb\t3\na b\t1\n");
  const std::string pair = line("[1,2]", "a b", cost(1), "a b");
  const std::string apart = line("[1,1]", "a", cost(2), "a") + line("[2,2]", "b", cost(3), "b");
  for (int round = 0; round < 16; ++round) {
    search("a b");
    pickLexItemsWithUnigrams(a_);
    const std::string left = lattice(a_);
    EXPECT_TRUE(left == pair || left == apart) << left;
  }
}

}  // namespace
}  // namespace lorvan::lexantest
