// Black-box tests of the parsedemo program: options, start-up, the input
// loop and the built-in commands as seen from the outside.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

const char kNoSearchPath[] =
    "The search path for data files are not defined.\n"
    " You must use '-p PATHS' option or define the environment\n"
    "variable LORVANPATH\n";

TEST(ParsedemoHarness, RunsTheProgramOfThisBuild) {
  EXPECT_EQ(std::filesystem::weakly_canonical(parsedemo_path()),
            std::filesystem::weakly_canonical(LORVAN_PARSEDEMO_PATH));
}

TEST(ParsedemoOptions, WithoutASearchPathStopsWithStatusOne) {
  TempDir dir;
  dir.write("temp.txt", "~(echo never)\n");
  const std::vector<std::vector<std::string>> cases = {
      {"-d"},
      {"-d", "-p"},  // -p as the last argument has no value
  };
  for (const auto& args : cases) {
    RunResult r = run_parsedemo_in(dir, args);
    EXPECT_EQ(r.status, 1) << args.back();
    EXPECT_EQ(r.err, kNoSearchPath) << args.back();
    EXPECT_EQ(r.out, "") << args.back();
  }
}

TEST(ParsedemoOptions, SearchPathComesFromLorvanpathWithoutP) {
  TempDir data;
  data.write("lorvan.lsp", "(echo started)\n");
  TempDir work;
  work.write("temp.txt", "~(echo hi)");  // the default input file
  RunResult r = run_parsedemo_in(work, {"-d"}, data.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "started\n1hi\n");
}

TEST(ParsedemoOptions, UnknownArgumentsAreIgnoredAndValuesAreConsumed) {
  TempDir dir;
  dir.write("lorvan.lsp", "");
  dir.write("in.txt", "~(echo hi)");
  // "-e" consumes "-d" as its value, so commands stay off; "-zz" and "x"
  // are not options.
  RunResult r = run_parsedemo_in(dir, {"-zz", "-p", dir.path(), "x", "-file", "in.txt", "-e", "-d"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "0\n");
}

TEST(ParsedemoOptions, InputFileThatCannotBeOpenedGivesStatus255Silently) {
  TempDir dir;
  dir.write("lorvan.lsp", "(echo started)");
  RunResult r = run_parsedemo_in(dir, {"-p", dir.path(), "-file", "missing.txt"});
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "started\n");
}

