// Chart parsing: attachment of pre- and post-modifiers, distance limits and
// surcharges, packing, coordination, movements and the monitor output,
// checked on the items the chart holds.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "command/irslist.h"
#include "deptree/deps.h"
#include "features/traceatt.h"
#include "lexical/lex_item.h"
#include "parser/chart_printer.h"
#include "parser/dep_rel.h"
#include "parser_fixture.h"

namespace lorvan::parsertest {
namespace {

// Determiners and adjectives before nouns; subject before and object after
// verbs; words "x" are made skippable by the tests that use them.
const char* const kNp = "(load \"np.lsp\")";

std::string xs(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += " x";
  return s;
}

// Marks every word "x" skippable.
void skip_xs(LexAnalyzer& a) {
  for (int i = 1; i < a.sentleng(); ++i) {
    if (std::string(a.word(i)) == "x") a.skip(i);
  }
}

class ChartTest : public ParserTest {
 public:
  using ParserTest::item;
  using ParserTest::parse;
};

// Parses `first` + n skipped words + " dog" for n = 0, 1, 2 and checks that
// an item of `category` spans the whole text only while the two words are
// at most 2 apart (the grammars give the relation max-dist 2).
void expect_attached_within_two(ChartTest& t, const char* first, const char* category) {
  struct Case {
    int skipped;
    bool attached;
  } cases[] = {{0, true}, {1, true}, {2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skipped);
    std::string text = first + xs(c.skipped) + " dog";
    ASSERT_TRUE(t.parse(text.c_str(), skip_xs));
    EXPECT_EQ(t.item(category, 1, c.skipped + 2) != nullptr, c.attached);
  }
}

TEST_F(ChartTest, PremodifierAttachesOnlyWithinItsMaxDist) {
  define(
      "(def-category A) (def-category C)"
      "(def-category N (visible-atts (cat num)))"
      "(def-modifiers N (* (A (dep-type mod) (max-dist 2))) (:head))");
  expect_attached_within_two(*this, "big", "N");
}

TEST_F(ChartTest, PostmodifierAttachesOnlyWithinItsMaxDist) {
  define(
      "(def-category C) (def-category N (visible-atts (cat num)))"
      "(def-category V (visible-atts (cat)))"
      "(def-modifiers V (:head) (? (N (dep-type obj) (max-dist 2))))");
  expect_attached_within_two(*this, "barks", "V");
}

// A merged item costs head + modifier + relation weight + half the distance
// between the head words + the words between the two items; heads more
// than 20 words apart do not merge.
TEST_F(ChartTest, HeadWordDistanceIsChargedAndLimited) {
  define(
      "(def-category A) (def-category C)"
      "(def-category N (visible-atts (cat num)))"
      "(def-modifiers N (* (A (dep-type mod))) (:head))");
  struct Case {
    int skipped;
    bool attached;
    float surcharge;  // beyond head, modifier and relation weight
  } cases[] = {{0, true, 0.5f}, {4, true, 2.5f + 4}, {19, true, 10.0f + 19}, {20, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skipped);
    std::string text = "big" + xs(c.skipped) + " dog";
    ASSERT_TRUE(parse(text.c_str(), skip_xs));
    const int dog = c.skipped + 2;
    PItem* merged = item("N", 1, dog);
    ASSERT_EQ(merged != nullptr, c.attached);
    if (merged == nullptr) continue;
    PItem* noun = item("N", dog, dog);
    PItem* adj = item("A", 1, 1);
    ASSERT_NE(noun, nullptr);
    ASSERT_NE(adj, nullptr);
    EXPECT_FLOAT_EQ(merged->weight(), noun->weight() + adj->weight() + 1.0f + c.surcharge);
  }
}

TEST_F(ChartTest, SeventhModifierThroughTheSameRelationFails) {
  define(
      "(def-category A) (def-category N (visible-atts (cat num)))"
      "(def-modifiers N (* (A (dep-type mod))) (:head))");
  ASSERT_TRUE(parse("big big big big big big big dog"));
  EXPECT_EQ(lowest_low("N", 8), 2);
}

TEST_F(ChartTest, EqualItemsArePackedAndCombineOnce) {
  define("(load \"np.lsp\")");
  ASSERT_TRUE(parse("fido barks"));
  std::vector<PItem*> nouns = items("N", 1, 1);
  ASSERT_EQ(nouns.size(), 1u);
  ASSERT_NE(nouns[0]->eq_pitem(), nullptr);
  EXPECT_TRUE(nouns[0]->is_equal_to(nouns[0]->eq_pitem()));
  EXPECT_EQ(nouns[0]->eq_pitem()->eq_pitem(), nullptr);
  std::vector<PItem*> clauses = items("V", 1, 2);
  ASSERT_EQ(clauses.size(), 1u);
  EXPECT_EQ(clauses[0]->eq_pitem(), nullptr);
  EXPECT_EQ(clauses[0]->modifier(), nouns[0]);
}

// Conjuncts whose heads are five words apart add 5 / 2 = 2 (whole numbers).
TEST_F(ChartTest, CoordinationHalvesTheHeadDistanceAsAnInteger) {
  define(kNp);
  ASSERT_TRUE(parse("dog and big big big cat",
                    [](LexAnalyzer& a) { a.flag_last_conjunction(2, 2); }));
  PItem* conj = nullptr;
  for (PItem* i : items("N", 1, 6)) {
    if (i->deprel() != nullptr && std::string(i->deprel()->type_text()) == "conj") conj = i;
  }
  ASSERT_NE(conj, nullptr);
  PItem* left = conj->head();
  PItem* right = conj->modifier();
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(left->low(), 1);
  EXPECT_EQ(right->low(), 3);
  EXPECT_FLOAT_EQ(conj->weight(), left->weight() + right->weight() + 2.0f);
  EXPECT_TRUE(conj->positive(builtin_atts().last_conj));
}

TEST_F(ChartTest, WithoutAConjunctionWordNothingIsCoordinated) {
  define(kNp);
  ASSERT_TRUE(parse("dog and cat"));
  for (PItem* i : items("N", 1, 3)) {
    EXPECT_FALSE(i->deprel() != nullptr && std::string(i->deprel()->type_text()) == "conj");
  }
}

// "saw" carries a pending wh-movement; the fronted "what", attached through
// a relation that checks the wh kind, discharges it and the clause keeps
// its trace, which records the role and the item the movement left.
TEST_F(ChartTest, WhMovementIsDischargedByACheckingRelation) {
  define(
      "(def-category Det) (def-category N (visible-atts (cat num)))"
      "(def-modifiers N (* (Det)) (:head))"
      "(def-category V (visible-atts (cat move trace)))"
      "(def-modifiers V (? (N (dep-type wh) (check-slash wh))) (? (N (dep-type subj))) (:head))");
  ASSERT_TRUE(parse("what the dog saw"));
  PItem* pending = item("V", 2, 4);
  ASSERT_NE(pending, nullptr);
  EXPECT_TRUE(pending->defined(builtin_atts().move));
  PItem* clause = item("V", 1, 4);
  ASSERT_NE(clause, nullptr);
  EXPECT_FALSE(clause->defined(builtin_atts().move));
  ASSERT_TRUE(clause->defined(builtin_atts().trace));
  const auto* trace = reinterpret_cast<const TraceVal*>(clause->get_val(builtin_atts().trace));
  ASSERT_NE(trace, nullptr);
  ASSERT_FALSE(trace->empty());
  EXPECT_STREQ(trace->list().front().name, "obj");
  ASSERT_NE(trace->list().front().item, nullptr);
  EXPECT_STREQ(trace->list().front().item->lexitem()->root(), "saw");
}

// "gives" subcategorizes for a required and an optional noun: the verb is
// complete with its first complement, with both, but not alone.
TEST_F(ChartTest, ArgumentsDecideCompleteness) {
  define(kNp);
  struct Case {
    const char* text;
    int high;
    bool complete;
  } cases[] = {{"gives", 1, false}, {"gives dog", 2, true}, {"gives dog cat", 3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(parse(c.text));
    EXPECT_EQ(item("V", 1, c.high) != nullptr, c.complete);
  }
  GCate* sub = cat("V_N_N");
  ASSERT_NE(sub, nullptr);
  const ItemList* comp2_at_dog = sub->find_headed_items(2, 2);
  EXPECT_TRUE(comp2_at_dog == nullptr || comp2_at_dog->empty())
      << "comp2 may not skip the required comp1";
}

TEST_F(ChartTest, ThreeWaysToPrepareASentenceAgree) {
  define(kNp);
  const char* const words[] = {"the", "big", "dog", nullptr};
  auto t = make_command_tokenizer();
  std::unique_ptr<IRSlist> list = make_irslist("(the big dog)", t.get());
  struct Case {
    const char* name;
    std::function<void()> prepare;
  } cases[] = {
      {"words", [&] { parser_->prepare_to_parse(words); }},
      {"list", [&] { parser_->prepare_to_parse(*list); }},
      {"text", [&] { parser_->prepare_to_parse("the  big\tdog", nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.prepare();
    ASSERT_EQ(parser_->sentleng(), 4);
    EXPECT_STREQ(parser_->word(3), "dog");
    ASSERT_TRUE(parser_->parse());
    EXPECT_NE(item("N", 1, 3), nullptr);
  }
}

TEST_F(ChartTest, DependencyResultIsMadeUnlessTheFlagIsSet) {
  define(kNp);
  parser_->output_tree(0);
  ASSERT_TRUE(parse("the dog barks"));
  ASSERT_NE(parser_->current_deps(), nullptr);
  EXPECT_EQ(parser_->current_deps()->sentleng(), 4);
  std::unique_ptr<Deps> taken = lorvan::parse("the dog barks", nullptr, parser_);
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(parser_->current_deps(), nullptr) << "the caller owns the result";
}

TEST_F(ChartTest, OutputTreeFlagLeavesDepsUntouched) {
  define(kNp);
  Deps* deps = parser_->deps();
  ASSERT_TRUE(parse("the dog barks"));
  EXPECT_EQ(parser_->current_deps(), deps);
  EXPECT_EQ(deps->sentleng(), 0);
}

TEST_F(ChartTest, MonitoredCategoryTracesSelections) {
  define(kNp);
  cat("N")->toggle_monitor();
  Captured io;
  ASSERT_TRUE(parse("dog"));
  EXPECT_NE(io.err().find("N select: [1,1] dog\n  w="), std::string::npos) << io.err();
  cat("N")->toggle_monitor();
}

TEST_F(ChartTest, ChartPrinterListsBucketsByPosition) {
  define(kNp);
  ASSERT_TRUE(parse("big dog"));
  std::ostringstream out;
  print_chart(out, *cat("N"));
  EXPECT_NE(out.str().find("\nBucket 2:\nPosition: 1\n[1,2] big dog\n  w="), std::string::npos)
      << out.str();
}

// An argument marked as moved is filled by an empty-category item: the
// complement becomes the modifier of a gap item and the movement is gone.
TEST_F(ChartTest, MovedArgumentIsFilledByAnEmptyCategory) {
  define(kNp);
  ASSERT_TRUE(parse("asks dog"));
  PItem* filled = item("V_N", 1, 2);
  ASSERT_NE(filled, nullptr);
  EXPECT_FALSE(filled->defined(builtin_atts().move));
  PItem* gap_host = filled->modifier();
  ASSERT_NE(gap_host, nullptr);
  ASSERT_NE(gap_host->deprel(), nullptr);
  EXPECT_STREQ(gap_host->deprel()->type(), "ECR");
  PItem* gap = gap_host->modifier();
  ASSERT_NE(gap, nullptr);
  EXPECT_EQ(gap->low(), 2);
  EXPECT_EQ(gap->high(), 1);
  EXPECT_EQ(gap->location(), parser_->empty_category());
}

// A relation checking an argument that the head does not have (no "args",
// or an index beyond the list) attaches nothing.
TEST_F(ChartTest, ArgumentCheckWithoutSuchAnArgumentFails) {
  define(
      "(load \"np.lsp\")"
      "(def-category V (visible-atts (cat args)))"
      "(def-modifiers V (? (N (dep-type subj))) (:head) (? (N (dep-type obj) (check-arg 5))))");
  struct Case {
    const char* text;
    int high;
  } cases[] = {{"barks dog", 2}, {"gives dog cat", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(parse(c.text));
    for (PItem* i : items("V", 1, c.high)) {
      ASSERT_NE(i->deprel(), nullptr);
      EXPECT_STRNE(i->deprel()->type_text(), "obj");
    }
  }
}

// Positions defined without :head leave a category without a head
// position; its seed items are kept at position 0.
TEST_F(ChartTest, CategoryWithoutHeadKeepsSeedsAtPositionZero) {
  define("(load \"np.lsp\") (def-category Named) (def-modifiers Named (? (N)))");
  ASSERT_EQ(cat("Named")->head(), -1);
  ASSERT_TRUE(parse("named"));
  const ItemList* seeds = cat("Named")->find_headed_items(0, 1);
  ASSERT_NE(seeds, nullptr);
  ASSERT_EQ(seeds->size(), 1u);
  EXPECT_EQ((*seeds)[0]->low(), 1);
}

}  // namespace
}  // namespace lorvan::parsertest
