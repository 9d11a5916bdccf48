// Weights of single dependencies: distance costs, relation keys, the
// forbidden triples, the cache, trace-bearing items and the relation name
// of a dependency.  Items are made by hand from the test parser's pool, so
// every case states exactly the words, categories and positions it weighs.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/irslist.h"
#include "features/traceatt.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_item.h"
#include "parser/dep_rel.h"
#include "parser/gcate.h"
#include "parser/parser_weights.h"
#include "parser/pitem.h"
#include "parser/weight_commands.h"
#include "forest_fixture.h"

namespace lorvan {
namespace {

class WeightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser_ = forest_test::forest_parser("forest-weights", ":bad-triples \"no-subj.txt\"");
    ASSERT_NE(parser_, nullptr);
    parser_->reset();
    parser_->prob_cache().cleanUp();
  }
  void TearDown() override { DEBUGW = 0; }

  // A fresh item of category `cat` at [low, high] whose vector is read
  // from `vec`, of weight `w`.
  PItem* item(const char* cat, int low, int high, const char* vec = "()", float w = 0.0f) {
    PItem* x = parser_->new_pitem();
    x->low(low);
    x->high(high);
    x->location(parser_->get_category(cat, 1));
    texts_.push_back(std::make_unique<IRSlistInputIterator>(vec));
    AttVec v(texts_.back()->current(), parser_->att_type());
    x->unify(v);
    x->weight(w);
    return x;
  }
  // An item standing for the word `word` (its "cform").
  PItem* word(const char* cat, int pos, const char* word) {
    return item(cat, pos, pos, ("((cform \"" + std::string(word) + "\"))").c_str());
  }
  // Gives x the traces (role, item) in `recs`, the first one in front.
  static void give_traces(PItem* x, const std::vector<TraceRec>& recs) {
    auto* traces = new TraceVal();
    for (auto r = recs.rbegin(); r != recs.rend(); ++r) traces->push(*r);
    x->set_val(builtin_atts().trace, reinterpret_cast<AttVal>(traces));
  }

  VanticParser* parser_ = nullptr;
  std::vector<std::unique_ptr<IRSlistInputIterator>> texts_;
};

struct AuxCase {
  const char* label;
  const char* head_cat;
  const char* head_word;
  int head_pos;
  const char* mod_cat;
  const char* mod_word;
  int mod_pos;
  const char* type;
  float expected;
};

TEST_F(WeightTest, TripleWeightsAddTheDistanceCost) {
  const AuxCase cases[] = {
      // subj: 400 at distance 1, so p = 1 and the cost is the floor 0.1.
      {"floor", "V", "sleeps", 3, "N", "dog", 2, "subj", 0.1f},
      {"missing name at distance 1", "V", "sleeps", 3, "N", "dog", 2, "nope", 0.1f},
      {"missing name at distance 4", "V", "sleeps", 5, "N", "dog", 1, "nope", std::log(4.0f)},
      {"no name", "V", "sleeps", 1, "N", "dog", 3, nullptr, std::log(2.0f)},
      // far: total 400 with its last count (300) at distance 2.
      {"beyond the last distance", "V", "sleeps", 6, "N", "dog", 1, "far", -std::log(0.75f)},
      {"forbidden triple", "V", "barks", 3, "N", "dog", 2, "subj", 80.0f},
      {"forbidden at any distance", "V", "barks", 9, "N", "dog", 2, "subj", 80.0f},
      {"forbidden in any letter case", "V", "BARKS", 3, "N", "Dog", 2, "SUBJ", 80.0f},
      {"pronoun modifiers key as N", "V", "barks", 3, "PRO", "dog", 2, "subj", 80.0f},
      {"numbers key as N", "V", "barks", 3, "Num", "_NUM", 2, "subj", 80.0f},
      {"subcategories key by their prefix", "V_N", "barks", 3, "N_P", "dog", 2, "subj", 80.0f},
      // Prep heads are weighed by distance alone.
      {"Prep head", "Prep", "of", 1, "N", "dog", 3, "obj", std::log(2.0f)},
      {"Prep_N head", "Prep_N", "of", 1, "N", "dog", 3, "obj", std::log(2.0f)},
  };
  for (const AuxCase& c : cases) {
    PItem* h = word(c.head_cat, c.head_pos, c.head_word);
    PItem* m = word(c.mod_cat, c.mod_pos, c.mod_word);
    EXPECT_NEAR(parser_->get_weight_aux(h, m, c.type), c.expected, 1e-4) << c.label;
  }
}