TEST(ParsedemoStartup, MissingStartupFileIsReportedAndSentencesStillRun) {
  TempDir dir;
  dir.write("input.txt", "a sentence");
  RunResult r = run_parsedemo_in(dir, {"-p", dir.path(), "-file", "input.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "The file lorvan.lsp cannot be opened\n");
  EXPECT_EQ(r.out, "0\n");
}

TEST(ParsedemoStartup, StartupFileRunsWithoutPromptsAndSkipsBareAtoms) {
  RunResult r = run_parsedemo("(echo a \"b c\")\nfoo\n)\n(ECHO done)", "", {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "a b c\ndone\n0\n");
}

// Each input line gives the value of HAS_COMMANDS, then either the command's
// output or the (here empty) parse result and a line end.
TEST(ParsedemoInputLoop, ResultsPerLine) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {"command line", "~(echo hi)", {"-d"}, "1hi\n"},
      {"command line then the final empty line", "~(echo hi)\n", {"-d"}, "1hi\n1\n"},
      {"tilde without -d is a sentence", "~(echo hi)", {}, "0\n"},
      {"two sentences and the final empty line", "one\ntwo\n", {}, "0\n0\n0\n"},
      {"no line break at the end", "one\ntwo", {}, "0\n0\n"},
      {"empty input is one empty line", "", {}, "0\n"},
      {"several commands on one line", "~(echo a)(echo b)", {"-d"}, "1a\nb\n"},
      {"a command without output", "~(quote x)\nwords", {"-d"}, "11\n"},
      {"triples of an empty parse", "one\n", {"-t"}, "0\n0\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run_parsedemo("", c.input, c.args);
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(r.err, "") << c.name;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

TEST(ParsedemoInputLoop, LongLinesAreKeptWhole) {
  const std::string word(3000, 'x');
  RunResult r = run_parsedemo("", "~(echo " + word + ")\n" + std::string(5000, 'w') + "\n~(echo end)",
                              {"-d"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "1" + word + "\n1\n1end\n");
}

TEST(ParsedemoCommands, HelpListsMatchingCommandsSortedWithTheirTexts) {
  RunResult r = run_parsedemo("", "~(help \"set-s\")\n~(help \"\")\n~(? \"sh\")", {"-d"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "1set-search-path\n(set-search-path <paths> <deliminator>) set the search path\n\n"
            "1"  // (help "") lists nothing
            "1show-commands\n(show-commands 0|1) turn on/off showing commands\n\n");
}

TEST(ParsedemoCommands, HelpWithoutPatternListsEveryStartupCommand) {
  RunResult r = run_parsedemo("", "~(help)", {"-d"});
  const char* const blocks[] = {
      "?\nsame as 'help'\n\n",
      "classes\n(classes cl) list the classes in the Object Factory\n\n",
      "delete-name-space\n(delete-name-space <NAME>)\n\n",
      "echo\n(echo <strings>) print the strings\n\n",
      "exit\n(exit) exit the interpreter\n\n",
      "help\n(help <regexp>) the comments of symbols matching the regular expression\n\n",
      "load\n(load file) execute the commands in file\n\n",
      "objects\n(objects obj cl) list the objects belonging to cl in the Object Factory\n\n",
      "quote\n(quote <list>) return <list> without evaluating it\n\n",
      "set-current-name-space\n(set-current-name-space <NAME>)\n\n",
      "set-search-path\n(set-search-path <paths> <deliminator>) set the search path\n\n",
      "show-commands\n(show-commands 0|1) turn on/off showing commands\n\n",
      "skip-deleting-name-space\n(skip-deleting-name-space [0|1])\n\n",
      "system\n(system <command>) execute the shell command\n\n",
  };
  std::string::size_type previous = 0;
  for (const char* block : blocks) {
    std::string::size_type at = r.out.find(block);
    ASSERT_NE(at, std::string::npos) << block;
    EXPECT_GE(at, previous) << "out of order: " << block;
    previous = at;
  }
}

TEST(ParsedemoCommands, HelpPatternTheEngineRejectsEndsTheProgram) {
  RunResult r = run_parsedemo("", "~(help \"(\")\n~(echo not reached)", {"-d"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "regexp(3): unmatched ()\n");
  EXPECT_EQ(r.out, "1");
}

TEST(ParsedemoCommands, ErrorsAreReportedAndTheNextCommandRuns) {
  RunResult r = run_parsedemo("", "~(nosuch 1 (2 3)) (echo next)\n~(quote a b)(echo after)", {"-d"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "unknown function nosuch\n1 (2 3)\nquote must take one argument\n");
  EXPECT_EQ(r.out, "1next\n1after\n");
}

TEST(ParsedemoCommands, LoadRunsNestedFilesInOrderAndSkipsMissingOnes) {
  RunResult r = run_parsedemo("(echo start)\n(load \"a.lsp\" \"nope.lsp\" \"c.lsp\")\n(echo end)",
                              "~(LOAD \"c.lsp\")", {"-d"},
                              {{"a.lsp", "(echo a1)\n(load \"sub/b.lsp\")\n(echo a2)"},
                               {"sub/b.lsp", "(echo b)"},
                               {"c.lsp", "(echo c)"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "The file nope.lsp cannot be opened\n");
  EXPECT_EQ(r.out, "start\na1\nb\na2\nc\nend\n1c\n");
}

TEST(ParsedemoCommands, ShowCommandsEchoesEachCommandOnStderr) {
  RunResult r = run_parsedemo("", "~(show-commands 1)(echo x)\n~(quote (a (b c) d))(show-commands 0)(echo y)",
                              {"-d"});
  EXPECT_EQ(r.err, "(echo x)\n(quote\n  (a\n    (b c)\n    d))\n(show-commands 0)\n");
  EXPECT_EQ(r.out, "1x\n1y\n");
}

TEST(ParsedemoCommands, SystemOutputComesAfterEarlierOutput) {
  RunResult r = run_parsedemo("(echo before)\n(system \"echo shell\")", "~(echo line)(system \"echo sh2\")",
                              {"-d"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "before\nshell\n1line\nsh2\n");
}

// Without a parser p2 and p3 print the bracketed form of an empty tree.
TEST(ParsedemoCommands, SentenceCommandsWithoutAParser) {
  std::string too_many = "~(p2";
  for (int i = 0; i < 1000; ++i) too_many += " w";
  too_many += ")";
  struct Case {
    const char* name;
    std::string input;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"p2", "~(p2 John runs)", "1\n", ""},
      {"p2 without words", "~(p2)", "1\n", ""},
      {"p3", "~(p3 \"John runs\")", "1\n", ""},
      {"p3 without text", "~(p3)", "1\n", ""},
      {"p2 refuses more than 999 words", too_many, "1\n", "p2 takes at most 999 words\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run_parsedemo("", c.input, {"-d"});
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(r.out, c.out) << c.name;
    EXPECT_EQ(r.err, c.err) << c.name;
  }
}

TEST(ParsedemoCommands, ExitEndsTheProgramAtOnceWithStatusZero) {
  RunResult from_input = run_parsedemo("", "~(echo a)(exit)(echo b)\n~(echo c)", {"-d"});
  EXPECT_EQ(from_input.status, 0);
  EXPECT_EQ(from_input.err, "");
  EXPECT_EQ(from_input.out, "1a\n");

  RunResult from_startup = run_parsedemo("(echo s)\n(exit)\n(echo t)", "~(echo never)", {"-d"});
  EXPECT_EQ(from_startup.status, 0);
  EXPECT_EQ(from_startup.out, "s\n");
}

// ---- Parsing with a grammar ----
//
// tests/data/app/lorvan.lsp: nouns (N) and verbs (V); a verb takes a noun
// before it as subject (s) and one after it as object (o).  Words have the
// attribute num.

RunResult run_with_grammar(const std::string& input, std::vector<std::string> args) {
  TempDir dir;
  dir.write("input.txt", input);
  for (const char* a : {"-p", LORVAN_APP_TEST_DATA, "-file", "input.txt"}) args.push_back(a);
  return run_parsedemo_in(dir, args);
}

TEST(ParsedemoParsing, EveryOutputFormat) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string out;
  };
  const Case cases[] = {
      {"listing, then the final empty line",
       {},
       "John sees Mary\n",
       "0(\n"
       "1\tJohn\t~\tN\t2\ts\t(gov sees)\n"
       "2\tsees\t~\tV\t*\t\n"
       "3\tMary\t~\tN\t2\to\t(gov sees)\n"
       ")\n"
       "0(\n)\n"},
      {"triples", {"-t"}, "John sees Mary\nJohn runs", "0sees\tV:s:N\tJohn\nsees\tV:o:N\tMary\n\n0runs\tV:s:N\tJohn\n\n"},
      {"shown attributes; unknown names are skipped",
       {"-f", "nosuch num"},
       "John runs",
       "0(\n1\tJohn\t~\tN\t2\ts\t(gov runs)\t(atts (num sg))\n2\truns\t~\tV\t*\t\t(atts (num sg))\n)\n"},
      {"no known attribute names show none",
       {"-f", "nosuch"},
       "John runs",
       "0(\n1\tJohn\t~\tN\t2\ts\t(gov runs)\n2\truns\t~\tV\t*\t\n)\n"},
      {"sentence commands print the bracketed tree",
       {"-d"},
       "~(p3 \"John runs\")\n~(p2 John runs)",
       "1\n( \n  (V runs (root runs)\n    (N John (root John) (relation s))))\n"
       "1\n( \n  (V runs (root runs)\n    (N John (root John) (relation s))))\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run_with_grammar(c.input, c.args);
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(r.err, "") << c.name;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

}  // namespace
}  // namespace lorvan::testsupport
