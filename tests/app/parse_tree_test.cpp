#include "parse_tree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/parse_tree_builder.h"
#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "deptree/deps.h"
#include "deptree/trel_init.h"
#include "features/att_interpreter_list.h"
#include "features/features_commands.h"
#include "lbitset.h"
#include "lorvan.h"
#include "parser/vantic_parser.h"

namespace lorvan {
namespace {

struct NodeFields {
  const char* label;
  const char* word;
  const char* root;
  const char* category;
  const char* relation;
  int head_pos;
};

std::unique_ptr<ParseNode> make_node(ParseTree& tree, const NodeFields& fields) {
  auto node = std::make_unique<ParseNode>(&tree);
  node->label(fields.label);
  node->word(fields.word);
  node->root(fields.root);
  node->category(fields.category);
  node->relation(fields.relation);
  node->head_pos(fields.head_pos);
  return node;
}

// "John runs": runs (V) governs John (N) by s, under the top node E0.
ParseNode* john_runs(ParseTree& tree) {
  auto top = make_node(tree, {"E0", "", nullptr, nullptr, nullptr, -1});
  auto runs = make_node(tree, {"2", "runs", "run", "V", nullptr, 1});
  runs->ord_insert(make_node(tree, {"1", "John", "John", "N", "s", 0}));
  top->ord_insert(std::move(runs));
  tree.root(std::move(top));
  return tree.root();
}

std::string listing(const ParseNode* node) {
  std::ostringstream out;
  print_dependency_tree(node, out);
  return out.str();
}

std::string triples(const ParseNode* node) {
  std::ostringstream out;
  print_triples(node, out);
  return out.str();
}

TEST(ParseTreePrinters, NothingForAMissingRoot) {
  ParseTree tree;
  EXPECT_EQ(listing(tree.root()), "");
  EXPECT_EQ(triples(tree.root()), "");
  std::ostringstream bracketed;
  tree.print(bracketed);
  EXPECT_EQ(bracketed.str(), "\n");
}

TEST(ParseTreePrinters, HeadsComeBetweenTheirLeftAndRightDependents) {
  ParseTree tree;
  auto top = make_node(tree, {"E0", "", nullptr, nullptr, nullptr, -1});
  auto saw = make_node(tree, {"2", "saw", "see", "V", nullptr, 1});
  saw->ord_insert(make_node(tree, {"3", "Mary", "Mary", "N", "o", 2}));
  saw->ord_insert(make_node(tree, {"1", "I", "i", "N", "s", 0}));
  top->ord_insert(std::move(saw));
  EXPECT_EQ(listing(top.get()),
            "(\n"
            "1\tI\t~\tN\t2\ts\t(gov see)\n"
            "2\tsaw\tsee\tV\t*\t\n"
            "3\tMary\t~\tN\t2\to\t(gov see)\n"
            ")");
  EXPECT_EQ(triples(top.get()), "see\tV:s:N\ti\nsee\tV:o:N\tMary\n");
}

// One line of the listing for a node under the top node or under a word.
TEST(ParseTreePrinters, NodeLineColumnsAndOptionalFields) {
  struct Case {
    const char* name;
    const char* top_root;  // the top node's root
    bool under_word;       // under the word "saw" (label 2, root see)
    NodeFields node;
    bool with_antecedent;  // the antecedent is labelled 7
    bool with_features;    // (num pl) (per 3)
    const char* line;
  };
  const Case cases[] = {
      {"word equal to its root ignoring case", nullptr, true, {"1", "Dogs", "dogs", "N", "s", 0},
       false, false, "1\tDogs\t~\tN\t2\ts\t(gov see)\n"},
      {"root of its own", nullptr, true, {"1", "Dogs", "dog", "N", "s", 0}, false, false,
       "1\tDogs\tdog\tN\t2\ts\t(gov see)\n"},
      {"no root, no category, no relation", nullptr, true, {"1", "x", nullptr, nullptr, nullptr, 0},
       false, false, "1\tx\t\tU\t2\t\t(gov see)\n"},
      {"no word", nullptr, true, {"E1", nullptr, nullptr, "T", "r", 0}, false, false,
       "E1\t()\t\tT\t2\tr\t(gov see)\n"},
      {"empty word", nullptr, true, {"E1", "", "~", "T", "r", 0}, false, false,
       "E1\t()\t~\tT\t2\tr\t(gov see)\n"},
      {"under the top node", nullptr, false, {"2", "saw", "see", "V", nullptr, 1}, false, false,
       "2\tsaw\tsee\tV\t*\t\n"},
      {"under a top node with a root", "topRoot", false, {"2", "saw", "see", "V", nullptr, 1},
       false, false, "2\tsaw\tsee\tV\t*\t\t(gov topRoot)\n"},
      {"antecedent and features", nullptr, true, {"E1", nullptr, nullptr, "T", "r", 0}, true, true,
       "E1\t()\t\tT\t2\tr\t(gov see)\t(antecedent 7)\t(atts (num pl) (per 3))\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParseTree tree;
    auto top = make_node(tree, {"E0", "", c.top_root, nullptr, nullptr, -1});
    auto antecedent = make_node(tree, {"7", "it", nullptr, nullptr, nullptr, 6});
    auto node = make_node(tree, c.node);
    if (c.with_antecedent) node->antecedent(antecedent.get());
    if (c.with_features) {
      node->add_feature("num", "pl");
      node->add_feature("per", "3");
    }
    ParseNode* printed = node.get();
    if (c.under_word) {
      auto saw = make_node(tree, {"2", "saw", "see", "V", nullptr, 1});
      saw->ord_insert(std::move(node));
      top->ord_insert(std::move(saw));
    } else {
      top->ord_insert(std::move(node));
    }
    std::ostringstream out;
    print_dependency_node(printed, out);
    EXPECT_EQ(out.str(), c.line);
    std::ostringstream top_line;
    print_dependency_node(top.get(), top_line);
    EXPECT_EQ(top_line.str(), "");
  }
}

TEST(ParseTreePrinters, EmptyCategoryTextIsChangeable) {
  ParseTree tree;
  ParseNode top(&tree);
  top.ord_insert(make_node(tree, {"E1", nullptr, nullptr, "T", "r", 0}));
  const char* saved = empty_cat_str;
  empty_cat_str = "EMPTY";
  std::ostringstream out;
  print_dependency_node(top.children()[0].get(), out);
  empty_cat_str = saved;
  EXPECT_EQ(out.str(), "E1\tEMPTY\t\tT\t*\tr\n");
}

TEST(ParseTreePrinters, BracketedWordsThatNeedQuotes) {
  struct Case {
    const char* word;
    const char* printed;
  };
  const Case cases[] = {
      {"plain", "(N plain)"},     {"a b", "(N \"a b\")"}, {"(", "(N \"(\")"},
      {"x)", "(N \"x)\")"},       {"\"", "(N \"\\\"\")"}, {"tab\there", "(N \"tab\there\")"},
  };
  for (const Case& c : cases) {
    ParseTree tree;
    auto leaf = make_node(tree, {"1", c.word, nullptr, "N", nullptr, 0});
    std::ostringstream out;
    leaf->print_root(out);
    EXPECT_EQ(out.str(), c.printed) << c.word;
  }
}

TEST(ParseTreeNodes, OrdInsertKeepsHeadOrderAndEqualPositionsInArrivalOrder) {
  ParseTree tree;
  ParseNode parent(&tree);
  for (auto [label, pos] : {std::pair{"c", 3}, {"a", 1}, {"b", 2}, {"a2", 1}}) {
    parent.ord_insert(make_node(tree, {label, "w", nullptr, nullptr, nullptr, pos}));
  }
  std::string order;
  for (const auto& child : parent.children()) {
    order += std::string(child->label()) + " ";
    EXPECT_EQ(child->parent(), &parent);
  }
  EXPECT_EQ(order, "a a2 b c ");
}

TEST(ParseTreeNodes, StringsAreCopiesHeldByTheTree) {
  ParseTree tree;
  std::string text = "original";
  auto node = std::make_unique<ParseNode>(&tree);
  node->word(text.c_str());
  node->add_feature("att", text.c_str());
  text.assign("changed!");
  EXPECT_STREQ(node->word(), "original");
  EXPECT_STREQ(node->features()[0].value, "original");
  EXPECT_EQ(node->root(), nullptr);
  EXPECT_EQ(node->head_pos(), -1);
  EXPECT_EQ(node->weight(), 0);
  node->add_weight(1.5f);
  node->add_weight(1.0f);
  EXPECT_FLOAT_EQ(node->weight(), 2.5f);
  EXPECT_STREQ(tree.get_str("a", nullptr, "b", "c", "d"), "abcd");
}

TEST(ParseTreeNodes, SettingTheRootHandsBackThePreviousOneAndResetEmpties) {
  ParseTree tree;
  ParseNode* first = john_runs(tree);
  auto previous = tree.root(std::make_unique<ParseNode>(&tree));
  EXPECT_EQ(previous.get(), first);
  EXPECT_NE(tree.root(), first);
  previous.reset();
  tree.reset();
  EXPECT_EQ(tree.root(), nullptr);
  john_runs(tree);  // the tree can be used again
  EXPECT_EQ(triples(tree.root()), "run\tV:s:N\tJohn\n");
}

// ---- Conversion of dependency structures ----

// Dependency structures read from their text form, with the attribute type
// "pt-agr" (+/-plu, (per N), (num sg|pl)) for the ones that carry vectors.
class DepsConversion : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    trel_init();
    attvec_init();
    CmdInterpreter::the_interpreter->interpret(
        "(def-att-list pt-agr (defattribute plu BinAtt) (defattribute per IntAtt)"
        " (defattribute num DisjAtt (allowable-values sg pl)))");
  }

