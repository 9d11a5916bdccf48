// The text form of dependency structures: what is printed, reading it back
// (print -> read -> print gives the same text), the printing switches and
// their commands, evaluation words, and bad input.
#include "deptree/deps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "deptree/deps_printer.h"
#include "deptree/deps_test_fixture.h"

namespace lorvan::testing_deps {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

struct TextCase {
  const char* label;
  const char* text;      // what is read
  const char* printed;   // what it prints (switches: plain())
};

const TextCase kTextCases[] = {
    {"every word in the tree; governors by name; a root other than the word",
     "(:id s1 (The ~ DT < dog det) (dog ~ NN < barks subj) (barks bark VB *)"
     " (. ~ PUNC > barks punc))",
     "(:id s1\n"
     "1\t(The\t~\tDT\t2\tdet)\n"
     "2\t(dog\t~\tNN\t3\tsubj)\n"
     "3\t(barks\tbark\tVB\t*)\n"
     "4\t(.\t~\tPUNC\t3\tpunc)\n"
     ")\n"},
    {"a root equal to the word but for letter case prints ~",
     "(:id s2 (Dogs dogs NNS < run subj) (run RUN VB *))",
     "(:id s2\n"
     "1\t(Dogs\t~\tNNS\t2\tsubj)\n"
     "2\t(run\t~\tVB\t*)\n"
     ")\n"},
    {"a trace with its antecedent, and a dependent before its governor's governor",
     "(:id s3 1 (Who ~ WP < saw obj) 2 (did do VBD *) 3 (you ~ PRP < saw subj)"
     " 4 (saw see VB > did vc) E5 (() ~ NP > saw obj (ante 1)) 5 (? ~ . > did punc))",
     "(:id s3\n"
     "1\t(Who\t~\tWP\t4\tobj)\n"
     "2\t(did\tdo\tVBD\t*)\n"
     "3\t(you\t~\tPRP\t4\tsubj)\n"
     "4\t(saw\tsee\tVB\t2\tvc)\n"
     "E5\t(()\t~\tNP\t4\tobj (ante 1))\n"
     "5\t(?\t~\t.\t2\tpunc)\n"
     ")\n"},
    {"words without white space, in the tree and outside it",
     "(:id s4 1 (I ~ PRP < am subj) 2 (am be VB *) :nogap 3 (n't not RB > am neg)"
     " 4 (here) :nogap 5 (!))",
     "(:id s4\n"
     "1\t(I\t~\tPRP\t2\tsubj)\n"
     "2\t(am\tbe\tVB\t*) :nogap\n"
     "3\t(n't\tnot\tRB\t2\tneg)\n"
     "4\t(here) :nogap\n"
     "5\t(!)\n"
     ")\n"},
    {"a word outside the tree between words in it",
     "(:id s5 (big ~ JJ < dogs mod) (\",\") (dogs dog NNS *))",
     "(:id s5\n"
     "1\t(big\t~\tJJ\t3\tmod)\n"
     "2\t(\",\")\n"
     "3\t(dogs\tdog\tNNS\t*)\n"
     ")\n"},
    {"the second \"the\" to the right, and words needing quotes",
     "(:id s6 (He ~ P << the x) (saw ~ V *) (the ~ D *) (\"a b\" ~ N > the \"r 1\") (the ~ D *))",
     "(:id s6\n"
     "1\t(He\t~\tP\t5\tx)\n"
     "2\t(saw\t~\tV\t*)\n"
     "3\t(the\t~\tD\t*)\n"
     "4\t(\"a b\"\t~\tN\t3\t\"r 1\")\n"
     "5\t(the\t~\tD\t*)\n"
     ")\n"},
    {"string, integer and string-list properties",
     "(:id s7 1 (dog ~ NN * root (dt-label \"big one\") (dt-count 3) (dt-list (a \"b c\"))"
     " (no-such-property x) (gov ignored)))",
     "(:id s7\n"
     "1\t(dog\t~\tNN\t*\troot (dt-label \"big one\") (dt-count 3) (dt-list (a \"b c\")))\n"
     ")\n"},
    {"relation records",
     "(:id s8 1 (go ~ VB *) assertions: ((agent (dt-label x 0.5) (dt-count 2)) (empty)))",
     "(:id s8\n"
     "1\t(go\t~\tVB\t*)\n"
     "assertions: (\n"
     " (agent (dt-label x 0.5) (dt-count 2))\n"
     " (empty)\n"
     " )\n"
     ")\n"},
    {"an empty node under the top, and an empty node as governor",
     "(:id s9 E1 (() PRO NP *) 1 (rain ~ VB - E1 pred) E2 (() ~ T > rain))",
     "(:id s9\n"
     "E1\t(()\tPRO\tNP\t*)\n"
     "1\t(rain\t~\tVB\tE1\tpred)\n"
     "E2\t(()\t~\tT\t1)\n"
     ")\n"},
    {"two empty nodes at the same place keep their order",
     "(:id s10 1 (what ~ WP < do obj) 2 (do ~ VB *) E1 (() ~ T > do a) E2 (() ~ T > do b))",
     "(:id s10\n"
     "1\t(what\t~\tWP\t2\tobj)\n"
     "2\t(do\t~\tVB\t*)\n"
     "E1\t(()\t~\tT\t2\ta)\n"
     "E2\t(()\t~\tT\t2\tb)\n"
     ")\n"},
    {"no words at all", "(:id s11)", "(:id s11\n)\n"},
};

TEST_F(DepsTest, TextFormPrintsAndReadsBackUnchanged) {
  plain();
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.label);
    CaptureStderr();
    const std::string first = reprinted(c.text);
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(first, c.printed);
    EXPECT_EQ(reprinted(first), first);
  }
}

