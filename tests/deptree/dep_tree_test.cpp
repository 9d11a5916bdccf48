// Dependency nodes and the structure around them: ordered insertion,
// words and spaces, naming, attaching unattached words, antecedent links,
// span and word queries, and the debugging print.
#include "deptree/dep_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "deptree/deps.h"
#include "deptree/deps_test_fixture.h"
#include "deptree/val_type.h"
#include "expr/lexp.h"

namespace lorvan::testing_deps {
namespace {

class DepTreeTest : public DepsTest {
 protected:
  // A structure over the words "a" to "h".
  DepTreeTest() {
    for (const char* w : {"a", "b", "c", "d", "e", "f", "g", "h"}) {
      deps_.add_space(" ");
      deps_.add_word(w);
    }
  }

  // A node spanning low..high with its word at pos (pos <= 0: none).
  DepTree* node(int low, int high, int pos, const char* rel = nullptr) {
    DepTree* n = deps_.new_node();
    n->init(pos, rel);
    n->low(low);
    n->high(high);
    return n;
  }
  DepTree* word(int pos, const char* rel = nullptr) { return node(pos, pos, pos, rel); }

  static std::vector<int> child_positions(const DepTree* n) {
    std::vector<int> out;
    for (const DepTree* c = n->first(); c != nullptr; c = c->next()) out.push_back(c->pos());
    return out;
  }

