// The pieces of dependency extraction on hand-made items and trees: trees
// of lexical items with components, antecedents of moved constituents and
// the traces inserted for them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/irslist.h"
#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "features/avlist.h"
#include "features/traceatt.h"
#include "forest_fixture.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_item.h"
#include "parser/parse_forest.h"
#include "parser/parser_weights.h"
#include "parser/pitem.h"

namespace lorvan {
namespace {

class ForestExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser_ = forest_test::forest_parser();
    ASSERT_NE(parser_, nullptr);
    parser_->reset();
    analyzer_ = parser_->lex_analyzer();
    analyzer_->clear();
  }

  // Puts `words` (positions 1..) into the analyzer and the structure.
  void sentence(const std::vector<const char*>& words) {
    for (const char* w : words) {
      analyzer_->add_space(" ");
      analyzer_->add_word(w);
    }
    deps_.words(*analyzer_);
  }
  LexItem* lexitem(const char* root, int low, int high, int head) {
    LexItem* l = analyzer_->make_lexitem(root, nullptr, low, high);
    l->head(head);
    return l;
  }
  // A vector of the parser's type read from `text`.
  AttVec* vec(const char* text) {
    texts_.push_back(std::make_unique<IRSlistInputIterator>(text));
    vecs_.push_back(std::make_unique<AttVec>(texts_.back()->current(), parser_->att_type()));
    return vecs_.back().get();
  }
  PItem* item(const char* text = "()") {
    PItem* x = parser_->new_pitem();
    x->unify(*vec(text));
    return x;
  }
  static void set_lexitem(AttVec& v, const LexItem* l) {
    v.set_val(builtin_atts().lexitem, reinterpret_cast<AttVal>(l));
  }
  // A trace value of one record; the vectors given it hold it.
  static TraceVal* one_trace(const char* role, PItem* origin) {
    auto* t = new TraceVal();
    t->push({role, origin});
    return t;
  }
  static void set_trace(AttVec& v, TraceVal* t) {
    v.set_val(builtin_atts().trace, reinterpret_cast<AttVal>(t));
  }

  VanticParser* parser_ = nullptr;
  LexAnalyzer* analyzer_ = nullptr;
  Deps deps_;
  std::vector<std::unique_ptr<IRSlistInputIterator>> texts_;
  std::vector<std::unique_ptr<AttVec>> vecs_;
};

TEST_F(ForestExtractionTest, ALexicalItemWithoutComponentsDropsTrailingCommasFromItsSpan) {
  sentence({"New", "York", ","});
  DepTree* t = make_dep_node(deps_, lexitem("New York ,", 1, 3, 1));
  EXPECT_EQ(t->pos(), 1);
  EXPECT_EQ(t->low(), 1);
  EXPECT_EQ(t->high(), 2);
  // The span shrank, so the root is made of its words.
  EXPECT_STREQ(t->root(), "New York");
  std::vector<int> lex_mods;
  for (const DepTree* c = t->first(); c != nullptr; c = c->next()) {
    EXPECT_STREQ(c->rel(), "lex-mod");
    lex_mods.push_back(c->pos());
  }
  EXPECT_EQ(lex_mods, (std::vector<int>{2, 3}));
}

TEST_F(ForestExtractionTest, ComponentsBecomeTheHeadNodeAndItsDependents) {
  sentence({"Mr", "John", "Smith"});
  LexItem* whole = lexitem("Mr John Smith", 1, 3, 3);
  LexItem* title = lexitem("Mr", 1, 1, 1);
  LexItem* name = lexitem("John Smith", 2, 3, 3);
  name->relation("name");
  ASSERT_TRUE(whole->add_component(title));
  ASSERT_TRUE(whole->add_component(name));
  DepTree* t = make_dep_node(deps_, whole);
  // The component holding the head word is the result; its relation is
  // cleared.
  EXPECT_EQ(t->pos(), 3);
  EXPECT_STREQ(t->root(), "John Smith");
  EXPECT_EQ(t->rel(), nullptr);
  const DepTree* mr = t->at_pos(1);
  ASSERT_NE(mr, nullptr);
  EXPECT_EQ(mr->parent(), t);
  EXPECT_STREQ(mr->rel(), "lex-dep");
  const DepTree* john = t->at_pos(2);
  ASSERT_NE(john, nullptr);
  EXPECT_EQ(john->parent(), t);
  EXPECT_STREQ(john->rel(), "lex-mod");
}

TEST_F(ForestExtractionTest, AnEmptyLexicalItemIsAnEmptyNode) {
  sentence({"a"});
  DepTree* t = make_dep_node(deps_, lexitem("gap", 2, 1, 2));
  EXPECT_TRUE(t->empty_span());
  EXPECT_STREQ(t->root(), "~");
  EXPECT_EQ(t->first(), nullptr);
}