TEST_F(WeightTest, APrepositionalSubjectHeadKeysByItsLexicalCategoryOrC) {
  // "~\tC:subj-of:N\t~" is forbidden: the key of a "cat" p head under subj
  // starts with C and names the preposition form.
  PItem* h = item("Prep", 1, 1, "((cat p) (pform \"of\"))");
  PItem* m = item("N", 2, 2);
  EXPECT_FLOAT_EQ(parser_->get_weight_aux(h, m, "subj"), 80.0f);
  // Under another relation the Prep head costs its distance only.
  EXPECT_FLOAT_EQ(parser_->get_weight_aux(h, m, "obj"), 0.1f);
}

TEST_F(WeightTest, KeysDifferingOnlyInCaseAreComputedOnce) {
  DEBUGW = 1;
  ::testing::internal::CaptureStderr();
  const float first = parser_->get_weight_aux(word("V", 4, "Mouse"), word("N", 2, "Cat"), "obj");
  const float again = parser_->get_weight_aux(word("V", 4, "mouse"), word("N", 2, "CAT"), "OBJ");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Mouse\tV:obj:N\tCat\t0/0=0 distp=0.693147\n");
  EXPECT_FLOAT_EQ(first, std::log(2.0f));
  EXPECT_FLOAT_EQ(again, std::log(2.0f));
  EXPECT_EQ(parser_->prob_cache().size(), 1);
}

TEST_F(WeightTest, TheBestModifierOfAnEquivalenceChainCounts) {
  PItem* h = word("V", 3, "barks");
  PItem* dog = word("N", 2, "dog");  // forbidden with barks
  PItem* cat = word("N", 2, "cat");
  dog->eq_pitem(cat);
  EXPECT_FLOAT_EQ(parser_->get_weight(h, dog, "subj"), 0.1f);
  EXPECT_FLOAT_EQ(parser_->get_weight(h, nullptr, "subj"), -1.0f);
}

// A merged item of "sleeps" (weight 18) with "dog" (weight 18.35) through
// the subject relation (weight 1), whose chart weight is `w`.
struct MergeCase {
  const char* label;
  float w;
  float expected;
};

TEST_F(WeightTest, AMergedItemAddsHalfItsStructuralSurcharge) {
  const MergeCase cases[] = {
      {"surcharge 2", 39.35f, 0.1f + 1.0f},
      {"no surcharge", 37.35f, 0.1f},
      {"negative surcharge counts as none", 30.0f, 0.1f},
  };
  DepRel* subj = parser_->get_category("V", 0)->modifiers(0).front();
  ASSERT_STREQ(subj->type(), "subj");
  for (const MergeCase& c : cases) {
    PItem* h = item("V", 3, 3, "((cform \"sleeps\"))", 18.0f);
    PItem* m = item("N", 2, 2, "((cform \"dog\"))", 18.35f);
    PItem* x = item("V", 2, 3, "()", c.w);
    x->head(h);
    x->modifier(m);
    x->deprel(subj);
    EXPECT_NEAR(parser_->get_weight(x), c.expected, 1e-4) << c.label;
  }
}