  Deps deps_;
};

// ---- Ordered insertion ----

TEST_F(DepTreeTest, TheAfterHeadFlagSaysWhetherADependentFollowsItsHead) {
  struct Span {
    int low, high, pos;
  };
  struct Case {
    Span head, child;
    bool after;
  };
  const Case cases[] = {
      {{3, 3, 3}, {5, 5, 5}, true},    // both words: by position
      {{3, 3, 3}, {1, 1, 1}, false},
      {{3, 5, 4}, {2, 6, 2}, true},    // dependent before the head word but reaching past it
      {{3, 2, -1}, {3, 3, 3}, true},   // empty head: by the head's low
      {{3, 2, -1}, {2, 2, 2}, false},
      {{3, 3, 3}, {4, 3, -1}, true},   // empty dependent after the head
      {{3, 3, 3}, {2, 1, -1}, false},  // ... before it
      {{3, 3, 3}, {3, 2, -1}, false},  // ... just before the head's word
      {{3, 2, -1}, {3, 2, -1}, true},  // two empty spans at one place
      {{3, 2, -1}, {2, 1, -1}, false},
      {{3, 2, -1}, {5, 4, -1}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.head.low) + "," + std::to_string(c.head.high) + " <- " +
                 std::to_string(c.child.low) + "," + std::to_string(c.child.high));
    DepTree* head = node(c.head.low, c.head.high, c.head.pos);
    DepTree* child = node(c.child.low, c.child.high, c.child.pos);
    EXPECT_EQ(after_head_flag(*head, *child), c.after);
    ASSERT_TRUE(head->ord_insert(child));
    EXPECT_EQ(child->after_head(), c.after);
  }
}

TEST_F(DepTreeTest, DependentsStandInSentenceOrder) {
  DepTree* head = word(4);
  for (int p : {6, 1, 3}) head->ord_insert(word(p));
  EXPECT_EQ(child_positions(head), (std::vector<int>{1, 3, 6}));
  // An empty node goes before the first dependent that starts after it.
  DepTree* trace = node(3, 2, -1);
  head->ord_insert(trace);
  EXPECT_EQ(child_positions(head), (std::vector<int>{1, -1, 3, 6}));
  // A node without word is ordered by its first descendant with a word.
  DepTree* group = node(5, 5, -2);
  group->ord_insert(word(5));
  head->ord_insert(group);
  EXPECT_EQ(child_positions(head), (std::vector<int>{1, -1, 3, -2, 6}));
  // Moving a dependent to another head takes it away from the first.
  DepTree* other = word(7);
  ASSERT_TRUE(other->ord_insert(group));
  EXPECT_EQ(group->parent(), other);
  EXPECT_EQ(child_positions(head), (std::vector<int>{1, -1, 3, 6}));
}

TEST_F(DepTreeTest, InsertingANodeBelowItselfIsRefused) {
  DepTree* a = word(1);
  DepTree* b = word(2);
  DepTree* c = word(3);
  a->ord_insert(b);
  b->ord_insert(c);
  EXPECT_FALSE(c->ord_insert(a));
  EXPECT_FALSE(b->ord_insert(b));
  EXPECT_EQ(a->parent(), nullptr);
  EXPECT_EQ(c->parent(), b);
  // parent(node) is ord_insert under node; null detaches.
  c->parent(a);
  EXPECT_EQ(child_positions(a), (std::vector<int>{2, 3}));
  c->parent(nullptr);
  EXPECT_EQ(c->parent(), nullptr);
}

TEST_F(DepTreeTest, ClearDetachesEveryDescendantWithoutDestroyingIt) {
  DepTree* a = word(1);
  DepTree* b = word(2);
  DepTree* c = word(3);
  a->ord_insert(b);
  b->ord_insert(c);
  a->clear();
  EXPECT_TRUE(a->atom());
  EXPECT_EQ(b->parent(), nullptr);
  EXPECT_TRUE(b->atom());
  EXPECT_EQ(c->parent(), nullptr);
  EXPECT_EQ(c->pos(), 3);  // still alive, still owned by the structure
}

// ---- Words and spaces ----

TEST(DepsWords, SpacesStandBeforeTheirWords) {
  Deps deps;
  EXPECT_EQ(deps.sentleng(), 0);
  deps.add_space("\n");
  deps.add_space(" ");  // extends the space before the coming word
  EXPECT_EQ(deps.add_word("one"), 1);
  EXPECT_EQ(deps.add_word("two"), 2);  // no space recorded: ""
  deps.add_space(nullptr);
  EXPECT_EQ(deps.add_word("three"), 3);
  deps.add_space("  ");
  deps.add_word("four");
  EXPECT_EQ(deps.add_word(nullptr), 0);
  EXPECT_EQ(deps.sentleng(), 5);
  EXPECT_STREQ(deps.space(1), "\n ");
  EXPECT_STREQ(deps.space(2), "");
  EXPECT_STREQ(deps.space(3), "");
  EXPECT_STREQ(deps.space(4), "  ");
  for (int outside : {-1, 0, 5, 100}) {
    EXPECT_STREQ(deps.word(outside), "");
    EXPECT_STREQ(deps.space(outside), "");
  }
  struct Case {
    int i, j;
    const char* text;
  };
  for (const Case& c : {Case{1, 4, "onetwothree four"}, Case{3, 3, "three"},
                        Case{-5, 2, "onetwo"}, Case{3, 99, "three four"}, Case{3, 2, ""}}) {
    EXPECT_STREQ(deps.words(c.i, c.j), c.text) << c.i << ".." << c.j;
  }
}

// A sentence source with the lexical analyzer's reading interface.
struct FakeAnalyzer {
  std::vector<const char*> words{nullptr, "Hello", ",", "world"};
  std::vector<const char*> spaces{nullptr, nullptr, nullptr, " "};
  int sentleng() const { return static_cast<int>(words.size()); }
  const char* word(int i) const { return words[i]; }
  const char* space(int i) const { return spaces[i]; }
};

TEST(DepsWords, TheAnalyzersWordsAndSpacesAreCopied) {
  Deps deps;
  deps.words(FakeAnalyzer());
  EXPECT_EQ(deps.sentleng(), 4);
  EXPECT_STREQ(deps.words(1, 3), "Hello, world");
}

// ---- Naming ----

TEST_F(DepTreeTest, NodesAreNamedByPositionOrAsEmptyNodes) {
  DepTree* w = word(3);
  DepTree* e1 = node(2, 1, -1);
  DepTree* e2 = node(2, 1, 0);
  deps_.name_node(w);
  deps_.name_node(e1);
  deps_.name_node(e2);
  EXPECT_STREQ(w->name(), "3");
  EXPECT_STREQ(e1->name(), "E0");
  EXPECT_STREQ(e2->name(), "E1");
  deps_.name_node(w);  // a named node keeps its name
  EXPECT_STREQ(w->name(), "3");
  EXPECT_EQ(deps_.get_named_node("e1"), e2);
  EXPECT_EQ(deps_.get_named_node("E9"), nullptr);
  EXPECT_EQ(deps_.get_named_node(nullptr), nullptr);
  // Names already given are skipped: by position, and by counter.
  DepTree* taken = node(4, 3, -1);
  taken->name("E2");
  DepTree* e3 = node(5, 4, -1);
  deps_.name_node(e3);
  EXPECT_STREQ(e3->name(), "E3");
  DepTree* another3 = word(3);
  deps_.name_node(another3);
  EXPECT_STREQ(another3->name(), "E4");
  // Renaming moves the look-up.
  w->name("head");
  EXPECT_EQ(deps_.get_named_node("3"), nullptr);
  EXPECT_EQ(deps_.get_named_node("HEAD"), w);
}

// ---- Attaching unattached words ----

TEST_F(DepTreeTest, UnattachedWordsHangUnderTheTopWithoutATree) {
  Deps deps;
  deps.read("(:id x (a) (b) (c))");
  deps.attachIsolatedNodes();
  ASSERT_NE(deps.tree(), nullptr);
  EXPECT_EQ(child_positions(deps.tree()), (std::vector<int>{1, 2, 3}));
  for (const DepTree* c = deps.tree()->first(); c != nullptr; c = c->next()) {
    EXPECT_STREQ(c->rel(), "punc");
    EXPECT_STREQ(c->word(), deps.word(c->pos()));
    EXPECT_STREQ(c->raw_root(), deps.word(c->pos()));
  }
  Deps none;
  none.attachIsolatedNodes();  // no words: just the top node
  ASSERT_NE(none.tree(), nullptr);
  EXPECT_TRUE(none.tree()->atom());
}

TEST_F(DepTreeTest, AnUnattachedWordGoesUnderTheCommonAncestorOfItsNeighbours) {
  Deps deps;
  deps.read("(:id x (the ~ D < dog) (big ~ J < dog) (\",\") (dog ~ N < barks) (barks ~ V *) (.))");
  deps.attachIsolatedNodes();
  const DepTree* comma = deps.at_pos(3);
  ASSERT_NE(comma, nullptr);
  EXPECT_EQ(comma->parent(), deps.at_pos(4));
  EXPECT_EQ(child_positions(deps.at_pos(4)), (std::vector<int>{1, 2, 3}));
  // The last word has no attached word to its right: the top node.
  const DepTree* stop = deps.at_pos(6);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->parent(), deps.tree());
  EXPECT_STREQ(stop->rel(), "punc");
}

