// The analyzer commands run through the interpreter: making analyzers,
// markers, the punctuation switch, rmli, def-endings and the help texts of
// everything lexitem_init registers; bad names give a message and change
// nothing.
#include "lexical/lex_analyzer_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lex_analyzer_fixture.h"
#include "stats/word_seq_counter.h"

namespace lorvan::lexantest {
namespace {

class LexAnalyzerCommandsTest : public ::testing::Test {
 protected:
  LexAnalyzerCommandsTest() {
    init_runtime();
    static bool made = false;
    if (!made) {
      made = true;
      Captured quiet;
      run("(make-str-meaning-proto tag)"
          "(make-lexicon LX 101)"
          "(lex LX (dog (tag noun)) (walk (tag noun) (tag verb)) (the (tag det)))"
          "(make-WordSeqCounter WL)");
    }
  }
  ~LexAnalyzerCommandsTest() override { NOT_TO_REMOVE_PUNC_MARKS = 0; }

  static void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }
  static LexAnalyzer* analyzer(const char* name) {
    return static_cast<LexAnalyzer*>(get_named_obj(name, "LexAnalyzer", 0));
  }
};

TEST_F(LexAnalyzerCommandsTest, MakeLexAnalyzerTakesEveryKeyword) {
  Captured c;
  run("(make-lex-analyzer A1 :suggested-sentence-length 20 :lexicon LX :word-list WL"
      " :hook (count-calls) :meaning-selector (not-verb))");
  EXPECT_EQ(c.err(), "");
  LexAnalyzer* a = analyzer("A1");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->sentence_length_hint(), 20);
  EXPECT_EQ(a->lexicon(), get_named_obj("LX", "Lexicon", 0));
  EXPECT_EQ(a->wordList(), nullptr);  // only without a lexicon
  EXPECT_NE(a->hook(), nullptr);
  EXPECT_NE(a->meaning_selector(), nullptr);
  EXPECT_EQ(a->rules(), nullptr);

  hook_calls = 0;
  feed(*a, "walk");
  a->lexical_search();
  EXPECT_EQ(lattice(*a), "[1,1] walk (tag noun) w=0 hd=1 (root walk)\n");
  EXPECT_EQ(hook_calls, 1);
}

TEST_F(LexAnalyzerCommandsTest, MakeLexAnalyzerWithAWordListAndDefaults) {
  run("(make-lex-analyzer A2 :word-list WL)");
  LexAnalyzer* a = analyzer("A2");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->sentence_length_hint(), 64);
  EXPECT_EQ(a->lexicon(), nullptr);
  EXPECT_EQ(a->wordList(), find_word_seq_counter("WL"));
  EXPECT_EQ(a->hook(), nullptr);
}

TEST_F(LexAnalyzerCommandsTest, BadArgumentsAreReportedAndHarmless) {
  struct Case {
    const char* command;
    const char* err;
  };
  const Case cases[] = {
      {"(make-lex-analyzer)", ""},
      {"(make-lex-analyzer B1 :lexicon NOPE)",
       "The named object 'NOPE' (type=Lexicon) is not found\n"},
      {"(make-lex-analyzer B2 :lexicon WL)",
       "The named object 'WL' is of the type 'WordSeqCounter/PLHash', not the expected type "
       "'Lexicon'.\n"},
      {"(make-lex-analyzer B3 :lexical-rules R)",
       "The named object 'R' (type=LexRuleList) is not found\n"},
      {"(make-lex-analyzer B4 :suggested-sentence-length -5)", ""},
      {"(make-lex-analyzer B1)", "Duplicate definition of B1\n"},
      {"(set-lex-analyzer-focus-marker NOPE *)",
       "The named object 'NOPE' (type=LexAnalyzer) is not found\n"},
      {"(set-lex-analyzer-pos-marker B1)", ""},
      {"(rmli NOPE)", "The named object 'NOPE' (type=LexAnalyzer) is not found\n"},
      {"(rmli)", ""},
      {"(def-endings LX (p s noun))",
       "The named object 'LX' is of the type 'Lexicon', not the expected type "
       "'EndingTable'.\nDuplicate definition of LX\n"},
  };
  for (const Case& c : cases) {
    Captured out;
    run(c.command);
    EXPECT_EQ(out.err(), c.err) << c.command;
    EXPECT_EQ(out.out(), "") << c.command;
  }
  // Analyzers were still made where a name was given, without what was
  // missing; the length hint is kept in range.
  ASSERT_NE(analyzer("B1"), nullptr);
  EXPECT_EQ(analyzer("B1")->lexicon(), nullptr);
  EXPECT_EQ(analyzer("B1")->pos_marker(), 0);
  EXPECT_EQ(analyzer("B4")->sentence_length_hint(), 1);
}

