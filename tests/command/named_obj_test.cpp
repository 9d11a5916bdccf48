#include "command/named_obj.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "lexical/tokenizer.h"

namespace lorvan {
namespace {

std::vector<int> deleted;
void log_deletion(void* object) { deleted.push_back(*static_cast<int*>(object)); }

int macros_destroyed = 0;
class CountedMacro : public Macro {
 public:
  ~CountedMacro() override { ++macros_destroyed; }
  const char* instantiate(const char*, IRSlist*) override { return ""; }
};

// Every test starts with only "STD", current, and the standard error stream
// captured.  The interpreter is made once, as in the program.
class NamedObjTest : public ::testing::Test {
 protected:
  NamedObjTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    fresh_name_spaces();
    deleted.clear();
    macros_destroyed = 0;
  }
  ~NamedObjTest() override {
    fresh_name_spaces();
    std::cerr.rdbuf(saved_err_);
  }

  static void fresh_name_spaces() {
    SKIP_DELETING_NAME_SPACE = 1;
    delete_all_name_spaces();
    set_current_name_space("STD");
  }
  static void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }

  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

  int a = 1, b = 2, c = 3;

 private:
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

TEST_F(NamedObjTest, TypeIsMatchedAnywhereInsideTheStoredTypeString) {
  register_named_obj("tok", &a, "Tokenizer/TokenizerBase");
  struct Case {
    const char* type;
    void* found;
    const char* message;
  };
  const Case cases[] = {
      {"TokenizerBase", &a, ""},
      {"Tokenizer", &a, ""},
      {"izer/Tok", &a, ""},
      {"Lexicon", nullptr,
       "The named object 'tok' is of the type 'Tokenizer/TokenizerBase', not the expected type "
       "'Lexicon'.\n"},
      {"tokenizer", nullptr,
       "The named object 'tok' is of the type 'Tokenizer/TokenizerBase', not the expected type "
       "'tokenizer'.\n"},
      {nullptr, nullptr, "The named object 'tok' (type=) is not found\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(get_named_obj("tok", c.type, 1), c.found) << (c.type ? c.type : "null");
    EXPECT_EQ(err(), c.message) << (c.type ? c.type : "null");
  }
}

TEST_F(NamedObjTest, NamesIgnoreCaseAndTheFirstRegistrationStays) {
  NamedObjEntry* first = register_named_obj("Foo", &a, "Lexicon");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(get_named_obj("FOO", "Lexicon", 1), &a);
  EXPECT_EQ(register_named_obj("fOO", &b, "Lexicon"), first);
  EXPECT_EQ(err(), "Duplicate definition of fOO\n");
  EXPECT_EQ(get_named_obj("foo", "Lexicon", 1), &a);
  EXPECT_STREQ(get_name(&a), "Foo");
  EXPECT_EQ(get_name(&b), nullptr);
}

TEST_F(NamedObjTest, MissingObjectsAreReportedOnlyWhenAsked) {
  EXPECT_EQ(get_named_obj("absent", "Lexicon", 0), nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(get_named_obj("absent", "Lexicon", 1), nullptr);
  EXPECT_EQ(err(), "The named object 'absent' (type=Lexicon) is not found\n");
}

TEST_F(NamedObjTest, EveryNameSpaceOffersTheComparisonFunctions) {
  set_current_name_space("Fresh");
  auto* cmp = reinterpret_cast<int (*)(const char*, const char*)>(
      get_named_obj("strcasecmp", "function", 1));
  ASSERT_NE(cmp, nullptr);
  EXPECT_EQ(cmp("Apple", "apple"), 0);
  auto* exact = reinterpret_cast<int (*)(const char*, const char*)>(
      get_named_obj("STD::strcmp", "function", 1));
  ASSERT_NE(exact, nullptr);
  EXPECT_NE(exact("Apple", "apple"), 0);
  EXPECT_NE(get_named_obj("str_to_upper_cmp", "function", 1), nullptr);
  EXPECT_EQ(err(), "");
}

TEST_F(NamedObjTest, PrefixSelectsTheNameSpace) {
  register_named_obj("std-obj", &c, "Lexicon");
  run("(set-current-name-space \"Other\")");
  EXPECT_EQ(get_named_obj("std-obj", "Lexicon", 0), nullptr);
  EXPECT_EQ(get_named_obj("STD::std-obj", "Lexicon", 1), &c);
  register_named_obj("foo", &a, "Lexicon");
  run("(set-current-name-space)");  // back to STD
  EXPECT_STREQ(NameSpace::theCurrentNameSpace->name(), "STD");
  register_named_obj("OTHER::bar", &b, "Lexicon");
  EXPECT_EQ(err(), "");

  EXPECT_EQ(get_named_obj("foo", "Lexicon", 0), nullptr);
  EXPECT_EQ(get_named_obj("other::foo", "Lexicon", 1), &a);
  EXPECT_EQ(get_named_obj("Other::bar", "Lexicon", 1), &b);
  EXPECT_EQ(get_named_obj("bar", "Lexicon", 0), nullptr);

  run("(set-current-name-space \"other\")");  // an existing one, any case
  EXPECT_EQ(NameSpace::NameSpaces.size(), 2u);
  EXPECT_EQ(get_named_obj("foo", "Lexicon", 1), &a);
  EXPECT_EQ(err(), "");
}

TEST_F(NamedObjTest, UnknownPrefixIsReportedWithTheWholeName) {
  EXPECT_EQ(register_named_obj("Nope::foo", &a, "Lexicon"), nullptr);
  EXPECT_EQ(err(), "The NameSpace Nope::foo is not defined.\n");
  EXPECT_EQ(get_named_obj("Nope::foo", "Lexicon", 1), nullptr);
  EXPECT_EQ(err(),
            "The NameSpace Nope::foo is not defined.\n"
            "The named object 'Nope::foo' (type=Lexicon) is not found\n");
  EXPECT_EQ(get_named_obj("foo", "Lexicon", 0), nullptr);
}

TEST_F(NamedObjTest, DeletingDestroysInReverseOrderOnlyWhenNotSkipping) {
  register_named_obj("a", &a, "int", log_deletion);
  register_named_obj("b", &b, "int");  // not owned
  register_named_obj("c", &c, "int", log_deletion);
  defmacro("m", new CountedMacro);
  run("(delete-name-space STD)");
  EXPECT_TRUE(deleted.empty());
  EXPECT_EQ(macros_destroyed, 0);
  EXPECT_TRUE(NameSpace::NameSpaces.empty());
  EXPECT_EQ(NameSpace::theCurrentNameSpace, nullptr);

  set_current_name_space("STD");
  register_named_obj("a", &a, "int", log_deletion);
  register_named_obj("b", &b, "int");
  register_named_obj("c", &c, "int", log_deletion);
  defmacro("m", new CountedMacro);
  run("(skip-deleting-name-space 0)(delete-name-space)");
  EXPECT_EQ(deleted, (std::vector<int>{3, 1}));
  EXPECT_EQ(macros_destroyed, 1);

  // With no name space left nothing can be registered or found.
  EXPECT_EQ(register_named_obj("d", &a, "int"), nullptr);
  EXPECT_EQ(get_named_obj("a", "int", 0), nullptr);
}

TEST_F(NamedObjTest, ReEnterDestroysTheOldObjectAndKeepsItsPlace) {
  int a2 = 10;
  NameSpace* ns = NameSpace::theCurrentNameSpace;
  ns->enter("a", &a, "int", log_deletion);
  ns->enter("b", &b, "int", log_deletion);
  ns->re_enter("A", &a2, "int/number", log_deletion);
  EXPECT_EQ(deleted, std::vector<int>{1});
  EXPECT_EQ(get_named_obj("a", "number", 1), &a2);
  ns->re_enter("b", &b, "int", log_deletion);  // the same object again
  EXPECT_EQ(deleted, std::vector<int>{1});
  ns->re_enter("new", &c, "int", nullptr);
  EXPECT_EQ(get_named_obj("new", "int", 1), &c);
  EXPECT_EQ(err(), "");

  deleted.clear();
  SKIP_DELETING_NAME_SPACE = 0;
  delete_all_name_spaces();
  EXPECT_EQ(deleted, (std::vector<int>{2, 10}));
}

TEST_F(NamedObjTest, DuplicateMacroKeepsTheFirst) {
  defmacro("m", new CountedMacro);
  defmacro("M", new CountedMacro);
  EXPECT_EQ(err(), "Duplicate definition of M\n");
  EXPECT_EQ(macros_destroyed, 1);  // the rejected one
  EXPECT_NE(getmacro("m", nullptr), nullptr);
  EXPECT_EQ(getmacro("other", nullptr), nullptr);
  EXPECT_EQ(getmacro(nullptr, nullptr), nullptr);
}

TEST_F(NamedObjTest, ObjectByKeywordArgument) {
  register_named_obj("lex", &a, "Lexicon");
  auto t = make_command_tokenizer();
  auto args = make_irslist("(x :LEXICON lex :other missing)", t.get());
  EXPECT_EQ(get_object_by_name_func(args.get(), ":lexicon", "Lexicon"), &a);
  EXPECT_EQ(get_object_by_name_func(args.get(), ":absent", "Lexicon"), nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(get_object_by_name_func(args.get(), ":other", "Lexicon"), nullptr);
  EXPECT_EQ(err(), "The named object 'missing' (type=Lexicon) is not found\n");
}

TEST_F(NamedObjTest, GetNameSearchesNameSpacesInListOrder) {
  register_named_obj("in-std", &a, "int");
  set_current_name_space("Newer");
  register_named_obj("in-newer", &a, "int");
  EXPECT_STREQ(get_name(&a), "in-newer");
}

}  // namespace
}  // namespace lorvan
