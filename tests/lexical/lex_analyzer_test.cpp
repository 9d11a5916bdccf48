// The lexical analyzer's sentence and lattice: feeding words and spaces,
// markers, reading words back, filing items in the end and start lists,
// duplicate checks, deletion, the iterator, the position sets and reuse of
// one analyzer across sentences.
#include "lexical/lex_analyzer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "lex_analyzer_fixture.h"

namespace lorvan::lexantest {
namespace {

class LexAnalyzerTest : public ::testing::Test {
 protected:
  LexAnalyzerTest() { init_runtime(); }

  // The meaning "(pos TEXT)", owned by the test's scratch lexicon.
  const Meaning* pos(const char* text) {
    LexEntry* e = scratch_.find_in_memory(text);
    if (e == nullptr) {
      std::string entry = std::string("(") + text + " (pos " + text + "))";
      e = scratch_.make_entry(entry.c_str());
    }
    return e->meanings().front().get();
  }
  LexItem* item(const char* root, int low, int high, const Meaning* m = nullptr) {
    return a_.make_lexitem(root, m, low, high);
  }
  // "low-high" of every item of a list, in order.
  static std::string spans(const LexAnalyzer::ItemList* list) {
    std::string out;
    for (const LexItem* e : *list) {
      out += std::to_string(e->low()) + "-" + std::to_string(e->high()) + ":" +
             (e->root() != nullptr ? e->root() : "") + " ";
    }
    return out;
  }