TEST_F(DepsTest, GovernorRootsAndWeightsFollowTheirSwitches) {
  const char* text = "(:id w (a ~ X < b r (w 0.25)) (b bee Y * (w 0.5)))";
  const std::string both = reprinted(text);
  EXPECT_EQ(both,
            "(:id w ;;total-weight 0.75\n"
            "1\t(a\t~\tX\t2\tr\t(gov bee) (w 0.25))\n"
            "2\t(b\tbee\tY\t* (w 0.5))\n"
            ")\n");
  EXPECT_EQ(reprinted(both), both);
  PRINT_GOV = 0;
  EXPECT_EQ(reprinted(text),
            "(:id w ;;total-weight 0.75\n"
            "1\t(a\t~\tX\t2\tr (w 0.25))\n"
            "2\t(b\tbee\tY\t* (w 0.5))\n"
            ")\n");
  PRINT_GOV = 1;
  PRINT_DEPTREE_WEIGHT = 0;
  EXPECT_EQ(reprinted(text),
            "(:id w\n"
            "1\t(a\t~\tX\t2\tr\t(gov bee))\n"
            "2\t(b\tbee\tY\t*)\n"
            ")\n");
}

TEST_F(DepsTest, SwitchCommandsSetTheSwitches) {
  struct Case {
    const char* command;
    int* flag;
  };
  for (const Case& c : {Case{"(print-governor 0)", &PRINT_GOV}, Case{"(use-alias 0)", &USE_ALIAS},
                        Case{"(print-deptree-weight 0)", &PRINT_DEPTREE_WEIGHT}}) {
    SCOPED_TRACE(c.command);
    *c.flag = 1;
    CmdInterpreter::the_interpreter->interpret(c.command);
    EXPECT_EQ(*c.flag, 0);
  }
  std::ostringstream help;
  CmdInterpreter::the_interpreter->list_entries(help, "^print-governor$|^use-alias$|^print-deptree-weight$");
  EXPECT_EQ(help.str(),
            "print-deptree-weight\n(print-deptree-weight 0|1) set the PRINT_DEPTREE_WEIGHT flag\n\n"
            "print-governor\n(print-governor 0|1) set the PRINT_GOV flag\n\n"
            "use-alias\n(use-alias 0|1) set the USE_ALIAS flag\n\n");
}

TEST_F(DepsTest, AttributeVectorsPrintWithTheGivenSetAndReadBack) {
  plain();
  const char* text = "(:id v 1 (dogs dog NNS * (atts (+plu (per 3) (num pl)))) 2 (here ~ RB > dogs))";
  const LBitSet all = all_atts();
  const std::string first = reprinted(text, agr(), &all);
  EXPECT_EQ(first,
            "(:id v\n"
            "1\t(dogs\tdog\tNNS\t*\t(atts (+plu (per 3) (num pl))))\n"
            "2\t(here\t~\tRB\t1)\n"
            ")\n");
  EXPECT_EQ(reprinted(first, agr(), &all), first);
  // Without a set no vector is printed; a restricted set prints part of it.
  EXPECT_EQ(reprinted(text, agr()).find("atts"), std::string::npos);
  LBitSet plu_only;
  plu_only.set(0);
  EXPECT_NE(reprinted(text, agr(), &plu_only).find("\t(atts (+plu))"), std::string::npos);
  // A structure without attribute-vector type reads no vectors.
  EXPECT_EQ(reprinted(text, nullptr, &all).find("atts"), std::string::npos);
}