// ---- Properties ----

TEST_F(DepTreeTest, AntecedentLinksGoBothWays) {
  DepTree* who = word(1);
  DepTree* trace = node(4, 3, -1);
  trace->antecedent(who);
  EXPECT_EQ(trace->antecedent(), who);
  EXPECT_STREQ(who->name(), "1");
  EXPECT_EQ(DepTree::cast(who->get_propval(REFERENT)), trace);
  EXPECT_EQ(who->antecedent(), nullptr);
  // A chain: trace2 -> trace -> who, with a loop back from who.
  DepTree* trace2 = node(6, 5, -1);
  trace2->antecedent(trace);
  who->referent(trace2);
  std::vector<DepTree*> coref;
  trace2->getCorefNodes(coref);
  EXPECT_EQ(coref, (std::vector<DepTree*>{trace2, trace, who}));
  std::vector<DepTree*> refs;
  who->removeReferentNodes(refs);
  EXPECT_EQ(refs.size(), 2u);
  EXPECT_EQ(who->get_propval(REFERENT), nullptr);
  std::vector<DepTree*> antes;
  trace->removeAntecedentNodes(antes);
  EXPECT_EQ(antes, (std::vector<DepTree*>{who}));
  EXPECT_EQ(trace->antecedent(), nullptr);
}