  Lexicon scratch_{11, nullptr};
  LexAnalyzer a_{8};
};

// ---- Feeding and reading the sentence ----

TEST_F(LexAnalyzerTest, WordsAndSpacesKeepPositionsFromOne) {
  EXPECT_EQ(a_.sentleng(), 0);
  a_.add_space("  ");
  a_.add_word("The");
  a_.add_word("dog");  // no space recorded: a null space
  a_.add_space(" ");
  a_.add_space("\n");  // joins the space already recorded for the next word
  EXPECT_EQ(a_.add_word("barks"), 4);
  EXPECT_EQ(a_.word(0), nullptr);
  EXPECT_STREQ(a_.word(1), "The");
  EXPECT_STREQ(a_.word(3), "barks");
  EXPECT_EQ(a_.word(4), nullptr);
  EXPECT_EQ(a_.word(-1), nullptr);
  EXPECT_STREQ(a_.space(1), "  ");
  EXPECT_STREQ(a_.space(2), "");
  EXPECT_STREQ(a_.space(3), " \n");
  EXPECT_STREQ(a_.space(9), "");
  EXPECT_FALSE(a_.nogap(1));
  EXPECT_TRUE(a_.nogap(2));
  EXPECT_TRUE(a_.nogap(9));
}

TEST_F(LexAnalyzerTest, NullSpaceOnlyPadsAndNullWordOnlyStarts) {
  a_.add_word(nullptr);
  EXPECT_EQ(a_.sentleng(), 1);
  a_.add_word("a");
  a_.add_word("b");
  a_.add_space(nullptr);
  a_.add_word("c");
  EXPECT_STREQ(a_.space(3), "");
  EXPECT_TRUE(a_.nogap(3));
}

TEST_F(LexAnalyzerTest, InitReadsAtomsAndNogap) {
  feed(a_, "can :nogap 't go ( x ) :NOGAP .");
  ASSERT_EQ(a_.sentleng(), 5);
  EXPECT_STREQ(a_.words(1, 4), "can't go.");
  EXPECT_TRUE(a_.nogap(2));
  EXPECT_TRUE(a_.nogap(4));
  EXPECT_FALSE(a_.nogap(3));
}

TEST_F(LexAnalyzerTest, TokensFromATokenizerBecomeWordsAndSingleSpaces) {
  Tokenizer t(" \t\n", "(){}[];!?$`'\"-", "(){}[];,:?!@`\"-", "<> &;.", 0, 0, 4096, 512);
  t.set_string_input("John's  well-known <b>dog</b>");
  a_.add_tokens(t);
  std::vector<std::string> words;
  for (int i = 1; i < a_.sentleng(); ++i) words.push_back(a_.word(i));
  EXPECT_EQ(words, (std::vector<std::string>{"John", "'s", "well", "-", "known", "<b>", "dog",
                                             "</b>"}));
  EXPECT_STREQ(a_.space(3), " ");  // two blanks are one white token
  EXPECT_TRUE(a_.nogap(2));
  EXPECT_FALSE(a_.nogap(6));
  EXPECT_TRUE(a_.nogap(8));
}

TEST_F(LexAnalyzerTest, WordsJoinWithBlanksOnlyWhereThereWasSpace) {
  feed(a_, "New York :nogap , said he");
  struct Case {
    int i, j;
    const char* text;
  };
  for (const Case& c : {Case{1, 3, "New York,"}, Case{2, 2, "York"}, Case{0, 2, "New York"},
                        Case{4, 99, "said he"}, Case{3, 1, ""}, Case{7, 9, ""}}) {
    EXPECT_STREQ(a_.words(c.i, c.j), c.text) << c.i << ".." << c.j;
  }
}

TEST_F(LexAnalyzerTest, PrintWordsWritesSpacesWithLineEndsAsBlanks) {
  a_.add_word("one");
  a_.add_space("\n ");
  a_.add_word("two");
  a_.add_space(" ");
  a_.add_word("\xe4\xb8\xad");  // a word beginning with a byte >= 128: no space before it
  std::ostringstream out;
  a_.print_words(out, 1, 3);
  a_.print_words(out, -1, 2);  // nothing
  a_.print_words(out, 1, 4);   // nothing: 4 is not a word
  EXPECT_EQ(out.str(), "one  two\xe4\xb8\xad");
}

TEST_F(LexAnalyzerTest, InsertSpaceAppendsOrStartsTheNextSpace) {
  feed(a_, "a b");
  a_.insert_space("!", 2);
  a_.insert_space(")", 3);  // beyond the array: the space of the next word
  a_.insert_space("x", -1);
  a_.add_word("c");
  EXPECT_STREQ(a_.space(2), " !");
  EXPECT_STREQ(a_.space(3), ")");
  EXPECT_FALSE(a_.nogap(3));
  a_.add_space("<p>");  // markup standing for no white space
  a_.add_word("d");
  EXPECT_TRUE(a_.nogap(4));
}

TEST_F(LexAnalyzerTest, BeforeAndAfterPassOverPunctuationOnly) {
  const char* words[] = {"if", ",", "(", "then", "we", "said", "\"", "then"};
  a_.add_words(words);
  EXPECT_EQ(a_.before(4, "IF"), 1);
  EXPECT_EQ(a_.before(5, "if"), -1);  // "then" stops the search
  EXPECT_EQ(a_.before(1, "if"), -1);
  EXPECT_EQ(a_.before(20, "if"), -1);
  EXPECT_EQ(a_.after(1, "then"), 4);
  EXPECT_EQ(a_.after(6, "then"), 8);
  EXPECT_EQ(a_.after(4, "said"), -1);
  EXPECT_EQ(a_.after(8, "then"), -1);
  // The edges: the search may start just past the last word or before the
  // first, never outside the sentence.
  EXPECT_EQ(a_.before(9, "then"), 8);
  EXPECT_EQ(a_.after(0, "if"), 1);
  EXPECT_EQ(a_.after(-1, "if"), -1);
  EXPECT_EQ(a_.before(4, nullptr), -1);
  EXPECT_EQ(a_.after(1, nullptr), -1);
}

TEST_F(LexAnalyzerTest, FocusMarkerIsDroppedAndRecordsThePosition) {
  a_.focus_marker('*');
  feed(a_, "the *dog barks *");
  EXPECT_STREQ(a_.word(2), "dog");
  EXPECT_STREQ(a_.word(4), "");
  EXPECT_TRUE(a_.foci().test(2));
  EXPECT_TRUE(a_.foci().test(4));
  EXPECT_EQ(a_.foci().count(), 2);
}

TEST_F(LexAnalyzerTest, PosMarkerCutsTheWordAndKeepsTagsAtTheirWords) {
  a_.pos_marker('/');
  feed(a_, "I/PRP saw/V it");
  EXPECT_STREQ(a_.word(2), "saw");
  EXPECT_EQ(a_.tag(0), nullptr);
  EXPECT_STREQ(a_.tag(1), "PRP");
  EXPECT_STREQ(a_.tag(2), "V");
  EXPECT_EQ(a_.tag(3), nullptr);
  EXPECT_EQ(a_.tag_count(), 4);
}

// ---- The lattice ----

TEST_F(LexAnalyzerTest, ListsOrderShortestFirstAtTheEndAndLongestFirstAtTheStart) {
  feed(a_, "a b c");
  a_.add(item("bc", 2, 3), false);
  a_.add(item("c", 3, 3), false);
  a_.add(item("abc", 1, 3), false);
  a_.add(item("c2", 3, 3), false);  // same span: the newest first
  a_.add(item("ab", 1, 2), false);
  a_.add(item("a", 1, 1), false);
  EXPECT_EQ(spans(a_.bucket(3)), "3-3:c2 3-3:c 2-3:bc 1-3:abc ");
  EXPECT_EQ(spans(a_.pbucket(1)), "1-3:abc 1-2:ab 1-1:a ");
  EXPECT_EQ(spans(a_.pbucket(3)), "3-3:c2 3-3:c ");
  EXPECT_EQ(a_.bucket(-1), nullptr);
  EXPECT_EQ(a_.bucket(LexAnalyzer::kPositionLimit), nullptr);
  EXPECT_TRUE(a_.bucket(7)->empty());

  std::string walk;
  for (LexAnalyzerIterator it(&a_); !it.finished(); it.next()) walk += it.current()->root() + std::string(" ");
  EXPECT_EQ(walk, "a ab c2 c bc abc ");
}

TEST_F(LexAnalyzerTest, CheckedAddReturnsTheItemAlreadyThere) {
  feed(a_, "dog");
  LexItem* first = a_.add(item("dog", 1, 1, pos("noun")), true);
  LexItem* again = item("dog", 1, 1, pos("noun"));
  EXPECT_EQ(a_.add(again, true), first);
  EXPECT_FALSE(again->in_lattice());
  // A different meaning, root or span is a new item; so is anything
  // without the check, or without a meaning.
  EXPECT_NE(a_.add(item("dog", 1, 1, pos("verb")), true), first);
  EXPECT_NE(a_.add(item("Dog", 1, 1, pos("noun")), true), first);
  LexItem* unchecked = item("dog", 1, 1, pos("noun"));
  EXPECT_EQ(a_.add(unchecked, false), unchecked);
  LexItem* bare = a_.add(item("dog", 1, 1), true);
  EXPECT_NE(a_.add(item("dog", 1, 1), true), bare);
  EXPECT_EQ(a_.bucket(1)->size(), 6u);
  EXPECT_EQ(a_.item_count(), 7);  // every item made stays with the analyzer
}

TEST_F(LexAnalyzerTest, AddingAnItemTwiceFilesItOnce) {
  feed(a_, "a");
  LexItem* x = item("a", 1, 1);
  a_.add(x, false);
  EXPECT_EQ(a_.add(x, false), x);
  EXPECT_EQ(a_.bucket(1)->size(), 1u);
  a_.del(x);
  EXPECT_TRUE(x->deleted());
  EXPECT_TRUE(a_.bucket(1)->empty());
  EXPECT_TRUE(a_.pbucket(1)->empty());
  a_.add(x, false);  // re-added: no longer deleted
  EXPECT_FALSE(x->deleted());
  EXPECT_EQ(a_.pbucket(1)->size(), 1u);
}

TEST_F(LexAnalyzerTest, HookRunsOnEnteringItemsAndTheirSubItems) {
  a_.set_hook(compile("(count-calls)"));
  feed(a_, "a b");
  LexItem* whole = item("ab", 1, 2);
  whole->add_component(item("a", 1, 1));
  whole->add_component(item("b", 2, 2));
  hook_calls = 0;
  a_.add(whole, true);
  EXPECT_EQ(hook_calls, 3);
  a_.add(whole, true);  // already in: not again
  EXPECT_EQ(hook_calls, 3);
}

TEST_F(LexAnalyzerTest, DelSmallerItemsKeepsWhatCoversTheWholeSpanAndWhatReachesOut) {
  feed(a_, "a b c d");
  for (auto [low, high] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 4}, {1, 3}, {2, 3}, {1, 2},
                           {2, 4}, {1, 4}}) {
    a_.add(item((std::to_string(low) + std::to_string(high)).c_str(), low, high), false);
  }
  a_.del_smaller_items(1, 3);
  std::string left;
  for (LexAnalyzerIterator it(&a_); !it.finished(); it.next()) left += std::string(it.current()->root()) + " ";
  EXPECT_EQ(left, "13 44 24 14 ");
  a_.del_smaller_items(2, 99);  // up to the last word
  left.clear();
  for (LexAnalyzerIterator it(&a_); !it.finished(); it.next()) left += std::string(it.current()->root()) + " ";
  EXPECT_EQ(left, "13 24 14 ");
  a_.del_smaller_items(4, 4);  // a single position: nothing
  EXPECT_EQ(a_.bucket(4)->size(), 2u);
}

