// The definition commands: parsers, categories, positions, relations,
// attribute sets, roots, and their messages for what is not defined.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "parser/dep_rel.h"
#include "parser/root_cate.h"
#include "parser_fixture.h"

namespace lorvan::parsertest {
namespace {

class DefinitionTest : public ParserTest {
 protected:
  // A parser with the base categories and `grammar`; returns what the
  // definitions printed on the error stream.
  std::string define_err(const std::string& grammar, const std::string& options = "") {
    Captured io;
    define("(def-category Det) (def-category A) (def-category N (visible-atts (cat num)))" +
               grammar,
           options);
    return io.err();
  }
};

TEST_F(DefinitionTest, ParserBecomesCurrentAndIsANamedObject) {
  define("");
  EXPECT_EQ(get_named_obj(name_.c_str(), "VanticParser", 1), parser_);
  EXPECT_TRUE(parser_->usable());
  EXPECT_STREQ(parser_->empty_category()->name(), "EC");
  EXPECT_STREQ(parser_->empty_category_rel()->type(), "ECR");
  EXPECT_EQ(parser_->get_category("EC", 0), nullptr) << "the empty category is not in the table";
}

TEST_F(DefinitionTest, DuplicateParserNameIsRefused) {
  define("");
  Captured io;
  run("(def-vantic-parser " + name_ + " :attribute-vector-type syn :lexical-analyzer LA)");
  EXPECT_EQ(VanticParser::the_parser, parser_);
  EXPECT_NE(io.err().find("Duplicate definition"), std::string::npos);
}

TEST_F(DefinitionTest, EmptyCategoryNamesAreOptions) {
  define("", ":empty-category Gap :empty-category-rel gap");
  EXPECT_STREQ(parser_->empty_category()->name(), "Gap");
  EXPECT_STREQ(parser_->empty_category_rel()->type(), "gap");
}

TEST_F(DefinitionTest, UnknownAttributeNamesInParserListsAreReported) {
  std::string err =
      define_err("", ":lexical-attributes (bogus1) :show-attributes (cat bogus2)");
  EXPECT_NE(err.find("lexical attributes: bogus1 is not an attribute name"), std::string::npos);
  EXPECT_NE(err.find("show attributes: bogus2 is not an attribute name"), std::string::npos);
  ASSERT_NE(parser_->show_attributes(), nullptr);
  EXPECT_TRUE(parser_->show_attributes()->test(builtin_atts().cat));
  Captured io;
  run("(def-vantic-parser " + name_ + "b :attribute-vector-type syn "
      ":default-percolating-attributes (cat bogus3))");
  EXPECT_NE(io.err().find("default percolating attributes: bogus3 is not an attribute name"),
            std::string::npos);
  EXPECT_TRUE(VanticParser::the_parser->default_percolating_atts().test(builtin_atts().cat));
}

TEST_F(DefinitionTest, LexicalAttributesAreNotCopiedIntoItems) {
  define("(load \"np.lsp\")", ":lexical-attributes (num)");
  EXPECT_FALSE(parser_->non_lexical_atts().test(AttInterpreterList::get_att("syn", "num")));
  EXPECT_TRUE(parser_->non_lexical_atts().test(builtin_atts().cat));
  ASSERT_TRUE(parse("dog"));
  PItem* dog = item("N", 1, 1);
  ASSERT_NE(dog, nullptr);
  EXPECT_FALSE(dog->defined(AttInterpreterList::get_att("syn", "num")));
}

TEST_F(DefinitionTest, MissingAttributeTypeGivesAParserThatRefusesToParse) {
  init_runtime();
  Captured io;
  run("(def-vantic-parser NoType :lexical-analyzer LA)");
  VanticParser* p = VanticParser::the_parser;
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->usable());
  EXPECT_NE(io.err().find("no attribute-vector type"), std::string::npos);
  run("(def-category N) (def-modifiers N (:head))");
  p->prepare_to_parse("dog", nullptr);
  EXPECT_FALSE(p->parse());
  EXPECT_EQ(p->new_pitem(), nullptr);
}

TEST_F(DefinitionTest, DistanceFileIsReadOrReported) {
  define("");
  ASSERT_NE(parser_->dist().find("subj"), nullptr);
  std::string err = define_err("", ":dist \"nodist.txt\"");
  EXPECT_NE(err.find("nodist.txt cannot be opened"), std::string::npos);
  EXPECT_EQ(parser_->dist().find("subj"), nullptr);
  EXPECT_FLOAT_EQ(parser_->dist().get_prob("subj", 4), 0.25f);
}

TEST_F(DefinitionTest, BadTriplesCompareWithoutCase) {
  define("", ":bad-triples \"bad.txt\"");
  EXPECT_TRUE(parser_->is_bad_triple("dog\tN:subj:V\tbarks"));
  EXPECT_TRUE(parser_->is_bad_triple("DOG\tn:SUBJ:v\tBarks"));
  EXPECT_FALSE(parser_->is_bad_triple("cat\tN:subj:V\tbarks"));
}

TEST_F(DefinitionTest, CategoryNamesIgnoreCase) {
  define("(def-category NP)");
  EXPECT_EQ(parser_->get_category("np", 0), parser_->get_category("NP", 0));
  EXPECT_NE(parser_->get_category("Np", 0), nullptr);
  EXPECT_EQ(parser_->get_category("VP", 0), nullptr);
}

TEST_F(DefinitionTest, NewCategoryHasOnlyItsHeadPosition) {
  define("(def-category X)");
  GCate* x = cat("X");
  EXPECT_EQ(x->num_positions(), 1);
  EXPECT_EQ(x->head(), 0);
  EXPECT_NE(x->guest_rel(), nullptr);
  EXPECT_STREQ(x->guest_rel()->type(), "guest");
  EXPECT_FLOAT_EQ(x->guest_rel()->weight(), 30.0f);
  EXPECT_EQ(GCate::the_category, nullptr) << "def-category clears the current category";
}

TEST_F(DefinitionTest, PositionFlagsAndRelations) {
  std::string err = define_err(
      "(def-modifiers N (* (Det (dep-type det)) (Foo) (A (dep-type mod) (dep-weight 2) "
      "(max-dist 3))) (? :minimal) (+ :skip-adjunct (A)) (:head))");
  EXPECT_NE(err.find("Node: Foo is not defined\n"), std::string::npos);
  GCate* n = cat("N");
  EXPECT_EQ(n->num_positions(), 4);
  EXPECT_EQ(n->head(), 3);
  EXPECT_TRUE(n->is_repeatable(0));
  EXPECT_FALSE(n->is_necessary(0));
  EXPECT_TRUE(n->modifiers(1).empty()) << "a position of flags only";
  EXPECT_FALSE(n->is_necessary(1));
  EXPECT_TRUE(n->is_minimal(1));
  EXPECT_TRUE(n->is_repeatable(2));
  EXPECT_TRUE(n->is_necessary(2));
  EXPECT_TRUE(n->is_skip_adjunct(2));
  EXPECT_TRUE(n->is_necessary(3));
  ASSERT_EQ(n->modifiers(0).size(), 2u);
  DepRel* det = n->modifiers(0)[0];
  DepRel* mod = n->modifiers(0)[1];
  EXPECT_STREQ(det->type(), "det");
  EXPECT_EQ(det->position(), 0);
  EXPECT_FLOAT_EQ(mod->weight(), 2.0f);
  EXPECT_EQ(mod->max_dist(), 3);
  EXPECT_EQ(mod->no_guest(), 1);
  EXPECT_EQ(n->modifiers(2)[0]->no_guest(), 0) << "skip-adjunct positions allow guests";
  // The relations of A are kept by ascending weight: the weight-2 one last.
  const std::vector<DepRel*>& of_a = cat("A")->modifiee_relations();
  ASSERT_EQ(of_a.size(), 2u);
  EXPECT_EQ(of_a.back(), mod);
  EXPECT_EQ(GCate::the_category, n) << "def-modifiers leaves its category current";
}

TEST_F(DefinitionTest, PercolationOfARelation) {
  define(
      "(def-category Det) (def-category N (visible-atts (cat num)))"
      "(def-modifiers N (* (Det (percolate cat num) (block num))) (:head))"
      "(def-category V (visible-atts (cat num)))"
      "(def-modifiers V (? (N)) (:head))");
  DepRel* det = cat("N")->modifiers(0)[0];
  EXPECT_TRUE(det->percolating_atts().test(builtin_atts().cat));
  EXPECT_FALSE(det->percolating_atts().test(AttInterpreterList::get_att("syn", "num")));
  // Default: the modifier's visible attributes within the default set (num).
  DepRel* subj = cat("V")->modifiers(0)[0];
  EXPECT_TRUE(subj->percolating_atts().test(AttInterpreterList::get_att("syn", "num")));
  EXPECT_FALSE(subj->percolating_atts().test(builtin_atts().cat));
}

TEST_F(DefinitionTest, RedefinedPositionsReplaceTheOldRelations) {
  define_err("(def-modifiers N (* (A)) (:head)) (def-modifiers N (* (Det)) (:head))");
  EXPECT_TRUE(cat("A")->modifiee_relations().empty());
  ASSERT_EQ(cat("Det")->modifiee_relations().size(), 1u);
  EXPECT_EQ(cat("Det")->modifiee_relations()[0], cat("N")->modifiers(0)[0]);
}

TEST_F(DefinitionTest, DefModifiersOfAnUndefinedCategoryDoesNothing) {
  define("(def-modifiers Nothing (:head))");
  EXPECT_EQ(cat("Nothing"), nullptr);
}

TEST_F(DefinitionTest, RelationCommandsOutsideARelationAreIgnored) {
  define("(def-category N) (dep-weight 5) (max-dist 2) (dep-type t) (allow-guest) (check-arg 1)");
  EXPECT_EQ(DepRel::the_deprel, nullptr);
  EXPECT_FLOAT_EQ(cat("N")->guest_rel()->weight(), 30.0f);
}

TEST_F(DefinitionTest, UnknownVisibleAttributeIsReported) {
  std::string err = define_err("(def-category X (visible-atts (cat bogus)))");
  EXPECT_NE(err.find("GCate::get_atts: bogus is not an attribute name\n"), std::string::npos);
  EXPECT_TRUE(cat("X")->visible_atts().test(builtin_atts().cat));
}

TEST_F(DefinitionTest, SubcategoryAndSubclasses) {
  define_err(
      "(def-modifiers N (* (Det)) (:head))"
      "(def-subcat NP2 N (:head) (? (A)))"
      "(def-subclass N (Name (visible-atts (cat))) (Pron))");
  GCate* sub = cat("NP2");
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->is_subcat(), 1);
  EXPECT_EQ(sub->num_positions(), 2);
  EXPECT_EQ(sub->head(), 0);
  EXPECT_TRUE(sub->visible_atts().test(builtin_atts().cat));
  GCate* n = cat("N");
  ASSERT_EQ(n->modifiers(n->head()).size(), 1u);
  EXPECT_STREQ(n->modifiers(n->head())[0]->type(), "subcat");
  EXPECT_EQ(n->modifiers(n->head())[0]->modifier(), sub);
  const std::vector<DepRel*>& complete = n->modifiers(n->num_positions());
  ASSERT_EQ(complete.size(), 2u);
  EXPECT_STREQ(complete[0]->type(), "subclass");
  EXPECT_EQ(complete[0]->subclass(), 1);
  EXPECT_EQ(complete[1]->modifier(), cat("Pron"));
  EXPECT_EQ(GCate::the_category, cat("Pron"));
  EXPECT_EQ(DepRel::the_deprel, complete[1]);
}

