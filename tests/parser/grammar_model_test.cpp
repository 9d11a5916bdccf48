// Categories made from lexical items: node names, subcategories with their
// argument positions, the built-in attributes, and the program stop for a
// lexical category that the grammar does not define.
#include <gtest/gtest.h>

#include <string>

#include "command/irslist.h"
#include "lexical/lex_item.h"
#include "lexicon/avmeaning.h"
#include "parser/dep_rel.h"
#include "parser_fixture.h"

namespace lorvan::parsertest {
namespace {

class GrammarModelTest : public ParserTest {
 protected:
  void SetUp() override { define("(load \"np.lsp\")"); }

  // The category made for the first lexical item of `word`.
  GCate* category_of(const char* word) {
    parser_->prepare_to_parse(word, nullptr);
    LexAnalyzerIterator it(parser_->lex_analyzer());
    return it.finished() ? nullptr : parser_->create_category(it.current());
  }
};

TEST_F(GrammarModelTest, BuiltinAttributesAreLookedUp) {
  const BuiltinAtts& atts = builtin_atts();
  for (int index : {atts.args, atts.cat, atts.move, atts.slash, atts.trace, atts.lexitem,
                    atts.opt, atts.role, atts.last_conj, atts.head_final}) {
    EXPECT_GE(index, 0);
  }
  EXPECT_NE(atts.slash_wh, 0u);
  EXPECT_STREQ(category(atts.cat_n), "N");
  EXPECT_STREQ(category(atts.cat_d), "Det");
  EXPECT_STREQ(category(atts.cat_j), "Conn");
  EXPECT_STREQ(category(0), "");
}

TEST_F(GrammarModelTest, WordWithoutArgumentsUsesItsPlainCategory) {
  EXPECT_EQ(category_of("dog"), cat("N"));
  EXPECT_EQ(category_of("barks"), cat("V"));
}

TEST_F(GrammarModelTest, HeadInitialArgumentsFollowTheHead) {
  GCate* c = category_of("gives");
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->name(), "V_N_N");
  EXPECT_EQ(c->is_subcat(), 1);
  EXPECT_EQ(c->num_positions(), 3);
  EXPECT_EQ(c->head(), 0);
  struct Case {
    int position;
    const char* type;
    int arg;
  } cases[] = {{1, "comp1", 0}, {2, "comp2", 1}};
  for (const Case& k : cases) {
    ASSERT_EQ(c->modifiers(k.position).size(), 1u);
    DepRel* rel = c->modifiers(k.position)[0];
    EXPECT_STREQ(rel->type(), k.type);
    EXPECT_EQ(rel->check_arg(), k.arg);
    EXPECT_EQ(rel->modifier(), cat("N"));
    EXPECT_EQ(rel->no_guest(), 0);
    EXPECT_TRUE(c->is_skip_adjunct(k.position));
    EXPECT_FALSE(c->is_necessary(k.position));
  }
  // The plain category reaches the subcategory through its head position.
  GCate* v = cat("V");
  const std::vector<DepRel*>& at_head = v->modifiers(v->head());
  ASSERT_FALSE(at_head.empty());
  EXPECT_EQ(at_head.back()->modifier(), c);
  EXPECT_STREQ(at_head.back()->type(), "subcat");
  EXPECT_TRUE(at_head.back()->percolating_atts().test(builtin_atts().lexitem));
  EXPECT_EQ(category_of("gives"), c) << "the subcategory is made once";
}

TEST_F(GrammarModelTest, HeadFinalArgumentsPrecedeTheHead) {
  GCate* c = category_of("shows");
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->name(), "N_N_V");
  EXPECT_EQ(c->num_positions(), 3);
  EXPECT_EQ(c->head(), 2);
  EXPECT_STREQ(c->modifiers(0)[0]->type(), "comp0");
  EXPECT_STREQ(c->modifiers(1)[0]->type(), "comp1");
  EXPECT_EQ(c->modifiers(1)[0]->check_arg(), 1);
}

TEST_F(GrammarModelTest, NodeAttributeNamesAnExistingCategory) {
  EXPECT_EQ(category_of("named"), cat("V")) << "no category Named yet";
  run("(def-category Named)");
  EXPECT_EQ(category_of("named"), cat("Named"));
}

TEST_F(GrammarModelTest, NodeNames) {
  const AttInterpreterList* syn = parser_->att_type();
  struct Case {
    const char* vector;
    const char* name;
  } cases[] = {
      {"((cat v) (args ((cat n)) ((cat c))))", "V_N_C"},
      {"((cat v) (head_final 1) (args ((cat n)) ((cat c))))", "N_C_V"},
      {"((cat p))", "P"},
      {"((cat n) (node Special))", "Special"},
      {"((num sg))", ""},
  };
  for (const Case& c : cases) {
    auto t = make_command_tokenizer();
    std::unique_ptr<IRSlist> text = make_irslist(c.vector, t.get());
    AttVec vec(text.get(), syn);
    std::string name;
    EXPECT_EQ(node_name(vec, name), c.name[0] != '\0') << c.vector;
    EXPECT_EQ(name, c.name) << c.vector;
  }
}

TEST_F(GrammarModelTest, SeedsSpanTheirWordAndHoldTheirLexicalItem) {
  ASSERT_TRUE(parse("the dog"));
  PItem* dog = item("N", 2, 2);
  ASSERT_NE(dog, nullptr);
  ASSERT_NE(dog->lexitem(), nullptr);
  EXPECT_STREQ(dog->lexitem()->root(), "dog");
  EXPECT_EQ(dog->head_index(), 2);
  EXPECT_EQ(dog->location(), cat("N"));
  PItem* np = item("N", 1, 2);
  ASSERT_NE(np, nullptr);
  EXPECT_EQ(np->head_index(), 2) << "the head word of a merged item is its head's";
  EXPECT_EQ(np->head(), dog);
}

using GrammarModelDeathTest = GrammarModelTest;

TEST_F(GrammarModelDeathTest, UndefinedLexicalCategoryStopsTheProgram) {
  EXPECT_EXIT(parse("itself"), ::testing::ExitedWithCode(1), "The category 'I' is not defined");
}

}  // namespace
}  // namespace lorvan::parsertest
