// Black-box tests of the lexical analyzer commands through parsedemo: a
// start-up file that makes a lexicon, an ending table and analyzers, and
// command lines that use and misuse them.  Every input line prints
// parsedemo's command flag "1" before its own output, and the end of the
// input one more "1" and a line end.
#include <gtest/gtest.h>

#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

const char* const kStartUp =
    "(make-str-meaning-proto tag)\n"
    "(def-endings E (p s noun) (d ed verb))\n"
    "(def-endings E (p \"\"))\n"
    "(make-lexicon L 101 :ending-table E)\n"
    "(lex L (dog (tag noun)) (New York (tag noun)))\n"
    "(make-lex-analyzer LA :lexicon L :suggested-sentence-length 40 :hook (nil))\n"
    "(set-lex-analyzer-focus-marker LA *)\n"
    "(set-lex-analyzer-pos-marker LA /)\n"
    "(not-to-remove-punc-marks 0)\n";

TEST(LexanBlackBox, StartUpMakesAnalyzersQuietly) {
  RunResult r = run_parsedemo(kStartUp, "~(rmli LA)\n~(rmli la)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "111\n");  // empty lattices print nothing
  EXPECT_EQ(r.err, "");
}

TEST(LexanBlackBox, BadNamesAndDefinitionsAreReportedAndTheRunGoesOn) {
  RunResult r = run_parsedemo(
      kStartUp,
      "~(rmli NOPE)\n"
      "~(make-lex-analyzer LB :lexicon NOPE :word-list ALSO-NOPE)\n"
      "~(make-lex-analyzer LA :lexicon L)\n"
      "~(make-lex-analyzer LC :word-list W)\n"
      "~(set-lex-analyzer-pos-marker NOPE /)\n"
      "~(def-endings E (q s noun))\n"
      "~(def-endings L (p s noun))\n"
      "~(rmli LB)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "111111111\n");
  EXPECT_EQ(r.err,
            "The named object 'NOPE' (type=LexAnalyzer) is not found\n"
            "The named object 'NOPE' (type=Lexicon) is not found\n"
            "Duplicate definition of LA\n"
            "The named object 'W' (type=WordSeqCounter) is not found\n"
            "The named object 'NOPE' (type=LexAnalyzer) is not found\n"
            "Ending type 'q' is not defined.\n"
            "The named object 'L' is of the type 'Lexicon', not the expected type "
            "'EndingTable'.\n"
            "Duplicate definition of L\n");
}

TEST(LexanBlackBox, RuleListCommandsAreAcceptedBeforeRulesExist) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(def-rules R (r1 (word dog) (nil)))\n"
                              "~(insert-lex-rules R r1 (r0 (word cat) (nil)))\n"
                              "~(debug-rules R)\n"
                              "~(disable-rules R r0)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11111\n");
  EXPECT_EQ(r.err, "");
}

TEST(LexanBlackBox, HelpShowsTheCommands) {
  RunResult r = run_parsedemo(kStartUp, "~(help rmli)\n~(help not-to-remove)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1rmli\n(rmli LEXANALYZER).\n\n"
            "1not-to-remove-punc-marks\n(not-to-remove-punc-marks 0|1)\n\n1\n");
}

}  // namespace
}  // namespace lorvan::testsupport