  static const AttInterpreterList* agr() { return AttInterpreterList::get_att_list("pt-agr"); }

  static LBitSet atts(std::initializer_list<const char*> names) {
    LBitSet set;
    for (const char* name : names) set.set(AttInterpreterList::get_att("pt-agr", name));
    return set;
  }

  // Reads `text` into deps_ and makes its conversion the root of tree_.
  ParseNode* convert(const char* text, const LBitSet* shown = nullptr) {
    deps_.read(text);
    tree_.root(deptree2parsenode(deps_.tree(), shown, tree_));
    return tree_.root();
  }

  Deps deps_{agr()};
  ParseTree tree_;
};

TEST_F(DepsConversion, TwoWordSentenceInEveryFormat) {
  ParseNode* top = convert("(:id x 1 (John ~ N 2 s) 2 (runs run V *))");
  EXPECT_STREQ(top->label(), "E0");
  EXPECT_EQ(listing(top), "(\n1\tJohn\t~\tN\t2\ts\t(gov run)\n2\truns\trun\tV\t*\t\n)");
  EXPECT_EQ(triples(top), "run\tV:s:N\tJohn\n");
  std::ostringstream bracketed;
  tree_.print(bracketed);
  EXPECT_EQ(bracketed.str(), "\n( \n  (V runs (root run)\n    (N John (root John) (relation s))))\n");
}

TEST_F(DepsConversion, NodeFieldsAreCopiesThatOutliveTheStructure) {
  convert("(:id x (The ~ DT < dog det) (dog ~ NN *))");
  const ParseNode* dog = tree_.root()->children()[0].get();
  deps_.clear();
  deps_.read("(:id y (zzz ~ Q *))");
  EXPECT_STREQ(dog->word(), "dog");
  EXPECT_STREQ(dog->category(), "NN");
  EXPECT_EQ(dog->relation(), nullptr);  // none in the text
  EXPECT_EQ(dog->head_pos(), 2);
  EXPECT_EQ(dog->low(), 2);
  const ParseNode* the = dog->children()[0].get();
  EXPECT_STREQ(the->root(), "The");
  EXPECT_STREQ(the->relation(), "det");
  EXPECT_EQ(the->parent(), dog);
}

TEST_F(DepsConversion, EmptyNodesAntecedentsAndTheTopRoot) {
  // E1 is a trace under b whose antecedent is c; the listing gives its
  // line in the place of its span and names the antecedent by label.
  ParseNode* top = convert(
      "(:id p 1 (a ~ X 3 r0) E1 (() ~ T 3 r1 (ante 2)) 2 (c ~ Y 3 r2) 3 (b ~ Z *))");
  EXPECT_EQ(listing(top),
            "(\n"
            "1\ta\t~\tX\t3\tr0\t(gov b)\n"
            "E1\t()\t~\tT\t3\tr1\t(gov b)\t(antecedent 2)\n"
            "2\tc\t~\tY\t3\tr2\t(gov b)\n"
            "3\tb\t~\tZ\t*\t\n"
            ")");
  EXPECT_EQ(triples(top), "b\tZ:r0:X\ta\nb\tZ:r1:T\t~\nb\tZ:r2:Y\tc\n");
}

// A node without a position sorts by the lowest position down its
// first-child chain when that comes before its low, else by its low.
TEST_F(DepsConversion, HeadPositionOfNodesWithoutAWord) {
  constexpr int kNone = -9;
  struct Case {
    int low;
    int middle_low;  // kNone: no empty node between the node and its child
    int child_pos;   // 0: no child
    int head_pos;
  };
  const Case cases[] = {
      {-1, kNone, 2, 2}, {3, kNone, 2, 2}, {1, kNone, 2, 1}, {3, kNone, 0, 3},
      {-1, kNone, 0, -1},
      // Down a chain of two empty nodes.
      {3, -1, 2, 2}, {3, 1, 2, 1}, {-1, 0, 2, -1}, {2, kNone, 3, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "low " << c.low << " middle " << c.middle_low << " child "
                                      << c.child_pos);
    Deps deps;
    for (const char* w : {"x", "y", "z"}) deps.add_word(w);
    DepTree* empty = deps.new_node();
    empty->low(c.low);
    DepTree* bottom = empty;
    if (c.middle_low != kNone) {
      bottom = deps.new_node();
      bottom->low(c.middle_low);
      empty->ord_insert(bottom);
    }
    if (c.child_pos > 0) {
      DepTree* child = deps.new_node();
      child->init(c.child_pos, "r");
      bottom->ord_insert(child);
    }
    deps.init(empty);
    ParseTree tree;
    auto top = deptree2parsenode(deps.tree(), nullptr, tree);
    const ParseNode* converted = top->children()[0].get();
    EXPECT_EQ(converted->head_pos(), c.head_pos);
    EXPECT_STREQ(converted->word(), "");  // no word outside the sentence
    EXPECT_STREQ(converted->label(), "E1");
  }
}

TEST_F(DepsConversion, ShownAttributesBecomeFeaturesInIndexOrder) {
  const char* text = "(:id v 1 (dogs dog NNS * (atts (+plu (per 3) (num pl)))) 2 (bark ~ V > dogs))";
  struct Case {
    const char* name;
    LBitSet shown;
    bool select;
    const char* dogs_line;
  };
  const Case cases[] = {
      {"none selected", {}, false, "1\tdogs\tdog\tNNS\t*\t\n"},
      {"empty selection", {}, true, "1\tdogs\tdog\tNNS\t*\t\n"},
      {"in index order", atts({"num", "per"}), true,
       "1\tdogs\tdog\tNNS\t*\t\t(atts (per 3) (num pl))\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tree_.reset();
    ParseNode* top = convert(text, c.select ? &c.shown : nullptr);
    std::ostringstream line;
    print_dependency_node(top->children()[0].get(), line);
    EXPECT_EQ(line.str(), c.dogs_line);
    // The node without a vector shows nothing.
    ASSERT_EQ(top->children()[0]->children().size(), 1u);
    EXPECT_TRUE(top->children()[0]->children()[0]->features().empty());
  }
}

TEST_F(DepsConversion, NullTreeConvertsToNothing) {
  EXPECT_EQ(deptree2parsenode(nullptr, nullptr, tree_), nullptr);
}

TEST(ParseTreeParsing, WithoutAParserTheTreeIsLeftAsItIs) {
  ParseTree tree;
  parse("John runs", tree);
  EXPECT_EQ(tree.root(), nullptr);
  ParseNode* kept = john_runs(tree);
  const char* words[] = {"John", "runs", nullptr};
  parse(words, tree);
  EXPECT_EQ(tree.root(), kept);
}

// Starts up once with the grammar of tests/data/app (N and V; subjects s,
// objects o) and returns its parser.
VanticParser& grammar() {
  static bool started = false;
  if (!started) initialize_lorvan(LORVAN_APP_TEST_DATA);
  started = true;
  return *VanticParser::the_parser;
}

TEST(ParseTreeParsing, TreesKeepTheirStringsAcrossLaterParses) {
  grammar();
  ParseTree first;
  parse("John sees Mary", first);
  const std::string listed = listing(first.root());
  EXPECT_EQ(triples(first.root()), "sees\tV:s:N\tJohn\nsees\tV:o:N\tMary\n");

  ParseTree second;
  const char* words[] = {"Mary", "runs", nullptr};
  parse(words, second);
  EXPECT_EQ(triples(second.root()), "runs\tV:s:N\tMary\n");
  EXPECT_EQ(listing(first.root()), listed);

  char names[] = "num\tnosuch  num";
  extract_features(names);
  second.reset();
  parse("John runs", second);
  ASSERT_NE(second.root(), nullptr);
  const ParseNode* runs = second.root()->children()[0].get();
  ASSERT_EQ(runs->features().size(), 1u);
  EXPECT_STREQ(runs->features()[0].name, "num");
  EXPECT_STREQ(runs->features()[0].value, "sg");
}

TEST(ParseTreeParsing, AFailedParseShowsNothingOfTheSentenceBefore) {
  VanticParser& parser = grammar();
  ParseTree tree;
  parse("John sees Mary", tree);
  ASSERT_NE(tree.root(), nullptr);
  // More words than the item pool may hold: seeding runs out of items.
  const int saved = VanticParser::MAX_PITEMS;
  VanticParser::MAX_PITEMS = parser.pool_size();
  std::vector<const char*> words(parser.pool_size() + 1, "John");
  words.push_back(nullptr);
  tree.reset();
  parse(words.data(), tree);
  VanticParser::MAX_PITEMS = saved;
  EXPECT_EQ(tree.root(), nullptr);
  tree.reset();
  parse("John runs", tree);
  EXPECT_EQ(triples(tree.root()), "runs\tV:s:N\tJohn\n");
}

}  // namespace
}  // namespace lorvan
