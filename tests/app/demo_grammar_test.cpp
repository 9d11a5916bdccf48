// Tests of the bundled demonstration grammar (data/) as parsedemo runs it:
// the start-up files load without a message, the ending table finds the
// roots of regular inflections, agreement and case constraints hold, and
// the example sentences (examples/sentences.txt) parse to the listings kept
// in tests/data/golden/.
//
// The repository root holds $LORVAN_TEST_DATA (<root>/tests/data, set by
// ctest); without it, it is found from this file's path.  After a deliberate change of the
// grammar, run the test with LORVAN_UPDATE_GOLDEN=1 to rewrite the golden
// files, and review the difference before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

namespace fs = std::filesystem;

fs::path repo_root() {
  if (const char* data = std::getenv("LORVAN_TEST_DATA")) {
    return fs::path(data).parent_path().parent_path();
  }
  return fs::path(__FILE__).parent_path().parent_path().parent_path();
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Runs parsedemo on the bundled grammar with `input` as its input file.
RunResult run_grammar(const std::string& input, std::vector<std::string> options = {"-d"}) {
  TempDir dir;
  dir.write("input.txt", input);
  std::vector<std::string> args{"-p", (repo_root() / "data").string(), "-file", "input.txt"};
  args.insert(args.end(), options.begin(), options.end());
  return run_parsedemo_in(dir, args);
}

// Compares `actual` with the golden file line by line, so that a failure
// names the first sentence whose analysis changed.
void expect_golden(const std::string& actual, const std::string& golden_name) {
  const fs::path golden = repo_root() / "tests/data/golden" / golden_name;
  if (std::getenv("LORVAN_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(golden, std::ios::binary | std::ios::trunc) << actual;
  }
  ASSERT_TRUE(fs::exists(golden)) << golden;
  const std::vector<std::string> want = lines_of(read_text(golden));
  const std::vector<std::string> got = lines_of(actual);
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << golden_name << ", line " << i + 1;
  }
  EXPECT_EQ(got.size(), want.size()) << golden_name;
}

TEST(DemoGrammar, StartUpLoadsWithoutMessages) {
  RunResult r = run_grammar("~(lex-entry english dog)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // The input's final line break leaves one more, empty sentence.
  EXPECT_EQ(r.out, "1(dog\n (avm (noun))\n )\n1(\n)\n");
}

// One word per sentence: the root column shows which entry the ending
// table led to.  The last cases are words an ending must not misread.
TEST(DemoGrammar, EndingsFindTheRootsOfRegularForms) {
  struct Case {
    const char* word;
    const char* line;  // the word's line of the listing
  };
  const Case cases[] = {
      {"dogs", "1\tdogs\tdog\tN\t*\t"},            // -s
      {"Boxes", "1\tBoxes\tbox\tN\t*\t"},          // -es after x
      {"cities", "1\tcities\tcity\tN\t*\t"},       // -ies
      {"goes", "1\tgoes\tgo\tV\t*\t"},             // -es after o
      {"smiled", "1\tsmiled\tsmile\tV\t*\t"},      // -ed after a silent e
      {"cried", "1\tcried\tcry\tV\t*\t"},          // -ied
      {"jumped", "1\tjumped\tjump\tV\t*\t"},       // -ed
      {"dancing", "1\tdancing\tdance\tV\t*\t"},    // -ing, e dropped
      {"running", "1\trunning\trun\tV\t*\t"},      // doubled consonant
      {"bed", "1\tbed\t~\tN\t*\t"},                // not be + d
      {"is", "1\tis\t~\tU\t*\tpunc"},              // not I + s
  };
  for (const Case& c : cases) {
    RunResult r = run_grammar(std::string(c.word) + "\n", {});
    EXPECT_EQ(r.err, "") << c.word;
    EXPECT_EQ(r.out, std::string("0(\n") + c.line + "\n)\n0(\n)\n") << c.word;
  }
}

// Subjects agree with their verb and auxiliary in number and person and
// must allow nominative case; a subject that does not is left out (in "A
// dog are happy." only the bare "dog" can be the subject, and "A" stays
// outside the analysis).
TEST(DemoGrammar, SubjectsAgreeAndTakeNominativeCase) {
  struct Case {
    const char* sentence;
    const char* triples;
  };
  const Case cases[] = {
      {"She is happy.", "is\tV_A:subj:Pron\tshe\nis\tV_A:pred:A\thappy\n"},
      {"They is happy.", "is\tV_A:pred:A\thappy\n"},
      {"They are happy.", "are\tV_A:subj:Pron\tthey\nare\tV_A:pred:A\thappy\n"},
      {"These dogs are happy.",
       "are\tV_A:subj:N\tdog\ndog\tN:det:Det\tthese\nare\tV_A:pred:A\thappy\n"},
      {"A dog are happy.", "are\tV_A:subj:N\tdog\nare\tV_A:pred:A\thappy\n"},
      {"I am tired.", "am\tV_A:subj:Pron\tI\nam\tV_A:pred:A\ttired\n"},
      {"He have slept.", "slept\tV:aux:Aux\thave\n"},
      {"He has slept.", "slept\tV:subj:Pron\the\nslept\tV:aux:Aux\thas\n"},
      {"Him slept.", ""},
      {"Mary saw he.", ""},
      {"Mary saw him.", "saw\tV_N:subj:Name\tMary\nsaw\tV_N:obj:Pron\thim\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run_grammar(std::string(c.sentence) + "\n", {"-t"});
    EXPECT_EQ(r.err, "") << c.sentence;
    EXPECT_EQ(r.out, std::string("0") + c.triples + "\n0\n") << c.sentence;
  }
}

// Constructions of everyday text beyond the example sentences: the parts
// of contractions, a leading clause closed by a comma, compounds of bare
// nouns (the determiner stays with the head noun), multi-part names,
// adjuncts before the subject, infinitives of purpose.  Each sentence must
// come out as one tree.
TEST(DemoGrammar, CommonConstructionsOfRealTextFormOneTree) {
  struct Case {
    const char* sentence;
    const char* triples;
  };
  const Case cases[] = {
      {"I don't know.", "know\tV_N:subj:Pron\tI\nknow\tV_N:aux:Aux\tdon\nknow\tV_N:adv:Adv\t't\n"},
      {"She's happy.", "'s\tV_A:subj:Pron\tshe\n's\tV_A:pred:A\thappy\n"},
      {"If it rains, we stay home.",
       "stay\tV:advcl:C_V\tif\nif\tC_V:clause:V\train\nrain\tV:subj:Pron\tit\n"
       "rain\tV:punct:Punc\t\nstay\tV:subj:Pron\twe\nstay\tV:adv:Adv\thome\n"},
      {"The court system works.",
       "work\tV:subj:N\tsystem\nsystem\tN:det:Det\tthe\nsystem\tN:nn:Nn\tcourt\n"},
      {"President Bush spoke.", "spoke\tV:subj:Name\tBush\nBush\tName:name:Name\tpresident\n"},
      {"On Monday the children played.",
       "play\tV_N:prep:P_N\ton\non\tP_N:pobj:Name\tMonday\nplay\tV_N:subj:N\tchildren\n"
       "children\tN:det:Det\tthe\n"},
      {"He left early to catch the train.",
       "left\tV_N:subj:Pron\the\nleft\tV_N:adv:Adv\tearly\nleft\tV_N:advcl:I_V\tto\n"
       "to\tI_V:vcomp:V_N\tcatch\ncatch\tV_N:obj:N\ttrain\ntrain\tN:det:Det\tthe\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run_grammar(std::string(c.sentence) + "\n", {"-t"});
    EXPECT_EQ(r.err, "") << c.sentence;
    EXPECT_EQ(r.out, std::string("0") + c.triples + "\n0\n") << c.sentence;
  }
}

TEST(DemoGrammar, ExampleSentencesMatchTheGoldenListing) {
  RunResult r = run_grammar(read_text(repo_root() / "examples/sentences.txt"), {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  expect_golden(r.out, "sentences.out");
}

TEST(DemoGrammar, ExampleSentencesMatchTheGoldenTriples) {
  RunResult r = run_grammar(read_text(repo_root() / "examples/sentences.txt"), {"-t"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  expect_golden(r.out, "sentences.triples");
}

}  // namespace
}  // namespace lorvan::testsupport