TEST_F(DepTreeTest, PropertyValuesAreCollectedAndRemoved) {
  DepTree* n = word(2);
  const int count = ValType::get_id("dt-count");
  EXPECT_EQ(n->get_propval(count), nullptr);
  TSlist<PropVal> none;
  EXPECT_EQ(n->get_propvals(count, none, true), 0);
  EXPECT_EQ(n->prop_list(), nullptr);  // made on first use only
  n->props()->add_propval(PropVal(count, int_to_value(7), 1.0f));
  n->props()->add_propval(PropVal(count, int_to_value(8), 1.0f));
  TSlist<PropVal> kept;
  EXPECT_EQ(n->get_propvals(count, kept, false), 2);
  EXPECT_EQ(value_to_int(n->get_propval(count)), 8);
  TSlist<PropVal> taken;
  EXPECT_EQ(n->get_propvals(count, taken, true), 2);
  EXPECT_EQ(n->get_propval(count), nullptr);
}

// ---- Queries ----

TEST_F(DepTreeTest, SpansAndTheirWords) {
  Deps deps;
  deps.read(
      "(:id q (the ~ D < man) (old ~ J < man lex-mod) (man ~ N < saw) (saw ~ V *)"
      " E1 (() ~ T > saw) (it ~ P > saw) (.))");
  DepTree* man = deps.at_pos(3);
  DepTree* saw = deps.at_pos(4);
  EXPECT_STREQ(man->words(), "man");
  EXPECT_STREQ(man->maxp(), "the old man");
  EXPECT_STREQ(saw->maxp(), "the old man saw it");
  EXPECT_STREQ(deps.words(saw), "the old man saw it");
  EXPECT_STREQ(deps.get_named_node("E1")->words(), "");
  int lo = 99;
  int hi = -1;
  saw->getSubTreeSpan(lo, hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 5);
  EXPECT_EQ(saw->getChildByRel(nullptr), nullptr);
  EXPECT_EQ(man->getChildByRel("LEX-MOD"), deps.at_pos(2));
  EXPECT_EQ(saw->at_pos(5), deps.at_pos(5));
  EXPECT_EQ(man->at_pos(5), nullptr);
  // Only lex-mod dependents widen the word span.
  int left;
  int right;
  man->getWordSpan(left, right);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 0);
  EXPECT_STREQ(man->deepRoot(false), "man");
  EXPECT_STREQ(man->deepRoot(true), "old man");
  // The path from the trace to its antecedent's word span.
  deps.get_named_node("E1")->antecedent(man);
  EXPECT_STREQ(deps.get_named_node("E1")->deepRoot(true), "old man");
  EXPECT_EQ(getParent(deps.at_pos(1)), man);
  EXPECT_EQ(getParent(saw), nullptr);  // the top node has a negative pos
  EXPECT_EQ(getMinimalCoveringTree(3, saw), man);
  EXPECT_EQ(getMinimalCoveringTree(2, saw), deps.at_pos(2));
  EXPECT_EQ(getMinimalCoveringTree(6, saw), nullptr);
}

TEST_F(DepTreeTest, ExcludedLexicalModifiersAndLoopingAntecedentsAreSafe) {
  Deps deps;
  deps.read("(:id q (rock ~ N lex-mod) (and ~ C < roll lex-mod) (roll ~ N *))");
  DepTree* roll = deps.at_pos(3);
  deps.at_pos(1)->parent(roll);
  deps.at_pos(1)->rel("lex-mod");
  int left;
  int right;
  roll->getWordSpan(left, right);
  EXPECT_EQ(left, 2);  // "rock" counts, "and" does not
  EXPECT_EQ(right, 0);
  DepTree* a = deps.new_node();
  DepTree* b = deps.new_node();
  a->antecedent(b);
  b->antecedent(a);
  EXPECT_STREQ(a->deepRoot(true), "");
}

