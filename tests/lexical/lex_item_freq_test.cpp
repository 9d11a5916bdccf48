// Word-frequency weights of lexical items: the count of the item's
// category in its entry's "freq" meaning, else the default, truncated.
#include "lexical/lex_item_freq.h"

#include <gtest/gtest.h>

#include "lex_analyzer_fixture.h"

namespace lorvan::lexantest {
namespace {

TEST(LexItemFreqTest, WeightIsTheCategoryCountOrTheDefaultTruncated) {
  FixtureLexicon lex({"(run (pos verb) (freq N 10.7 V 2 adv -1.5))", "(walk (pos verb))"});
  LexEntry* run = lex.lexicon().find_in_memory("run");
  LexEntry* walk = lex.lexicon().find_in_memory("walk");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(walk, nullptr);
  struct Case {
    const char* label;
    LexEntry* entry;
    const char* cate;
    float default_count;
    float weight;
  } cases[] = {
      {"count of the category", run, "N", 18, 10},
      {"category compared without case", run, "v", 18, 2},
      {"negative count truncated toward zero", run, "ADV", 18, -1},
      {"category without a count", run, "ADJ", 18, 18},
      {"item without category", run, nullptr, 18, 18},
      {"entry without freq meaning", walk, "N", 18, 18},
      {"item without entry", nullptr, "N", 18.9f, 18},
      {"default truncated toward zero", run, "X", -3.7f, -3},
  };
  LexAnalyzer a(8);
  feed(a, "run");
  for (const Case& c : cases) {
    LexItem* item = a.make_lexitem("run", nullptr, 1, 1);
    ASSERT_NE(item, nullptr);
    item->weight(99.5f);
    item->lex_entry(c.entry);
    item->cate(c.cate);
    set_freq_count(item, c.default_count);
    EXPECT_EQ(item->weight(), c.weight) << c.label;
  }
}

}  // namespace
}  // namespace lorvan::lexantest