TEST_F(LexAnalyzerTest, RemoveRedundantDeletesWhatOverlapsALongerItem) {
  feed(a_, "a b c d");
  a_.add(item("ab", 1, 2), false);
  a_.add(item("bcd", 2, 4), false);
  a_.add(item("c", 3, 3), false);
  a_.add(item("a", 1, 1), false);
  a_.removeRedundant();
  std::string left;
  for (LexAnalyzerIterator it(&a_); !it.finished(); it.next()) left += std::string(it.current()->root()) + " ";
  // ab overlaps bcd and goes, but still counts as covering position 1.
  EXPECT_EQ(left, "bcd ");
  EXPECT_TRUE(a_.item(0)->deleted());
}

TEST_F(LexAnalyzerTest, PositionSetsIgnoreNegativeAndUnanalysedPositions) {
  feed(a_, "a b c");
  a_.flag_first_conjunction(1, 2);
  a_.flag_last_conjunction(3, 3);
  a_.flag_adverb(-5, 1);
  a_.skip(2);
  a_.skip(-1);
  a_.skip(1 << 30);
  EXPECT_TRUE(a_.first_conjunction(2));
  EXPECT_FALSE(a_.first_conjunction(3));
  EXPECT_TRUE(a_.last_conjunction(3));
  EXPECT_TRUE(a_.is_adverb(0));
  EXPECT_TRUE(a_.is_adverb(1));
  EXPECT_TRUE(a_.is_skipable(2));
  EXPECT_FALSE(a_.is_skipable(1));
  EXPECT_EQ(a_.mixed_case(-1), 1);
  EXPECT_EQ(a_.mixed_case(0), 0);
  EXPECT_EQ(a_.mixed_case(7), 0);
  EXPECT_EQ(a_.dist(2, 7), 5);
}

