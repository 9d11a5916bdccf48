// The Porter stemmer: measure and letter-pattern helpers, rule application,
// and whole words through every step.
#include "lexicon/porter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lorvan {
namespace {

struct WordCase {
  const char* word;
  int expected;
};

TEST(PorterWordSize, CountsVowelToConsonantTransitions) {
  const WordCase cases[] = {
      {"", 0},        {"tr", 0},       {"ee", 0},      {"tree", 0},   {"by", 0},
      {"trouble", 1}, {"oats", 1},     {"trees", 1},   {"ivy", 1},    {"troubles", 2},
      {"private", 2}, {"oaten", 2},    {"orrery", 2},
      // y is a consonant at the start and after a vowel, a vowel after a
      // consonant.
      {"yes", 1},     {"say", 1},      {"sayer", 2},   {"syzygy", 2}, {"yy", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(WordSize(c.word), c.expected) << c.word;
}

TEST(PorterPatterns, ContainsVowelTreatsALeadingYAsConsonant) {
  EXPECT_FALSE(ContainsVowel(""));
  EXPECT_FALSE(ContainsVowel("y"));
  EXPECT_FALSE(ContainsVowel("ysd"));
  EXPECT_FALSE(ContainsVowel("str"));
  EXPECT_TRUE(ContainsVowel("a"));
  EXPECT_TRUE(ContainsVowel("sky"));
  EXPECT_TRUE(ContainsVowel("bat"));
}

TEST(PorterPatterns, EndsWithCvcCountsShortWordsAsCvc) {
  const WordCase cases[] = {
      {"", 1},    {"a", 1},    {"us", 1},   {"hop", 1},  {"fil", 1},
      {"hoe", 0},   // ends in a vowel
      {"how", 0},   // w, x and y do not close the pattern
      {"box", 0},  {"say", 0},
      {"tap", 1},  {"tyb", 1},  // y counts as the vowel
      {"tann", 0}, {"ceas", 0}, {"oop", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(EndsWithCVC(c.word), c.expected != 0) << c.word;
  EXPECT_TRUE(AddAnE("fil"));
  EXPECT_FALSE(AddAnE("filt"));    // not CVC
  EXPECT_FALSE(AddAnE("motor"));   // m = 2
  EXPECT_TRUE(RemoveAnE("ceas"));
  EXPECT_FALSE(RemoveAnE("rat"));  // CVC
  EXPECT_FALSE(RemoveAnE("a"));    // m = 0
}

// ReplaceEnd on a copy with room to grow; returns the rule id and the word.
std::pair<int, std::string> replace_end(const char* word, const RuleList* rules, int* last_out) {
  char buffer[64] = {};
  std::strcpy(buffer, word);
  int last = static_cast<int>(std::strlen(word)) - 1;
  int id = ReplaceEnd(buffer, last, rules);
  *last_out = last;
  return {id, buffer};
}

TEST(PorterReplaceEnd, AppliesTheFirstFittingRowAndMovesTheCursor) {
  int last = 0;
  EXPECT_EQ(replace_end("caresses", step1a_rules, &last), std::make_pair(101, std::string("caress")));
  EXPECT_EQ(last, 5);
  EXPECT_EQ(replace_end("cats", step1a_rules, &last), std::make_pair(104, std::string("cat")));
  EXPECT_EQ(last, 2);
  EXPECT_EQ(replace_end("sing", step2_rules, &last), std::make_pair(0, std::string("sing")));
  EXPECT_EQ(last, 3);
}

TEST(PorterReplaceEnd, AFailedRowDoesNotEndTheTable) {
  int last = 0;
  // eed matches, but the stem f has m = 0; ed then applies.
  EXPECT_EQ(replace_end("feed", step1b_rules, &last), std::make_pair(106, std::string("fe")));
  EXPECT_EQ(last, 1);
  // The measure of a whole-word match is 0, so s is not removed from "s".
  EXPECT_EQ(replace_end("s", step1a_rules, &last), std::make_pair(0, std::string("s")));
  // ed leaves no vowel in "bl": nothing applies.
  EXPECT_EQ(replace_end("bled", step1b_rules, &last), std::make_pair(0, std::string("bled")));
}

TEST(PorterReplaceEnd, TheEmptySuffixRowAppendsAtTheEnd) {
  int last = 0;
  EXPECT_EQ(replace_end("fil", step1b1_rules, &last), std::make_pair(122, std::string("file")));
  EXPECT_EQ(last, 3);
  EXPECT_EQ(replace_end("", step1b1_rules, &last), std::make_pair(0, std::string("")));
  EXPECT_EQ(last, -1);
}

struct StemCase {
  const char* word;
  const char* stem;
};

TEST(PorterStem, StemsWordsThroughAllSteps) {
  const StemCase cases[] = {
      // step 1a
      {"caresses", "caress"}, {"ponies", "poni"}, {"ties", "ties"} /* ies needs m > 0 before it */, {"caress", "caress"},
      {"cats", "cat"},
      // step 1b, then 1b1 after ed or ing
      {"feed", "fe"},  // eed fails on f (m = 0), ed applies
      {"agreed", "agre"},  // agree, then 502 removes the e
      {"plastered", "plaster"}, {"bled", "bled"}, {"motoring", "motor"}, {"sing", "sing"},
      {"conflated", "conflat"}, {"sized", "size"}, {"hoping", "hope"}, {"filing", "file"},
      {"used", "use"},  // a two-letter stem counts as CVC
      {"troubled", "troubl"},
      // The doubled-letter rows need m > 0 before the double letter.
      {"hopping", "hopp"}, {"running", "runn"}, {"tanned", "tann"},
      // step 1c
      {"happy", "happi"}, {"sky", "sky"},
      // step 2
      {"relational", "relat"}, {"generalization", "gener"}, {"formality", "formal"},
      {"sensitivity", "sensit"}, {"conditional", "condition"},
      // fulnes, not fulness: step 3 removes ness
      {"hopefulness", "hopeful"},
      // steps 3 and 4
      {"electrical", "electr"}, {"revival", "reviv"}, {"allowance", "allow"},
      {"airliner", "airlin"}, {"gyroscopic", "gyroscop"}, {"replacement", "replac"},
      {"adoption", "adopt"}, {"effective", "effect"}, {"bowdlerize", "bowdler"},
      // step 5
      {"probate", "probat"}, {"rate", "rate"}, {"cease", "ceas"}, {"overfull", "overful"},
      {"controll", "controll"},  // ll needs m > 1 before it: contro has 1
      {"roll", "roll"}, {"falling", "fall"},
      // case and degenerate words
      {"Walked", "walk"}, {"CATS", "cat"}, {"", ""}, {"s", "s"}, {"y", "y"}, {"ed", "ed"},
  };
  for (const auto& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(Stem(word), 1) << c.word;
    EXPECT_EQ(word, c.stem) << c.word;
  }
}

TEST(PorterStem, StopsAtTheFirstNonLetter) {
  const StemCase cases[] = {
      {"A4", "a4"}, {"AB-Cats", "ab-Cats"}, {"4Cats", "4Cats"}, {"caf\xc3\xa9s", "caf\xc3\xa9s"},
  };
  for (const auto& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(Stem(word), 0) << c.word;
    EXPECT_EQ(word, c.stem) << c.word;
  }
  EXPECT_EQ(Stem(static_cast<char*>(nullptr)), 0);
}

TEST(PorterStem, WorksInPlaceOnTheGivenText) {
  char text[] = "Relational";
  EXPECT_EQ(Stem(text), 1);
  EXPECT_STREQ(text, "relat");
}

}  // namespace
}  // namespace lorvan