TEST_F(DepsTest, AttributeVectorsPrintByAliasesUnderUseAlias) {
  plain();
  AttInterpreterList* type = AttInterpreterList::get_att_list("dt-agr");
  CmdInterpreter::the_interpreter->interpret("(alias dt-3pl (make-av dt-agr (+plu (per 3))))");
  const char* text = "(:id v 1 (dogs dog NNS * (atts (+plu (per 3) (num pl)))))";
  const LBitSet all = all_atts();
  const std::string aliased = reprinted(text, agr(), &all);
  EXPECT_NE(aliased.find("\t(atts (dt-3pl (num pl)))"), std::string::npos) << aliased;
  // The alias reads back as what it stands for.
  EXPECT_EQ(reprinted(aliased, agr(), &all), aliased);
  USE_ALIAS = 0;
  EXPECT_NE(reprinted(aliased, agr(), &all).find("\t(atts (+plu (per 3) (num pl)))"),
            std::string::npos);
  type->clear_aliases();
}

TEST_F(DepsTest, BuiltStructuresNameTheirNodesWhenPrinted) {
  plain();
  Deps deps;
  for (const char* w : {"they", "left", "early", "today"}) {
    deps.add_space(" ");
    deps.add_word(w);
  }
  deps.id_tag("b");
  DepTree* left = deps.new_node();
  left->init(2, nullptr);
  left->cat("VBD");
  left->root("leave");
  DepTree* they = deps.new_node();
  they->init(1, "subj");
  DepTree* trace = deps.new_node();
  trace->low(3);
  trace->high(2);
  trace->rel("adv");
  trace->root("~");
  DepTree* early = deps.new_node();
  early->init(3, "adv");
  left->ord_insert(they);
  left->ord_insert(trace);
  left->ord_insert(early);
  deps.init(left);
  trace->antecedent(early);
  // Word 4 is outside the tree; the top node (no word, no root) has no line.
  EXPECT_EQ(printed(deps),
            "(:id b\n"
            "1\t(they\t~\tU\t2\tsubj)\n"
            "2\t(left\tleave\tVBD\t*)\n"
            "E1\t(()\t~\tU\t2\tadv (ante 3))\n"
            "3\t(early\t~\tU\t2\tadv (ref E1))\n"
            "4\t(today)\n"
            ")\n");
  EXPECT_STREQ(deps.tree()->name(), "E0");
  // Reading it back restores the links both ways.
  Deps copy;
  copy.read(printed(deps).c_str());
  ASSERT_NE(copy.get_named_node("e1"), nullptr);
  EXPECT_EQ(copy.get_named_node("E1")->antecedent(), copy.at_pos(3));
  EXPECT_EQ(printed(copy), printed(deps));
}

TEST_F(DepsTest, PrintWordShowsTheGovernorAsARelativeReference) {
  Deps deps;
  deps.read(
      "(:id p (The ~ DT < dog det) (dog ~ NN *) E1 (() ~ T < b r1) (c ~ Y - E1 r2) (b ~ Z *)"
      " (zz))");
  const LBitSet all = all_atts();
  struct Case {
    int pos;
    const LBitSet* atts;
    const char* printed;
  };
  for (const Case& c : {Case{1, nullptr, " (The\t~ DT\t< dog\tdet)"},
                        Case{2, nullptr, " (dog\t~ NN\t*)"},
                        Case{1, &all, " (The\t~ ()\t< dog\tdet)"},
                        // Under a named empty node: its governor and relation.
                        Case{3, nullptr, " (c\t~ Y\t< b\tr1)"},
                        Case{5, nullptr, " (zz\t)"}}) {
    SCOPED_TRACE(c.pos);
    std::ostringstream out;
    deps.print_word(out, c.pos, c.atts);
    EXPECT_EQ(out.str(), c.printed);
  }
}

// ---- Reading bad input ----