TEST_F(WeightTest, TracesAreWeighedFromWhereTheyOriginatedAndCappedAt40) {
  struct Case {
    const char* label;
    std::vector<const char*> origins;  // the head word of each trace's item
    float expected;
  };
  const Case cases[] = {
      {"all forbidden", {"barks", "barks"}, 40.0f},
      {"the cheapest trace", {"barks", "sleeps"}, 0.1f},
  };
  DepRel* subj = parser_->get_category("V", 0)->modifiers(0).front();
  for (const Case& c : cases) {
    PItem* h = item("V", 3, 3, "((cform \"eats\"))");
    PItem* m = item("N", 2, 2, "((cform \"dog\"))");
    PItem* x = item("V", 2, 3, "()", 1.0f);
    x->head(h);
    x->modifier(m);
    x->deprel(subj);
    std::vector<TraceRec> recs;
    for (const char* origin : c.origins) recs.push_back({"subj", word("V", 3, origin)});
    give_traces(x, recs);
    EXPECT_NEAR(parser_->get_weight(x), c.expected, 1e-4) << c.label;
  }
}

TEST_F(WeightTest, HeadWordsFallBackToTheFormAndThenToTilde) {
  LexAnalyzer* a = parser_->lex_analyzer();
  a->clear();
  a->add_word("Walked");
  LexItem* l = a->make_lexitem("{walk/V}", nullptr, 1, 1);
  PItem* lexical = item("V", 1, 1);
  lexical->set_val(builtin_atts().lexitem, reinterpret_cast<AttVal>(l));
  EXPECT_STREQ(parser_->get_head_word(lexical), "walk");
  EXPECT_STREQ(lexical->head_word(false), "Walked");
  EXPECT_STREQ(parser_->get_head_word(item("V", 1, 1, "((cform \"that\"))")), "that");
  EXPECT_STREQ(parser_->get_head_word(item("V", 1, 1)), "~");
  // A merged item's head word is its head's.
  PItem* merged = item("V", 1, 2);
  merged->head(lexical);
  merged->modifier(item("N", 2, 2));
  EXPECT_STREQ(parser_->get_head_word(merged), "walk");
}

TEST_F(WeightTest, WordsCostTheWeightsOfWordsExpression) {
  EXPECT_FLOAT_EQ(parser_->weight_of_word("dog"), 25.0f);
  EXPECT_FLOAT_EQ(parser_->weight_of_word(nullptr), 0.0f);
}

TEST_F(WeightTest, PartOfSpeechKeys) {
  StrBufs arena;
  const std::pair<const char*, const char*> cases[] = {
      {"NN", "N"}, {"I", "V"}, {"V_N_C", "V"}, {"Prep", "Prep"}, {"_X", ""}, {"Det", "Det"}};
  for (const auto& [cat, key] : cases) {
    EXPECT_STREQ(get_pos(item(cat, 1, 1), arena), key) << cat;
  }
}

TEST_F(WeightTest, DependencyTypes) {
  GCate* v = parser_->get_category("V", 0);
  GCate* n = parser_->get_category("N", 0);
  DepRel comp1(v, n);
  comp1.type("comp1");
  comp1.position(1);
  DepRel comp0(v, n);
  comp0.type("comp0");
  comp0.position(0);
  DepRel comp2(v, n);
  comp2.type("comp2");
  comp2.position(2);
  DepRel mod(v, n);
  mod.type("mod");
  PItem* head = item("V_N", 1, 1, "((args ((cat n) (role \"obj\")) ((cat n))))");
  PItem* noun = item("N", 2, 2);
  EXPECT_STREQ(get_dep_type(&comp1, head, noun), "obj");
  // The first complement of a head-final category has no element before it.
  EXPECT_STREQ(get_dep_type(&comp0, head, noun), "comp0");
  // An argument without a role.
  EXPECT_STREQ(get_dep_type(&comp2, head, noun), "comp2");
  EXPECT_STREQ(get_dep_type(&mod, head, noun), "mod");
  EXPECT_STREQ(get_dep_type(&comp1, head, item("P", 2, 2, "((cat p) (pform \"of\"))")), "of");
  EXPECT_EQ(get_dep_type(nullptr, head, noun), nullptr);
}

}  // namespace
}  // namespace lorvan
