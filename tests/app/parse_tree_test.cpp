#include "parse_tree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

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

TEST(ParseTreePrinters, TwoWordSentenceInEveryFormat) {
  ParseTree tree;
  ParseNode* top = john_runs(tree);
  EXPECT_EQ(listing(top), "(\n1\tJohn\t~\tN\t2\ts\t(gov run)\n2\truns\trun\tV\t*\t\n)");
  EXPECT_EQ(triples(top), "run\tV:s:N\tJohn\n");
  std::ostringstream bracketed;
  tree.print(bracketed);
  EXPECT_EQ(bracketed.str(), "\n( \n  (V runs (root run)\n    (N John (root John) (relation s))))\n");
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

TEST(ParseTreePrinters, NodeLineColumnsAndOptionalFields) {
  ParseTree tree;
  auto top = make_node(tree, {"E0", "", "topRoot", nullptr, nullptr, -1});
  auto trace = make_node(tree, {"3", nullptr, nullptr, nullptr, "x", 2});
  auto word = make_node(tree, {"1", "Dogs", "dog", "N", "s", 0});
  word->add_feature("num", "pl");
  word->add_feature("per", "3");
  trace->antecedent(word.get());
  top->ord_insert(std::move(word));
  top->ord_insert(std::move(trace));

  const ParseNode* dogs = top->children()[0].get();
  const ParseNode* empty = top->children()[1].get();
  auto line = [](const ParseNode* n) {
    std::ostringstream out;
    print_dependency_node(n, out);
    return out.str();
  };
  // A top node with a root gives its dependents a gov field; "*" stays.
  EXPECT_EQ(line(dogs), "1\tDogs\tdog\tN\t*\ts\t(gov topRoot)\t(atts (num pl) (per 3))\n");
  EXPECT_EQ(line(empty), "3\t()\t\tU\t*\tx\t(gov topRoot)\t(antecedent 1)\n");
  EXPECT_EQ(line(top.get()), "");

  const char* saved = empty_cat_str;
  empty_cat_str = "EMPTY";
  EXPECT_EQ(line(empty), "3\tEMPTY\t\tU\t*\tx\t(gov topRoot)\t(antecedent 1)\n");
  empty_cat_str = saved;
  EXPECT_EQ(triples(top.get()), "");  // the top node has no category
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

TEST(ParseTreeParsing, WithoutAParserTheTreeIsLeftAsItIs) {
  ParseTree tree;
  parse("John runs", tree);
  EXPECT_EQ(tree.root(), nullptr);
  ParseNode* kept = john_runs(tree);
  const char* words[] = {"John", "runs", nullptr};
  parse(words, tree);
  EXPECT_EQ(tree.root(), kept);
}

}  // namespace
}  // namespace lorvan
