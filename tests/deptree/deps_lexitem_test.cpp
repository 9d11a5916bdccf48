// Dependency nodes made from the lexical analyzer's items: span, position,
// word, root, category and vector of a node for an item (or the part of
// its span left to it), the sentence's words and focus positions copied
// from the analyzer, and a structure built from a lattice printing and
// reading back unchanged.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "deptree/deps_test_fixture.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_analyzer_fixture.h"
#include "lexicon/avmeaning.h"

namespace lorvan::testing_deps {
namespace {

using lexantest::feed;
using lexantest::FixtureLexicon;

class DepsLexItemTest : public DepsTest {
 protected:
  static void SetUpTestSuite() {
    lexantest::init_runtime();
    DepsTest::SetUpTestSuite();
    if (Meaning::maker()->prototype("dlav") == nullptr) {
      CmdInterpreter::the_interpreter->interpret("(make-avmeaning-proto dt-agr dlav)");
    }
  }

  DepsLexItemTest() { plain(); }

  // The first meaning of the fixture lexicon's entry `key`.
  const Meaning* meaning(const char* key) {
    LexEntry* e = lexicon_.lexicon().find_in_memory(key);
    return e != nullptr && !e->meanings().empty() ? e->meanings().front().get() : nullptr;
  }

  // The item the lattice holds for words low..high with that root, or null.
  LexItem* lattice_item(int low, int high, const char* root) {
    for (LexAnalyzerIterator it(&analyzer_); !it.finished(); it.next()) {
      LexItem* item = it.current();
      if (item->low() == low && item->high() == high && item->root() != nullptr &&
          std::string(item->root()) == root) {
        return item;
      }
    }
    return nullptr;
  }