TEST_F(DefinitionTest, ConjunctionSetUp) {
  std::string err = define_err(
      "(def-category X (conj-atts (cat) (num)))"
      "(def-conj-constraints X (merged-cond (nil)))"
      "(def-conj-constraints Undefined (merged-cond (nil)))");
  EXPECT_NE(err.find("def-conj-constraints: Undefined is not a defined category"),
            std::string::npos);
  DepRel* conj = cat("X")->conj_rel();
  ASSERT_NE(conj, nullptr);
  EXPECT_STREQ(conj->type(), "conj");
  EXPECT_NE(conj->merged_cond(), nullptr);
  EXPECT_EQ(GCate::the_category, nullptr);
  EXPECT_EQ(DepRel::the_deprel, nullptr);
}

TEST_F(DefinitionTest, RootsSkipUndefinedCategories) {
  std::string err = define_err("(roots (N) (Foo) (A (nil)))");
  EXPECT_NE(err.find("roots: the category Foo is not defined"), std::string::npos);
  ASSERT_EQ(parser_->roots().size(), 2u);
  EXPECT_EQ(parser_->roots()[0].category(), cat("N"));
  EXPECT_EQ(parser_->roots()[0].cond(), nullptr);
  EXPECT_NE(parser_->roots()[1].cond(), nullptr);
}

