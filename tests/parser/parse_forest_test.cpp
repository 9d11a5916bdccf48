// Extraction of dependency structures from the parse forest, run in
// process on the small grammar of tests/data/forest: which roots are
// chosen, how trees are put together and labelled, and how words outside
// every tree are attached.
#include "parser/parse_forest.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "forest_fixture.h"
#include "parser/tnode.h"
#include "parser/vantic_parser.h"

namespace lorvan {
namespace {

// One expected dependency: the word at `pos` hangs under the word at `gov`
// (0: under no word) with relation `rel` (null: not checked).
struct Dep {
  int pos;
  int gov;
  const char* rel;
};

struct SentenceCase {
  const char* text;
  std::vector<Dep> deps;
};

int governor(const DepTree* node) {
  const DepTree* p = getParent(node);
  return p != nullptr ? p->pos() : 0;
}

void expect_deps(Deps& d, const SentenceCase& c) {
  for (const Dep& dep : c.deps) {
    const DepTree* n = d.at_pos(dep.pos);
    ASSERT_NE(n, nullptr) << c.text << " @" << dep.pos;
    EXPECT_EQ(governor(n), dep.gov) << c.text << " @" << dep.pos;
    if (dep.rel != nullptr) {
      EXPECT_STREQ(n->rel(), dep.rel) << c.text << " @" << dep.pos;
    }
  }
}

class ParseForestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser_ = forest_test::forest_parser();
    ASSERT_NE(parser_, nullptr);
  }
  Deps& parse(const char* text) { return forest_test::parse_with(*parser_, text); }

  VanticParser* parser_ = nullptr;
};

TEST_F(ParseForestTest, SentencesCoveredByOneRoot) {
  const SentenceCase cases[] = {
      {"the dog barks", {{1, 2, "det"}, {2, 3, "subj"}, {3, 0, nullptr}}},
      // The object fills the verb's first argument and takes its role.
      {"the dog chased the cat", {{2, 3, "subj"}, {4, 5, "det"}, {5, 3, "obj"}, {3, 0, nullptr}}},
  };
  for (const SentenceCase& c : cases) expect_deps(parse(c.text), c);
}

TEST_F(ParseForestTest, ATwoWordLexicalItemIsOneNodeWithALexModChild) {
  Deps& d = parse("New York barks");
  expect_deps(d, {"New York barks", {{1, 3, "subj"}, {2, 1, "lex-mod"}, {3, 0, nullptr}}});
  EXPECT_STREQ(d.at_pos(1)->root(), "New York");
  EXPECT_EQ(d.at_pos(1)->low(), 1);
  EXPECT_EQ(d.at_pos(1)->high(), 2);
}

TEST_F(ParseForestTest, SeveralRootsShareOneTopNodeAndLeftoversAreAttached) {
  Deps& d = parse("the dog barks the cat xyzzy");
  expect_deps(d, {"", {{2, 3, "subj"}, {4, 5, "det"}, {3, 0, nullptr}, {5, 0, nullptr}}});
  const DepTree* top = d.at_pos(3)->parent();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top, d.at_pos(5)->parent());
  EXPECT_NE(top, d.tree());
  EXPECT_EQ(top->parent(), d.tree());
  // The unknown word is in no analysis.
  EXPECT_EQ(d.at_pos(6)->parent(), d.tree());
  EXPECT_STREQ(d.at_pos(6)->rel(), "punc");
}

TEST_F(ParseForestTest, ASentenceWithoutRootsHasOnlyIsolatedWords) {
  Deps& d = parse("the the");
  for (int pos : {1, 2}) {
    ASSERT_NE(d.at_pos(pos), nullptr);
    EXPECT_EQ(d.at_pos(pos)->parent(), d.tree());
    EXPECT_STREQ(d.at_pos(pos)->rel(), "punc");
  }
}

TEST_F(ParseForestTest, TheCheapestOfTwoAnalysesIsExtracted) {
  // A noun before a verb is its subject or its topic; the distances make
  // the subject cheaper unless the subject triple is forbidden.
  struct Case {
    VanticParser* parser;
    const char* rel;
  };
  const Case cases[] = {
      {parser_, "subj"},
      {forest_test::forest_parser("forest-no-subj", ":bad-triples \"no-subj.txt\""), "topic"},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.parser, nullptr);
    Deps& d = forest_test::parse_with(*c.parser, "the dog barks");
    EXPECT_STREQ(d.at_pos(2)->rel(), c.rel);
    EXPECT_EQ(governor(d.at_pos(2)), 3);
  }
}

TEST_F(ParseForestTest, TheForestListsEveryNodeWithItsAnalyses) {
  parse("dog barks");
  ParseForest forest;
  parser_->make_parse_forest(forest);
  ASSERT_EQ(forest.roots().size(), 1u);
  const TNode* root = forest.roots().front();
  // Two analyses: "dog" as subject or as topic.
  EXPECT_DOUBLE_EQ(root->analyses(), 2.0);
  std::ostringstream out;
  root->print(out, 1);
  EXPECT_EQ(out.str().rfind("  V: (2) w=", 0), 0u) << out.str();
  std::ostringstream all;
  forest.print(all);
  EXPECT_EQ(all.str().rfind("TNodes:\n", 0), 0u);
}

TEST_F(ParseForestTest, ATreeModifierRewritesTheResult) {
  // A rule with a node pattern that every dependent matches.
  VanticParser* tidy = forest_test::forest_parser("forest-tidy");
  ASSERT_NE(tidy, nullptr);
  CmdInterpreter::the_interpreter->interpret(
      "(def-tree-rules no-the (up :name drop-the (tree (t) (node d (t)))"
      " (detach-node (get-val d))))"
      "(set-deps-modifier forest-tidy no-the)");
  Deps& d = forest_test::parse_with(*tidy, "the dog barks");
  // The rule detaches every node below another.
  for (int pos : {1, 2, 3}) EXPECT_EQ(d.at_pos(pos), nullptr) << pos;
}

TEST_F(ParseForestTest, SetDepsModifierReportsUnknownObjects) {
  ::testing::internal::CaptureStderr();
  CmdInterpreter::the_interpreter->interpret(
      "(set-deps-modifier no-such-parser no-such-rules)"
      "(set-deps-modifier forest-parser no-such-rules)");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "The named object 'no-such-parser' (type=VanticParser) is not found\n"
            "The named object 'no-such-rules' (type=TreeModifier) is not found\n"
            "The named object 'no-such-rules' (type=TreeModifier) is not found\n");
  EXPECT_EQ(parser_->deps_modifier(), nullptr);
}

}  // namespace
}  // namespace lorvan
