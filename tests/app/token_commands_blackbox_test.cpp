// Black-box tests of the tokenizer commands: tokenizers defined by the
// start-up file or by command lines, tried on files of the data folder.
#include <gtest/gtest.h>

#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

// The sentence splitter's usual classes: white, start, middle and the
// "<> &;." quotes (tags and entities), without escape or comment.
const char kWordsTokenizer[] =
    "(def-tokenizer :name words \" \\t\\n\" \"(){}[];!?$`'\\\"-\" \"(){}[];,:?!@`\\\"-\""
    " \"<> &;.\" \"\" \"\")\n";

TEST(TokenCommandsBlackbox, StartupCommandsAreListedWithTheirHelp) {
  // Each pattern is a whole command name, so other modules' commands stay
  // out of the listing.
  RunResult r = run_parsedemo(
      "", "~(help \"def-socket-tokenizer\")(help \"def-tokenizer\")\n"
      "~(help \"default-character-encoding\")(help \"test-tokenizer\")", {"-d"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "1def-socket-tokenizer\n(def-socket-tokenizer <name>\n  white-chars\n  start-chars\n"
            "  middle-chars\n  quote-chars\n  escape-chars\n  comment-chars\n  )\n"
            "   defines a socket-tokenizer\n\n"
            "def-tokenizer\n(def-tokenizer <name>\n  white-chars\n  start-chars\n  middle-chars\n"
            "  quote-chars\n  escape-chars\n  comment-chars\n  )\n   defines a tokenizer\n\n"
            "1default-character-encoding\n"
            "(default-character-encoding [tokenizer] ASCII|DoubleByte|UTF-8)\n\n"
            "test-tokenizer\n(test-tokenizer TOKENIZER INPUT_STREAM)\n\n");
}

TEST(TokenCommandsBlackbox, StartupTokenizerTriedOnAFile) {
  RunResult r = run_parsedemo(kWordsTokenizer, "~(test-tokenizer words \"text.txt\")", {"-d"},
                              {{"text.txt", "well-known <b>U.S.</b> John's 1,000\n"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "1well\n-\nknown\n \n<b>\nU.S.\n</b>\n \nJohn\n's\n \n1,000\n\\n\n");
}

TEST(TokenCommandsBlackbox, CommandLinesDefineAndRetuneTokenizers) {
  const std::string input =
      "~(def-tokenizer :name lines :separator \"\\n\")(test-tokenizer lines \"text.txt\")\n"
      "~(default-character-encoding :tokenizer words :encoding \"utf-8\")"
      "(test-tokenizer words \"utf.txt\")";
  RunResult r = run_parsedemo(kWordsTokenizer, input, {"-d"},
                              {{"text.txt", "first line\nsecond"}, {"utf.txt", "caf\xc3\xa9s"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "1first line\\n\nsecond\n1caf\n\xc3\xa9\ns\n");
}

TEST(TokenCommandsBlackbox, MistakesAreReportedAndTheNextCommandRuns) {
  const std::string input =
      "~(def-tokenizer :name bad \" \")(test-tokenizer bad \"text.txt\")\n"
      "~(default-character-encoding :encoding klingon)(test-tokenizer words \"none.txt\")"
      "(echo still here)";
  RunResult r = run_parsedemo(kWordsTokenizer, input, {"-d"}, {{"text.txt", "x"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "(def-tokenizer ...) incorrect number of arguments\n"
            "The named object 'bad' (type=Tokenizer) is not found\n"
            "Unknown character encoding: 'klingon'\n"
            "The file none.txt cannot be opened\n");
  EXPECT_EQ(r.out, "11still here\n");
}

}  // namespace
}  // namespace lorvan::testsupport