TEST_F(LexAnalyzerTest, ClearForgetsTheSentenceAndReusesItsItems) {
  a_.focus_marker('*');
  a_.pos_marker('/');
  feed(a_, "*a/X b");
  a_.skip(1);
  a_.flag_first_conjunction(2, 2);
  a_.mixed_case(0);
  LexItem* first = a_.add(item("a", 1, 1, pos("noun")), true);
  a_.clear();
  EXPECT_EQ(a_.sentleng(), 0);
  EXPECT_EQ(a_.tag_count(), 0);
  EXPECT_EQ(a_.item_count(), 0);
  EXPECT_TRUE(a_.foci().empty());
  EXPECT_FALSE(a_.is_skipable(1));
  EXPECT_FALSE(a_.first_conjunction(2));
  EXPECT_EQ(a_.mixed_case(-1), 1);
  EXPECT_TRUE(a_.bucket(1)->empty());
  EXPECT_TRUE(LexAnalyzerIterator(&a_).finished());
  // The markers stay; the item object is reused fresh.
  feed(a_, "c/Y");
  EXPECT_STREQ(a_.tag(1), "Y");
  LexItem* next = item("c", 1, 1);
  EXPECT_EQ(next, first);
  EXPECT_EQ(next->meaning(), nullptr);
  EXPECT_FALSE(next->in_lattice());
}

TEST_F(LexAnalyzerTest, ItemsOutsideSixteenBitPositionsAreRefused) {
  EXPECT_EQ(a_.make_lexitem("x", nullptr, 0, 40000), nullptr);
  EXPECT_EQ(a_.make_lexitem("x", nullptr, -40000, 1), nullptr);
  EXPECT_NE(a_.make_lexitem("x", nullptr, 32767, 32767), nullptr);
  EXPECT_EQ(a_.add(nullptr, true), nullptr);
}

TEST_F(LexAnalyzerTest, CopyTakesSettingsButNoSentenceOrMarkers) {
  Lexicon lexicon(11, nullptr);
  a_.set_lexicon(&lexicon);
  a_.set_hook(compile("(count-calls)"));
  a_.focus_marker('*');
  feed(a_, "a");
  LexAnalyzer b(a_);
  EXPECT_EQ(b.lexicon(), &lexicon);
  ASSERT_NE(b.hook(), nullptr);
  EXPECT_NE(b.hook(), a_.hook());
  EXPECT_EQ(b.meaning_selector(), nullptr);
  EXPECT_EQ(b.focus_marker(), 0);
  EXPECT_EQ(b.sentleng(), 0);
  EXPECT_EQ(b.sentence_length_hint(), 8);
}

}  // namespace
}  // namespace lorvan::lexantest