TEST_F(DepsTest, GovernorsThatCannotBeTakenAreReportedAndLeftOut) {
  plain();
  struct Case {
    const char* text;
    const char* message;
    const char* line;  // the entry's line: it ends up under the top node
  };
  const Case cases[] = {
      {"(:id e (a ~ X < zzz r) (b ~ Y *))",
       "the parent of `a' is not found, specified as: < zzz\n", "1\t(a\t~\tX\t*\tr)\n"},
      {"(:id e (a ~ X >> b r) (b ~ Y *))", "the parent of `a' is not found, specified as: >> b\n",
       "1\t(a\t~\tX\t*\tr)\n"},
      {"(:id e (a ~ X <))", "the parent of `a' is not found, specified as: < \n",
       "1\t(a\t~\tX\t*)\n"},
      {"(:id e (a ~ X <> b r) (b ~ Y *))", "<> is not a valid direction\n",
       "1\t(a\t~\tX\t*\tr)\n"},
      {"(:id e 1 (a ~ X 2) 2 (b ~ Y 1 r))", "the parent of `b' is already its descendent: 1\n",
       "2\t(b\t~\tY\t*\tr)\n"},
      {"(:id e 1 (a ~ X 1))", "the parent of `a' is already its descendent: 1\n",
       "1\t(a\t~\tX\t*)\n"},
      {"(:id e E1 (() ~ T < a) (a ~ X - E1))",
       "the parent of `a' is already its descendent: - E1\n", "1\t(a\t~\tX\t*)\n"},
      {"(:id e (a ~ X nobody r))", "", "1\t(a\t~\tX\t*\tr)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CaptureStderr();
    const std::string first = reprinted(c.text);
    EXPECT_EQ(GetCapturedStderr(), c.message);
    EXPECT_NE(first.find(c.line), std::string::npos) << first;
  }
}

// Malformed texts are read as well as they can be, without a crash, and
// what they give prints and reads back unchanged.
TEST_F(DepsTest, MalformedTextsReadIntoStableStructures) {
  plain();
  const char* const texts[] = {
      "",
      "(",
      ")",
      "junk",
      "(a b c :nogap :id)",
      "((a) (b ~) (c ~ X) () (()) ((())) (d ~ (X) * (w) (w abc) (atts x)))",
      "((\"\" \"\" \"\" \"\"))",
      "((a ~ X * r extra atoms (1 2 3)) (b (root) X < a))",
      "(E1 (() ~ T *) E1 (() ~ U *) 1 (a ~ X E1) 1 (b ~ Y 1))",
      "(x (() ~ T <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<< a) (a ~ X >))",
      "((a ~ X *) assertions: (junk () (()) (r (dt-count) (dt-count 1 2 3) (nope 1))) translation: x)",
      "((a ~ X *) translation: (b ~ Y *))",
      "((a ~ X * (dt-list) (dt-list ()) (dt-count x) (ante nobody) (ref)))",
      "((((((((((((((((((((((((((((((((((((((((a))))))))))))))))))))))))))))))))))))))))",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    CaptureStderr();
    const std::string first = reprinted(text);
    const std::string again = reprinted(first);
    GetCapturedStderr();
    EXPECT_EQ(again, first);
  }
}

TEST_F(DepsTest, ASentenceLongerThanPositionsAllowIsCutWithOneMessage) {
  plain();
  std::string text = "(:id long (first ~ X *)";
  for (int i = 1; i < Deps::kMaxWordPosition + 10; ++i) text += " (w)";
  text += ")";
  Deps deps;
  CaptureStderr();
  deps.read(text.c_str());
  EXPECT_EQ(GetCapturedStderr(),
            "Deps: a sentence holds at most 32767 words; the words after them are left out\n");
  EXPECT_EQ(deps.sentleng(), Deps::kMaxWordPosition + 1);
  const std::string first = printed(deps);
  EXPECT_TRUE(first.ends_with("\n32767\t(w)\n)\n")) << first.substr(first.size() - 40);
  EXPECT_EQ(reprinted(first), first);
}

TEST_F(DepsTest, AVeryDeepTreePrintsAndReadsBack) {
  plain();
  // Every word depends on the next one: a chain as deep as the sentence.
  const int n = 20000;
  std::string text = "(:id deep";
  for (int i = 1; i < n; ++i) text += " (w ~ X < w)";
  text += " (w ~ X *))";
  Deps deps;
  deps.read(text.c_str());
  EXPECT_EQ(deps.at_pos(1)->level(), n + 1);
  const std::string first = printed(deps);
  EXPECT_TRUE(first.ends_with("\n19999\t(w\t~\tX\t20000)\n20000\t(w\t~\tX\t*)\n)\n"));
  EXPECT_EQ(reprinted(first), first);
}

}  // namespace
}  // namespace lorvan::testing_deps
