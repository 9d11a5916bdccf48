// Lexical items: sub-items, the two kinds of copies, meanings shared with
// the lexicon until changed, the printed form and the 16-bit positions.
#include "lexical/lex_item.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lex_analyzer_fixture.h"

namespace lorvan::lexantest {
namespace {

class LexItemTest : public ::testing::Test {
 protected:
  LexItemTest() : lexicon_({"(dog (pos noun) (sense animal))"}) {
    a_.set_lexicon(&lexicon_.lexicon());
    feed(a_, "the big dog");
  }
  const Meaning* noun() { return lexicon_.lexicon().find_in_memory("dog")->meanings()[0].get(); }
  // The lattice item the lexicon made for "dog" with the meaning (pos noun).
  LexItem* looked_up_dog() {
    a_.look_up_word("dog", 3, 3);
    for (LexItem* e : *a_.bucket(3)) {
      if (e->meaning() != nullptr && meaning_text(e->meaning()) == "noun") return e;
    }
    return nullptr;
  }
  static std::string printed(const LexItem* item, int depth = 0) {
    std::ostringstream out;
    item->print(out, depth);
    return out.str();
  }
  // Sets the text of a text meaning.
  static void retext(Meaning* m, const char* text) {
    auto t = make_command_tokenizer();
    std::unique_ptr<IRSlist> s = make_irslist((std::string("(") + text + ")").c_str(), t.get());
    m->initialize(s.get());
  }

  FixtureLexicon lexicon_;
  LexAnalyzer a_{8};
};

TEST_F(LexItemTest, SubItemsStayInOrderOfLowAndNeverFormACycle) {
  LexItem* np = a_.make_lexitem("np", nullptr, 1, 3);
  LexItem* dog = a_.make_lexitem("dog", nullptr, 3, 3);
  LexItem* the = a_.make_lexitem("the", nullptr, 1, 1);
  LexItem* big = a_.make_lexitem("big", nullptr, 2, 2);
  EXPECT_TRUE(np->add_component(dog));
  EXPECT_TRUE(np->add_component(the));
  EXPECT_TRUE(np->add_component(big));
  ASSERT_EQ(np->components().size(), 3u);
  EXPECT_STREQ(np->components()[0]->root(), "the");
  EXPECT_STREQ(np->components()[1]->root(), "big");
  EXPECT_STREQ(np->components()[2]->root(), "dog");
  EXPECT_FALSE(np->add_component(nullptr));
  EXPECT_FALSE(np->add_component(np));
  LexItem* s = a_.make_lexitem("s", nullptr, 1, 3);
  EXPECT_TRUE(s->add_component(np));
  EXPECT_FALSE(dog->add_component(s));  // dog is inside s already
  EXPECT_TRUE(dog->components().empty());
}

TEST_F(LexItemTest, DuplicateKeepsTheReadingButNotItsPlaceInALargerItem) {
  LexItem* x = looked_up_dog();
  ASSERT_NE(x, nullptr);
  x->head(3);
  x->weight(2.5f);
  x->cate("N");
  x->relation("obj");
  x->add_affix("plural");
  x->add_component(a_.make_lexitem("d", nullptr, 3, 3));
  LexItem* d = x->duplicate();
  EXPECT_STREQ(d->root(), "dog");
  EXPECT_EQ(d->low(), 3);
  EXPECT_EQ(d->high(), 3);
  EXPECT_EQ(d->weight(), 2.5f);
  ASSERT_EQ(d->affixes().size(), 1u);
  EXPECT_STREQ(d->affixes()[0], "plural");
  EXPECT_EQ(meaning_text(d->meaning()), "noun");
  EXPECT_EQ(d->cate(), nullptr);
  EXPECT_EQ(d->relation(), nullptr);
  EXPECT_TRUE(d->components().empty());
  EXPECT_EQ(d->lex_entry(), nullptr);
  EXPECT_FALSE(d->in_lattice());
}

TEST_F(LexItemTest, CopyCarriesEverythingWithCopiesOfTheSubItems) {
  LexItem* x = a_.make_lexitem("np", noun(), 2, 3);
  x->head(3);
  x->cate("NP");
  x->relation("subj");
  x->stamp(7);
  x->add_component(a_.make_lexitem("dog", noun(), 3, 3));
  a_.add(x, true);
  a_.del(x);
  LexItem* c = x->copy();
  EXPECT_EQ(printed(c), printed(x));
  EXPECT_STREQ(c->relation(), "subj");
  EXPECT_EQ(c->stamp(), 0u);
  EXPECT_FALSE(c->deleted());
  ASSERT_EQ(c->components().size(), 1u);
  EXPECT_NE(c->components()[0], x->components()[0]);
  EXPECT_NE(c->meaning(), x->meaning());  // x owns its meaning, so c has its own too
  EXPECT_EQ(c->analyzer(), &a_);
}

TEST_F(LexItemTest, ChangingAMeaningNeverReachesTheLexicon) {
  LexItem* x = looked_up_dog();
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->meaning(), noun());  // shared while unchanged
  EXPECT_EQ(x->lex_entry(), lexicon_.lexicon().find_in_memory("dog"));
  LexItem* before_change = x->copy();
  Meaning* own = x->mutable_meaning();
  EXPECT_NE(own, noun());
  EXPECT_EQ(x->mutable_meaning(), own);  // made once
  retext(own, "pet");
  EXPECT_EQ(meaning_text(x->meaning()), "pet");
  EXPECT_EQ(meaning_text(noun()), "noun");
  EXPECT_EQ(meaning_text(before_change->meaning()), "noun");
  // A meaning given to make_lexitem is duplicated at once.
  LexItem* made = a_.make_lexitem("dog", noun(), 3, 3);
  EXPECT_NE(made->meaning(), noun());
  EXPECT_EQ(made->meaning()->cmp(*noun()), 0);
  EXPECT_EQ(a_.make_lexitem("dog", nullptr, 3, 3)->mutable_meaning(), nullptr);
}

TEST_F(LexItemTest, PrintShowsCategoryWordsMeaningAffixesWeightHeadRootAndSubItems) {
  LexItem* np = a_.make_lexitem(nullptr, nullptr, 1, 3);
  np->cate("NP");
  np->weight(1.5f);
  np->head(3);
  const char* affixes[] = {"pl", "gen"};
  np->add_component(a_.make_lexitem("dog", noun(), 3, 3, affixes));
  np->add_component(a_.make_lexitem("the", nullptr, 1, 1));
  EXPECT_EQ(printed(np, 1),
            "  [1,3] NP the big dog  w=1.5 hd=3\n"
            "    [1,1] the  w=0 hd=1 (root the)\n"
            "    [3,3] dog (pos noun) (affixes pl gen) w=0 hd=3 (root dog)\n");
  // A span outside the sentence prints no words.
  EXPECT_EQ(printed(a_.make_lexitem("x", nullptr, 2, 9)), "[2,9]   w=0 hd=2 (root x)\n");
}

TEST_F(LexItemTest, StringsAreCopiedAndPositionsClampedToSixteenBits) {
  char root[] = "walk";
  LexItem* x = a_.make_lexitem(root, nullptr, 1, 1);
  root[0] = 't';
  EXPECT_STREQ(x->root(), "walk");
  x->root(nullptr);
  EXPECT_EQ(x->root(), nullptr);
  x->head(100000);
  x->low(-100000);
  EXPECT_EQ(x->head(), 32767);
  EXPECT_EQ(x->low(), -32768);
}

}  // namespace
}  // namespace lorvan::lexantest
