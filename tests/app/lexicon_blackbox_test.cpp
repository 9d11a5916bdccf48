// Black-box tests of lexicons through parsedemo: the start-up file makes a
// lexicon from a small lexicon file, command lines query, print, reload and
// clear it.  Every input line prints parsedemo's command flag "1" before its
// own output, and the end of the input one more "1".
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

const char* const kStartUp =
    "(def-att-list syn\n"
    "  (defattribute cat DisjAtt (allowable-values n v adj))\n"
    "  (defattribute num DisjAtt (allowable-values sg pl)))\n"
    "(make-avmeaning-proto syn avm)\n"
    "(make-str-meaning-proto gloss)\n"
    "(make-lexicon L 101 :ending-table ((p s plural) (p \"\" bare)))\n"
    "(load-lex L \"small.lex\")\n";

const char* const kSmallLex =
    "(book (avm ((cat n) (num sg))) (freq N 10 V 2))\n"
    "(New York (avm ((cat n))) (gloss \"the city\"))\n"
    "(ago , long (avm ((cat adj))))\n"
    "(Book (gloss again))\n"
    "(odd (unknowntype x) (freq N 1 V))\n";

const std::map<std::string, std::string> kFiles = {{"small.lex", kSmallLex}};

TEST(LexiconBlackBox, EntriesAreFoundWhateverTheirCase) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(lex-entry L BOOK \"new york\" nothing)\n"
                              "~(lex-entry L new ago)\n",
                              {"-d"}, kFiles);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1(book\n (avm ((cat n) (num sg)))\n (freq N 10 V 2)\n )\n"
            "(\"New York\"\n (avm ((cat n)))\n (gloss \"the city\")\n )\n"
            "1(New\n (phrases (New York))\n )\n"
            "(ago\n (phrases (ago , long))\n )\n"
            "1\n");
  // The duplicate is reported, the unknown meaning type dropped silently,
  // the odd frequency list reported without a line end.
  EXPECT_EQ(r.err, "Duplicate entry: Book\nIncorrect format for (freq ...)");
}

TEST(LexiconBlackBox, PrintedLexiconLoadsIntoAnotherOne) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(print-lex L copy.lex)\n"
                              "~(make-lexicon M 11)\n"
                              "~(load-lex M copy.lex)\n"
                              "~(lex-entry M \"ago, long\" ago odd)\n"
                              "~(clear-lexicon L)\n"
                              "~(lex-entry L book)\n",
                              {"-d"}, kFiles);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "111"
            "1(\"ago, long\"\n (avm ((cat adj)))\n )\n"
            "(ago\n (phrases )\n (phrases (ago , long))\n )\n"
            "(odd\n (freq )\n )\n"
            "11"
            "1\n");
  EXPECT_EQ(r.err, "Duplicate entry: Book\nIncorrect format for (freq ...)");
}

TEST(LexiconBlackBox, MistakesAreReportedAndTheRunGoesOn) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(load-lex L missing.lex)\n"
                              "~(lex-entry Nope book)\n"
                              "~(lex L (fine (gloss yes)) stray ((gloss no-key)))\n"
                              "~(lex-entry L fine)\n",
                              {"-d"}, kFiles);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1111(fine\n (gloss yes)\n )\n1\n");
  EXPECT_EQ(r.err,
            "Duplicate entry: Book\nIncorrect format for (freq ...)"
            "The file missing.lex cannot be opened\n"
            "The named object 'Nope' (type=Lexicon) is not found\n"
            "Lexicon: an entry must be a list beginning with its key: stray\n"
            "Lexicon: an entry must be a list beginning with its key: ((gloss no-key))\n");
}

}  // namespace
}  // namespace lorvan::testsupport