TEST_F(DepTreeTest, MajorCategories) {
  struct Case {
    const char* cat;
    const char* major;
  };
  for (const Case& c : {Case{nullptr, ""}, Case{"_x", "N"}, Case{"NN", "N"}, Case{"VB_pass", "VB"},
                        Case{"ADJ", "ADJ"}, Case{"NNS", "NNS"}}) {
    DepTree* n = word(1);
    n->cat(c.cat);
    std::string buffer;
    EXPECT_STREQ(n->major_cat(buffer), c.major) << (c.cat != nullptr ? c.cat : "null");
  }
}

// True for nodes whose relation is "in".
class RelIsIn : public LExp {
 public:
  const char* type_name() const override { return "test-rel-is-in"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<RelIsIn>(*this); }
  void* eval(void* input, int type) override {
    EXPECT_EQ(type, arg_type_id("RSTree*"));
    const char* rel = DepTree::cast(input)->rel();
    return int_to_value(rel != nullptr && std::strcmp(rel, "in") == 0);
  }
};

TEST_F(DepTreeTest, BoundsGrowOverDependentsThatSatisfyTheCondition) {
  DepTree* head = word(4);
  DepTree* in_left = word(2, "in");
  DepTree* deeper = word(1, "in");
  DepTree* out_right = word(7, "out");
  DepTree* under_out = word(8, "in");
  head->ord_insert(in_left);
  in_left->ord_insert(deeper);
  head->ord_insert(out_right);
  out_right->ord_insert(under_out);
  RelIsIn cond;
  int lo = 0;
  int hi = 0;
  head->find_bounds(cond, lo, hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 4);  // "out" and what is below it do not count
}

// ---- Debugging print and life cycle ----

TEST_F(DepTreeTest, TheDebuggingPrintNestsDependents) {
  DepTree* head = word(2);
  head->root("B");
  DepTree* left = word(1);
  DepTree* right = word(3);
  head->ord_insert(left);
  head->ord_insert(right);
  right->ord_insert(node(4, 3, -1));
  std::ostringstream out;
  head->print(out, 0);
  EXPECT_EQ(out.str(),
            "(B pos=2 (2, 2)\n"
            "  --- a pos=1 (1, 1)\n"
            "  (+++ c pos=3 (3, 3) +++ NIL pos=-1 (4, 3)))");
}

TEST_F(DepTreeTest, ClearingTheStructureMakesItReusable) {
  Deps deps(agr());
  deps.read("(:id old (a ~ X *) assertions: ((r)))");
  LBitSet foci;
  foci.set(1);
  deps.setFoci(foci);
  const std::string old_tag = deps.id_tag();
  deps.clear();
  EXPECT_EQ(deps.tree(), nullptr);
  EXPECT_EQ(deps.sentleng(), 0);
  EXPECT_TRUE(deps.assertions().empty());
  EXPECT_TRUE(deps.foci().empty());
  EXPECT_EQ(deps.get_named_node("1"), nullptr);
  EXPECT_NE(deps.id_tag(), old_tag);
  EXPECT_EQ(deps.att_type(), agr());
  // init() puts a node under a new top node.
  deps.add_word("x");
  DepTree* x = deps.new_node();
  x->init(1, nullptr);
  deps.init(x);
  EXPECT_EQ(x->parent(), deps.tree());
  EXPECT_EQ(deps.tree()->pos(), -1);
}

TEST_F(DepTreeTest, AttributeVectorsAreCopiedAndCompleted) {
  AttVec plu(agr());
  plu.set_val(0, 1);  // +plu
  AttVec per(agr());
  per.set_val(1, 3);  // (per 3)
  DepTree* n = word(1);
  n->unify(plu);  // no vector yet: a copy
  ASSERT_NE(n->attvec(), nullptr);
  EXPECT_NE(n->attvec(), &plu);
  n->unify(per);
  std::ostringstream out;
  n->attvec()->print(out, nullptr, 0);
  EXPECT_EQ(out.str(), "(+plu (per 3))");
  n->attvec(nullptr);
  EXPECT_EQ(n->attvec(), nullptr);
}

}  // namespace
}  // namespace lorvan::testing_deps
