// Black-box tests of the stemmer commands, make-stemmer and test-stemmer,
// run from the start-up file of the parsedemo program.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

// What the commands of `lsp` write on the standard output (the start-up
// file ends with an echo of a marker, after which the front end takes
// over), and everything on the standard error.
struct Output {
  std::string out;
  std::string err;
};

Output run_commands(const std::string& lsp,
                    const std::map<std::string, std::string>& files = {}) {
  RunResult r = run_parsedemo(lsp + "\n(echo END-OF-COMMANDS)\n", "", {"-d"}, files);
  EXPECT_EQ(r.status, 0) << r.err;
  std::size_t end = r.out.find("END-OF-COMMANDS\n");
  EXPECT_NE(end, std::string::npos) << r.out;
  return {r.out.substr(0, end), r.err};
}

TEST(StemmingCommands, PorterStemmerShowsRootsEndingsAndEitherDirection) {
  Output o = run_commands(
      "(make-stemmer S :porter)\n"
      "(test-stemmer S (walked Ponies relational))\n"
      "(test-stemmer S (walked) :show-ending)\n"
      "(test-stemmer S (hopping) :root-to-surface :show-ending)\n"
      "(test-stemmer S (hopping) :root-to-surface)\n");
  EXPECT_EQ(o.out,
            "walked\twalk\n"
            "Ponies\tponi\n"
            "relational\trelat\n"
            "walked\twalk\ted\n"
            "hopp\thopping\ting\n"
            "hopp\thopping\n");
  EXPECT_EQ(o.err, "");
}

TEST(StemmingCommands, WordsMayComeFromAFileOfLines) {
  Output o = run_commands("(make-stemmer S :porter)\n(test-stemmer S words.txt)\n",
                          {{"words.txt", "cats\nfiling\n\nagreed\n"}});
  EXPECT_EQ(o.out, "cats\tcat\nfiling\tfile\n\t\nagreed\tagre\n");
}

TEST(StemmingCommands, StemTableIrregularFormsAndEndingsTakePrecedenceInTurn) {
  Output o = run_commands(
      "(make-stemmer T :stem-table stems.txt)\n"
      "(test-stemmer T (left Went dogs) :show-ending)\n"
      "(make-stemmer I :irr-verbs irr.lsp :ending-table ((p s noun) (d ed verb)) :porter)\n"
      "(test-stemmer I (went stopped dogs walking) :show-ending)\n",
      {{"stems.txt", "went go past\nleft leave past\nleft left adj\n"},
       {"irr.lsp", "(went go)\n(bore bear)\n"}});
  EXPECT_EQ(o.out,
            "left\tleave\tpast\n"
            "left\tleft\tadj\n"
            "Went\tgo\tpast\n"
            "dogs\tdogs\tbare\n"
            "went\tgo\tirreg\n"
            "stopped\tstop\tverb\n"
            "dogs\tdog\tnoun\n");  // walking: no ending applies, so no line
  EXPECT_EQ(o.err, "");
}

TEST(StemmingCommands, EndingConditionsAcceptOrRejectRoots) {
  Output o = run_commands(
      "(make-stemmer E :ending-table ((p s noun) (p s verb) (d ed verb) (p ed past)"
      " :conditions (((noun) (nil)) ((verb past) (t)))))\n"
      "(test-stemmer E (dogs stopped) :show-ending)\n");
  EXPECT_EQ(o.out, "dogs\tdog\tverb\nstopped\tstop\tverb\n");
  EXPECT_EQ(o.err, "");
}

TEST(StemmingCommands, FailuresAreReportedAndInterpretationGoesOn) {
  Output o = run_commands(
      "(test-stemmer Nope (walked))\n"
      "(make-stemmer T :stem-table missing.txt)\n"
      "(test-stemmer T (dogs) :show-ending)\n"
      "(make-stemmer E :ending-table ((x s noun) (p s noun)))\n"
      "(test-stemmer E (dogs) :show-ending)\n"
      "(make-stemmer E :porter)\n"
      "(test-stemmer E (walked))\n");
  EXPECT_EQ(o.out,
            "dogs\tdogs\tbare\n"
            "dogs\tdog\tnoun\n");
  // The first E stays: its endings give walked no root, where the Porter
  // stemmer would have given walk.
  EXPECT_EQ(o.err,
            "The named object 'Nope' (type=Stemmer) is not found\n"
            "The file missing.txt cannot be opened\n"
            ":stem-table missing.txt cannot be opened.\n"
            "Ending type 'x' is not defined.\n"
            "Duplicate definition of E\n");
}

TEST(StemmingCommands, HelpTexts) {
  Output o = run_commands("(help \"make-stemmer\")\n(help \"test-stemmer\")\n");
  EXPECT_EQ(o.out,
            "make-stemmer\n(make-stemmer NAME [:stem-table FILE] [:irr-verbs FILE] [:porter])\n\n"
            "test-stemmer\n(test-stemmer name WORD WORD ...)\n\n");
}

}  // namespace
}  // namespace lorvan::testsupport