TEST_F(LexAnalyzerCommandsTest, MarkersTakeTheFirstCharacter) {
  run("(make-lex-analyzer M :lexicon LX)"
      "(set-lex-analyzer-focus-marker M *x)"
      "(set-lex-analyzer-pos-marker m //)");
  LexAnalyzer* a = analyzer("M");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->focus_marker(), '*');
  EXPECT_EQ(a->pos_marker(), '/');
  feed(*a, "*the dog/noun");
  EXPECT_TRUE(a->foci().test(1));
  EXPECT_STREQ(a->tag(2), "noun");
}

TEST_F(LexAnalyzerCommandsTest, PunctuationSwitchTurnsSplittingOffAndOn) {
  run("(make-lex-analyzer P :lexicon LX)");
  LexAnalyzer* a = analyzer("P");
  ASSERT_NE(a, nullptr);
  for (auto [command, length] : {std::pair{"(not-to-remove-punc-marks 1)", 3},
                                 std::pair{"(not-to-remove-punc-marks 0)", 4}}) {
    run(command);
    a->clear();
    feed(*a, "the dog.");
    a->lexical_search();
    EXPECT_EQ(a->sentleng(), length) << command;
  }
}

TEST_F(LexAnalyzerCommandsTest, RmliKeepsTheLongestItemsAndPrintsThem) {
  run("(make-lex-analyzer R1 :lexicon LX)");
  LexAnalyzer* a = analyzer("R1");
  ASSERT_NE(a, nullptr);
  feed(*a, "the dog");
  a->lexical_search();
  LexItem* np = a->make_lexitem("the dog", nullptr, 1, 2);
  a->add(np, true);
  Captured c;
  run("(rmli R1)");
  EXPECT_EQ(c.out(), "[1,2] the dog  w=0 hd=1 (root the dog)\n");
  EXPECT_EQ(c.err(), "");
}

TEST_F(LexAnalyzerCommandsTest, DefEndingsMakesATableOnceAndAddsToIt) {
  Captured c;
  run("(def-endings E (p s noun) (d ed verb))"
      "(def-endings E (p ing verb) (x y z) word)");
  EXPECT_EQ(c.err(), "Ending type 'x' is not defined.\nEnding type '' is not defined.\n");
  auto* table = static_cast<EndingTable*>(get_named_obj("E", "EndingTable", 0));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->size(), 3u);
  EXPECT_EQ(table->ending(2).suffix(), "ing");
  EXPECT_EQ(std::string(table->ending(1).name()), "verb");
  auto t = make_command_tokenizer();
  std::unique_ptr<IRSlist> no_name = make_irslist("()", t.get());
  EXPECT_EQ(def_endings(no_name.get()), nullptr);
}

TEST_F(LexAnalyzerCommandsTest, HelpTextsOfTheRegisteredCommands) {
  const std::pair<const char*, const char*> helps[] = {
      {"make-lex-analyzer",
       "(make-lex-analyzer <name> <sentence-length>      <name-of-lexicon>      "
       "<name-of-ending-list>      <name-of-lexical-rules>      [ <hook-to-lexical-items> ])   "
       "  <name> is the name of the lexical item analyzer.     <sentence-length> is the "
       "estimated maximum length of input sentences"},
      {"set-lex-analyzer-focus-marker", "(set-lex-analyzer-focus-marker ANALYZER MARKER)."},
      {"set-lex-analyzer-pos-marker", "(set-lex-analyzer-pos-marker ANALYZER MARKER)."},
      {"not-to-remove-punc-marks", "(not-to-remove-punc-marks 0|1)"},
      {"rmli", "(rmli LEXANALYZER)."},
      {"def-endings", "(def-endings ending1 ...) define a set of endings."},
      {"def-rules",
       "(def-rules name rule1 rule2 ...) define a set of lexical rules. If the rule set so name "
       "is already defined, rule1 rule2 ... are appended at the end."},
      {"insert-lex-rules",
       "(insert-lex-rules rule-set anchor-rule rule1 ...) define new rules and insert them "
       "before the anchor-rule."},
      {"debug-rules", "(debug-rules name-of-rule-set 0|1) set the debugging flag for a rule-set"},
      {"disable-rules", "(disable-rules name-of-rule-set) set the debugging flag for a rule-set"},
  };
  for (const auto& [name, help] : helps) {
    std::ostringstream out;
    CmdInterpreter::the_interpreter->list_entries(out, (std::string(name) + "$").c_str());
    EXPECT_EQ(out.str(), std::string(name) + "\n" + help + "\n\n");
  }
}

}  // namespace
}  // namespace lorvan::lexantest