TEST_F(DefinitionTest, CheckSlashOrsTheValuesOfCheck) {
  define_err("(def-category V) (def-modifiers V (? (N (check-slash wh) (check-slash rel))) (:head))");
  ASSERT_EQ(cat("V")->modifiers(0).size(), 1u);
  const AttVal wh = AttInterpreterList::get_val("syn", "check", "wh");
  const AttVal rel = AttInterpreterList::get_val("syn", "check", "rel");
  EXPECT_EQ(cat("V")->modifiers(0)[0]->check_slash(), static_cast<unsigned>(wh | rel));
}

TEST(DefinitionHelp, CommandsCarryTheirHelpTexts) {
  init_runtime();
  struct Case {
    const char* command;
    const char* help;
  } cases[] = {
      {"def-category", "(def-category CATEGORY COMMAND1 .... COMMANDn) define a category."},
      {"max-dist", "(max-dist dist) the maximum distance between modifier and modifiee."},
      {"roots", "(roots (CATEGORY1 COND1) (CATEGORY2 COND2) ...)"},
      {"allow-guest", "(allow-guest) allow guest items."},
      {"check-slash", "(check-slash att1 att2) att1 and att2 are values of checker attribute"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    CmdInterpreter::the_interpreter->list_entries(out, (std::string(c.command) + "$").c_str());
    EXPECT_NE(out.str().find(c.help), std::string::npos) << c.command << ": " << out.str();
  }
}

}  // namespace
}  // namespace lorvan::parsertest
