// Ending tables: the three kinds of endings, their conditions, the
// definition syntax and the iteration over the endings that match a word.
#include "lexicon/ending_table.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lexp_init.h"
#include "expr/marg_exp.h"
#include "lexical/tokenizer.h"

namespace lorvan {
namespace {

// The roots (known-root) accepts, as a lexicon would, and what it was asked.
const std::set<std::string> kKnownRoots = {"dog", "box", "pony", "stop", "walk"};
std::vector<std::string> asked;

void* known_root(void* input) {
  const char* root = static_cast<const char*>(input);
  asked.emplace_back(root);
  return kKnownRoots.count(root) != 0 ? input : nullptr;
}

void init_expressions() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* interp = new CmdInterpreter(nullptr, '(', ')');
  interp->interactive(0);
  namedobj_init();
  objfact_init();
  lexp_init();
  // Input type "char*": a condition evaluated with another type would
  // complain on std::cerr and reject the root.
  LExp::exp_proto(std::make_unique<ZeroArgExp>("known-root", known_root, "char*", "char*"),
                  nullptr, nullptr);
}

class EndingTableTest : public ::testing::Test {
 protected:
  EndingTableTest()
      : saved_out_(std::cout.rdbuf(out_.rdbuf())), saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    init_expressions();
    asked.clear();
  }
  ~EndingTableTest() override {
    std::cout.rdbuf(saved_out_);
    std::cerr.rdbuf(saved_err_);
  }

  // A table built with init() from the text of a list.
  std::unique_ptr<EndingTable> make_table(const char* text) {
    auto table = std::make_unique<EndingTable>(50);
    std::unique_ptr<IRSlist> defs = make_irslist(text, tokenizer_.get());
    table->init(defs.get());
    return table;
  }

  // Every non-null root the table gives for `word`, in table order.
  static std::vector<std::string> roots(EndingTable& table, const char* word) {
    std::vector<std::string> out;
    for (Ending* e = table.reset(word); e != nullptr; e = table.next()) {
      if (const char* root = e->get_root(table.word())) out.emplace_back(root);
    }
    return out;
  }

  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::ostringstream out_;
  std::ostringstream err_;

 private:
  std::streambuf* saved_out_;
  std::streambuf* saved_err_;
};

using Roots = std::vector<std::string>;

struct EndingCase {
  const char* defs;
  const char* word;
  Roots expected;
};

TEST_F(EndingTableTest, EachKindOfEndingFindsItsRoots) {
  const EndingCase cases[] = {
      // Plain: the suffix must be shorter than the word; the word's end is
      // lowered before it is compared, the root keeps the word's letters.
      {"((p s noun))", "dogs", {"dog"}},
      {"((p s noun))", "DOGS", {"DOG"}},
      {"((p s noun))", "s", {}},
      {"((p s noun))", "dog", {}},
      {"((p ies noun y))", "ponies", {"pony"}},
      {"((plain s noun))", "dogs", {"dog"}},  // only the first character of the type counts
      // Doubled consonant after a vowel, at index 3 or later.
      {"((d ed verb))", "stopped", {"stop"}},
      {"((d ed verb))", "pulled", {"pul"}},
      {"((d ed verb))", "ebbed", {}},    // the double letter stands at index 2
      {"((d ed verb))", "stoped", {}},   // no double letter
      {"((d ed verb))", "agreed", {}},   // ee follows r, not a vowel
      {"((d ed verb x))", "stopped", {"stop"}},  // no replacement is appended
      // es after one of the letters, in words of more than 3 characters.
      {"((e es noun \"\" sxz))", "boxes", {"box"}},
      {"((e es noun \"\" sxz))", "buzzes", {"buzz"}},
      {"((e es noun \"\" sxz))", "goes", {}},
      {"((e es noun \"\" osxz))", "goes", {"go"}},
      {"((e es noun \"\" sxz))", "xes", {}},
      {"((e es noun))", "boxes", {}},  // no letter set: matches nothing
      {"((e ches noun ch h))", "caches", {"cach"}},  // the 3rd last letter, whatever the suffix
      // Several endings give several roots, in table order.
      {"((p s noun) (p es noun) (d ed verb) (p ed verb))", "boxes", {"boxe", "box"}},
      {"((p s noun) (p es noun) (d ed verb) (p ed verb))", "stopped", {"stop", "stopp"}},
  };
  for (const auto& c : cases) {
    auto table = make_table(c.defs);
    EXPECT_EQ(roots(*table, c.word), c.expected) << c.defs << " " << c.word;
  }
  EXPECT_EQ(err_.str(), "");
}

TEST_F(EndingTableTest, DefinitionFieldsAreOptionalFromTheEnd) {
  auto table = make_table("((p s) (p ing verb) (p ies noun y) (e es noun \"\" sx))");
  ASSERT_EQ(table->size(), 4u);
  EXPECT_EQ(table->ending(0).suffix(), "s");
  EXPECT_EQ(table->ending(0).name(), nullptr);
  EXPECT_EQ(table->ending(0).condition(), nullptr);
  EXPECT_STREQ(table->ending(1).name(), "verb");
  EXPECT_EQ(table->ending(1).replacement(), nullptr);
  EXPECT_STREQ(table->ending(2).replacement(), "y");
  EXPECT_STREQ(static_cast<const EndingES&>(table->ending(3)).letters(), "sx");
}