TEST_F(ForestExtractionTest, AntecedentsAreFoundAlongTheTraceOfAnItem) {
  TraceVal* t = new TraceVal();
  // x = h1 + m0, where h1 = h2 + m1 carries x's trace.
  auto chain = [&](const char* h2_text, const char* m1_text) {
    PItem* h2 = item(h2_text);
    PItem* m1 = item(m1_text);
    PItem* h1 = item();
    h1->head(h2);
    h1->modifier(m1);
    set_trace(h1->attvec(), t);
    PItem* x = item();
    x->head(h1);
    x->modifier(item());
    set_trace(x->attvec(), t);
    return std::vector<PItem*>{x, h1, h2, m1};
  };
  // The head of the stopping item has the movement: its modifier moved.
  std::vector<PItem*> a = chain("((move ((slash wh))))", "()");
  EXPECT_EQ(find_antecedent(a[0]), a[3]);
  // The modifier has it: the bottom of the head chain.
  std::vector<PItem*> b = chain("()", "((move ((slash wh))))");
  EXPECT_EQ(find_antecedent(b[0]), b[2]);
  std::vector<PItem*> c = chain("()", "()");
  EXPECT_EQ(find_antecedent(c[0]), nullptr);
  EXPECT_EQ(find_antecedent(item()), nullptr);
}

// A verb "eat" at 2 whose object moved to "what" at 1: the verb node m
// holds the gap, and n is the node of the moved word.
class TraceAttachTest : public ForestExtractionTest {
 protected:
  void SetUp() override {
    ForestExtractionTest::SetUp();
    sentence({"what", "eat"});
    eat_ = lexitem("eat", 2, 2, 2);
    origin_ = item();
    set_lexitem(origin_->attvec(), eat_);
    m_ = deps_.new_node();
    m_->init(2, nullptr);
    n_ = deps_.new_node();
    n_->init(1, "wh");
    n_->cat("N");
    m_->ord_insert(n_);
    deps_.init(m_);
    moved_ = item();
    set_trace(moved_->attvec(), one_trace("obj", origin_));
  }
  // m's vector: its lexical item and, with `gap`, a movement whose trace
  // comes from `origin`.
  AttVec* verb_vec(bool gap, PItem* origin) {
    AttVec* v = vec(gap ? "((move ((slash wh))))" : "()");
    set_lexitem(*v, eat_);
    if (gap) {
      const AVList* moves = avlist_val(*v, builtin_atts().move);
      set_trace(*(*moves)[0], one_trace("obj", origin));
    }
    return v;
  }
  int count_obj() const {
    int n = 0;
    for (const DepTree* c = m_->first(); c != nullptr; c = c->next()) {
      if (c->rel() != nullptr && std::string(c->rel()) == "obj") ++n;
    }
    return n;
  }

  LexItem* eat_ = nullptr;
  PItem* origin_ = nullptr;
  PItem* moved_ = nullptr;
  DepTree* m_ = nullptr;
  DepTree* n_ = nullptr;
};

TEST_F(TraceAttachTest, AGapOfTheVerbGetsAnEmptyNodeForTheAntecedent) {
  m_->attvec(verb_vec(true, origin_));
  EXPECT_TRUE(contain_gapped_child(m_, eat_));
  EXPECT_TRUE(match_lexitem(m_, eat_));
  attach_trace(deps_, n_, m_, moved_);
  const DepTree* gap = m_->getChildByRel("obj");
  ASSERT_NE(gap, nullptr);
  EXPECT_TRUE(gap->empty_span());
  EXPECT_EQ(gap->low(), 3);
  EXPECT_EQ(gap->high(), 2);
  EXPECT_STREQ(gap->root(), "what");
  EXPECT_STREQ(gap->cat(), "N");
  EXPECT_EQ(gap->antecedent(), n_);
  // A second attempt finds the role taken.
  attach_trace(deps_, n_, m_, moved_);
  EXPECT_EQ(count_obj(), 1);
}

TEST_F(TraceAttachTest, NothingIsAttachedWithoutAGapFromTheSameWord) {
  struct Case {
    const char* label;
    bool gap;
    bool origin_is_eat;
  };
  const Case cases[] = {{"no movement", false, true}, {"a gap of another word", true, false}};
  for (const Case& c : cases) {
    PItem* origin = origin_;
    if (!c.origin_is_eat) {
      origin = item();
      set_lexitem(origin->attvec(), lexitem("drink", 2, 2, 2));
    }
    m_->attvec(verb_vec(c.gap, origin));
    attach_trace(deps_, n_, m_, moved_);
    EXPECT_EQ(count_obj(), 0) << c.label;
  }
}

TEST_F(TraceAttachTest, AGapOfADirectChildCounts) {
  m_->attvec(verb_vec(false, origin_));
  n_->attvec(verb_vec(true, origin_));
  EXPECT_TRUE(contain_gapped_child(m_, eat_));
  attach_trace(deps_, n_, m_, moved_);
  EXPECT_EQ(count_obj(), 1);
}

TEST_F(TraceAttachTest, TheAntecedentItselfAndNodesWithoutVectorsAreSkipped) {
  attach_trace(deps_, n_, m_, moved_);  // m has no vector yet
  EXPECT_EQ(count_obj(), 0);
  m_->attvec(verb_vec(true, origin_));
  attach_trace(deps_, m_, m_, moved_);
  EXPECT_EQ(count_obj(), 0);
}

}  // namespace
}  // namespace lorvan