  FixtureLexicon lexicon_{{"(the (dlav ()))", "(dog (dlav ((num sg) (per 3))))",
                           "(bark (dlav ((num sg) -plu)))", "(ran (sense run))"},
                          "((p s third) (p \"\"))"};
  LexAnalyzer analyzer_{8};
};

TEST_F(DepsLexItemTest, NodeOfAnItemTakesItsSpanPositionRootAndCategory) {
  feed(analyzer_, "the big dog ran off");
  Deps deps(agr());
  deps.words(analyzer_);
  struct Case {
    const char* label;
    int low, high, head;  // the item
    int lo, hi;           // the words left to the node
    const char* root;     // the item's root
    const char* cate;     // the item's category
    int pos;
    const char* word;     // null: none
    const char* node_root;
    const char* node_cat;
  } cases[] = {
      {"one word: its low is the position", 3, 3, 3, 3, 3, "dog", "N", 3, "dog", "dog", "N"},
      {"no root: the word stands for it", 4, 4, 4, 4, 4, nullptr, "V", 4, "ran", "ran", "V"},
      {"no category prints U", 1, 1, 1, 1, 1, "the", nullptr, 1, "the", "the", "U"},
      {"longer item: its head is the position", 2, 3, 3, 2, 3, "big-dog", "N", 3, "dog",
       "big-dog", "N"},
      {"part of the span left: those words are the root", 3, 5, 4, 4, 5, "dog-ran-off", "V", 4,
       "ran", "ran off", "V"},
      {"nothing left: no root of its own", 2, 3, 3, 3, 2, "big-dog", "N", 3, "dog", "dog", "N"},
      {"empty item: no position, root ~", 3, 2, 3, 3, 2, "x", "NP", -1, nullptr, "~", "NP"},
  };
  for (const Case& c : cases) {
    LexItem* item = analyzer_.make_lexitem(c.root, nullptr, c.low, c.high);
    ASSERT_NE(item, nullptr) << c.label;
    item->head(c.head);
    item->cate(c.cate);
    DepTree* node = deps.lexitem_node(*item, c.lo, c.hi);
    EXPECT_EQ(node->low(), c.lo) << c.label;
    EXPECT_EQ(node->high(), c.hi) << c.label;
    EXPECT_EQ(node->pos(), c.pos) << c.label;
    if (c.word == nullptr) {
      EXPECT_EQ(node->word(), nullptr) << c.label;
    } else {
      EXPECT_STREQ(node->word(), c.word) << c.label;
    }
    EXPECT_STREQ(node->root(), c.node_root) << c.label;
    EXPECT_STREQ(node->cat(), c.node_cat) << c.label;
    EXPECT_EQ(node->rel(), nullptr) << c.label;
    EXPECT_EQ(node->attvec(), nullptr) << c.label << ": an item without meaning";
  }
}

TEST_F(DepsLexItemTest, NodeTakesTheVectorOfAnAttributeVectorMeaningOnly) {
  feed(analyzer_, "dog ran");
  Deps deps(agr());
  deps.words(analyzer_);
  const auto* dog = AVMeaning::castToAVMeaning(meaning("dog"));
  ASSERT_NE(dog, nullptr);
  DepTree* with = deps.lexitem_node(*analyzer_.make_lexitem("dog", dog, 1, 1), 1, 1);
  ASSERT_NE(with->attvec(), nullptr);
  EXPECT_TRUE(*with->attvec() == dog->vec());

  const Meaning* gloss = meaning("ran");
  ASSERT_NE(gloss, nullptr);
  DepTree* without = deps.lexitem_node(*analyzer_.make_lexitem("run", gloss, 2, 2), 2, 2);
  EXPECT_EQ(without->attvec(), nullptr);
}

TEST_F(DepsLexItemTest, WordsSpacesAndFociComeFromTheAnalyzer) {
  analyzer_.focus_marker('*');
  feed(analyzer_, "I am :nogap n't *here");
  Deps deps;
  deps.words(analyzer_);
  deps.setFoci(analyzer_.foci());
  ASSERT_EQ(deps.sentleng(), analyzer_.sentleng());
  EXPECT_STREQ(deps.word(3), "n't");
  EXPECT_STREQ(deps.word(4), "here");
  EXPECT_STREQ(deps.space(2), " ");
  EXPECT_STREQ(deps.space(3), "");
  EXPECT_TRUE(deps.foci().test(4));
  EXPECT_FALSE(deps.foci().test(3));
  deps.attachIsolatedNodes();
  EXPECT_EQ(printed(deps),
            "(:id " + std::string(deps.id_tag()) +
                "\n"
                "1\t(I\t~\tU\t*\tpunc)\n"
                "2\t(am\t~\tU\t*\tpunc) :nogap\n"
                "3\t(n't\t~\tU\t*\tpunc)\n"
                "4\t(here\t~\tU\t*\tpunc)\n"
                ")\n");
}

// A structure built from a lattice as the parser builds one: a node per
// chosen item, each vector from its meaning, dependents inserted in order.
TEST_F(DepsLexItemTest, StructureFromALatticePrintsAndReadsBack) {
  analyzer_.set_lexicon(&lexicon_.lexicon());
  feed(analyzer_, "the dog barks .");
  analyzer_.lexical_search();
  LexItem* the = lattice_item(1, 1, "the");
  LexItem* dog = lattice_item(2, 2, "dog");
  LexItem* barks = lattice_item(3, 3, "bark");
  ASSERT_NE(the, nullptr);
  ASSERT_NE(dog, nullptr);
  ASSERT_NE(barks, nullptr);
  the->cate("DT");
  dog->cate("NN");
  barks->cate("VBZ");

  Deps deps(agr());
  deps.words(analyzer_);
  DepTree* head = deps.lexitem_node(*barks, 3, 3);
  DepTree* subj = deps.lexitem_node(*dog, 2, 2);
  DepTree* det = deps.lexitem_node(*the, 1, 1);
  subj->rel("subj");
  det->rel("det");
  ASSERT_TRUE(subj->ord_insert(det));
  ASSERT_TRUE(head->ord_insert(subj));
  deps.init(head);
  deps.attachIsolatedNodes();

  const LBitSet atts = all_atts();
  const std::string text = printed(deps, &atts);
  EXPECT_EQ(text, "(:id " + std::string(deps.id_tag()) +
                      "\n"
                      "1\t(the\t~\tDT\t2\tdet\t(atts ()))\n"
                      "2\t(dog\t~\tNN\t3\tsubj\t(atts ((per 3) (num sg))))\n"
                      "3\t(barks\tbark\tVBZ\t*\t(atts (-plu (num sg))))\n"
                      "4\t(.\t~\tU\t*\tpunc)\n"
                      ")\n");
  EXPECT_EQ(reprinted(text, agr(), &atts), text);

  StrBufs buffer(256);
  deps.pack(buffer);
  const std::string bytes(buffer.str(), buffer.length());
  const char* cursor = bytes.data();
  Deps unpacked(agr());
  ASSERT_TRUE(unpacked.unpack(cursor, bytes.data() + bytes.size()));
  unpacked.id_tag(deps.id_tag());
  EXPECT_EQ(printed(unpacked, &atts), text);
}

}  // namespace
}  // namespace lorvan::testing_deps