TEST_F(EndingTableTest, UnknownTypesAreReportedAndSkipped) {
  auto table = make_table("((x s noun) (p s noun) (zz ed verb) (\"\" s) ())");
  EXPECT_EQ(err_.str(),
            "Ending type 'x' is not defined.\n"
            "Ending type 'zz' is not defined.\n"
            "Ending type '' is not defined.\n"
            "Ending type '' is not defined.\n");
  ASSERT_EQ(table->size(), 1u);
  EXPECT_EQ(roots(*table, "dogs"), Roots({"dog"}));
}

TEST_F(EndingTableTest, ConditionsCheckTheRootAsText) {
  // The conditions come last but still apply: they are read first.
  auto table = make_table(
      "((p s noun) (p s verb) (p s other)"
      " :conditions (((noun verb) (known-root))))");
  EXPECT_EQ(roots(*table, "dogs"), Roots({"dog", "dog", "dog"}));
  EXPECT_EQ(asked, std::vector<std::string>({"dog", "dog"}));
  // "cat" is rejected by both conditioned endings; "other" has no such
  // condition and accepts it.
  EXPECT_EQ(roots(*table, "cats"), Roots({"cat"}));
  EXPECT_EQ(err_.str(), "");
  // One expression shared by both names.
  EXPECT_NE(table->getCond("noun"), nullptr);
  EXPECT_EQ(table->getCond("noun"), table->getCond("verb"));
  EXPECT_EQ(table->ending(0).condition(), table->getCond("noun"));
  EXPECT_EQ(table->getCond("Noun"), nullptr);  // names compare exactly
  EXPECT_EQ(table->getCond("other"), nullptr);
}

TEST_F(EndingTableTest, ConstantConditionsAcceptOrRejectEveryRoot) {
  auto table = make_table(
      "(:conditions (((yes) (t)) ((no) (nil)) (bad (nil)) ((broken) (no-such-kind)))"
      " (p s yes) (d ed no) (p ed bad) (p ing broken))");
  EXPECT_EQ(roots(*table, "dogs"), Roots({"dog"}));
  EXPECT_EQ(roots(*table, "stopped"), Roots());  // both no and bad reject
  // A condition that does not compile is absent: its ending accepts all.
  EXPECT_EQ(table->getCond("broken"), nullptr);
  EXPECT_EQ(roots(*table, "walking"), Roots({"walk"}));
  EXPECT_NE(err_.str(), "");  // the compile error was reported
}

TEST_F(EndingTableTest, IterationVisitsOnlyMatchingEndings) {
  auto table = make_table("((p ing verb) (p s noun) (p ed verb) (p es noun) (p ses noun))");
  Ending* e = table->reset("dresses");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->suffix(), "s");
  EXPECT_EQ(table->current(), e);
  EXPECT_FALSE(table->finished());
  EXPECT_EQ(table->next()->suffix(), "es");
  EXPECT_EQ(table->next()->suffix(), "ses");
  EXPECT_EQ(table->next(), nullptr);
  EXPECT_TRUE(table->finished());
  EXPECT_EQ(table->current(), nullptr);
  EXPECT_EQ(table->next(), nullptr);

  for (const char* nothing : {static_cast<const char*>(nullptr), "", "xyz"}) {
    EXPECT_EQ(table->reset(nothing), nullptr);
    EXPECT_TRUE(table->finished());
    EXPECT_EQ(table->current(), nullptr);
  }
}

TEST_F(EndingTableTest, RootsOfOneWordStayValidTogether) {
  // Enough endings and a long enough word to outgrow the first buffer block.
  std::string defs = "(";
  for (int i = 1; i <= 40; ++i) defs += "(p " + std::string(i, 'a') + " n) ";
  defs += ")";
  auto table = make_table(defs.c_str());
  const std::string word = "w" + std::string(60, 'a');
  std::vector<const char*> kept;
  for (Ending* e = table->reset(word.c_str()); e != nullptr; e = table->next()) {
    kept.push_back(e->get_root(table->word()));
  }
  ASSERT_EQ(kept.size(), 40u);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(std::string(kept[i]), "w" + std::string(60 - (i + 1), 'a'));
  }
}

TEST_F(EndingTableTest, GetRootNeedsSomethingLeft) {
  auto table = make_table("((p dogs n) (d ed v x))");
  EXPECT_EQ(table->ending(0).get_root("dogs"), nullptr);
  EXPECT_EQ(table->ending(1).get_root("ed"), nullptr);
  EXPECT_EQ(table->ending(1).get_root("xed"), nullptr);  // one letter of a pair must remain
  EXPECT_STREQ(table->ending(1).get_root("xxed"), "x");
}

TEST_F(EndingTableTest, AddTakesDefinitionsOneAtATime) {
  EndingTable table(2);
  std::unique_ptr<IRSlist> defs =
      make_irslist("((p s noun) (d ed verb) (e es noun \"\" x) (p ing verb))", tokenizer_.get());
  for (IRSlist* d = defs->first(); d != nullptr; d = d->next()) table.add(d);
  EXPECT_EQ(table.size(), 4u);  // grows beyond its initial room
  // add() does not read conditions: the keyword is just an unknown type.
  std::unique_ptr<IRSlist> cond = make_irslist("(:conditions)", tokenizer_.get());
  table.add(cond.get());
  EXPECT_EQ(err_.str(), "Ending type ':conditions' is not defined.\n");
  EXPECT_EQ(roots(table, "boxes"), Roots({"boxe", "box"}));
}

TEST_F(EndingTableTest, PrintListsNameSuffixAndLength) {
  auto table = make_table("((p s noun) (d ed verb) (e es plural \"\" sx) (p ing))");
  table->print();
  EXPECT_EQ(out_.str(), "noun s 1\nverb ed 2\nplural es 2\n ing 3\n");
}

}  // namespace
}  // namespace lorvan
