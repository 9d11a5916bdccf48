#include "command/obj_factory.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"

namespace lorvan {
namespace {

// Prototypes are heap strings; the log records what the deleter destroyed.
std::vector<std::string> destroyed;

void* duplicate_string(void* proto) {
  return new std::string(proto != nullptr ? *static_cast<std::string*>(proto) + " copy"
                                          : "from nothing");
}
void delete_string(void* object) {
  auto* s = static_cast<std::string*>(object);
  destroyed.push_back(*s);
  delete s;
}
std::string take(void* object) {
  std::unique_ptr<std::string> s(static_cast<std::string*>(object));
  return s ? *s : "null";
}

class ObjFactoryTest : public ::testing::Test {
 protected:
  ObjFactoryTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) { destroyed.clear(); }
  ~ObjFactoryTest() override { std::cerr.rdbuf(saved_err_); }

  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

 private:
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

TEST_F(ObjFactoryTest, MakerDuplicatesItsPrototypes) {
  ObjMaker maker(duplicate_string, delete_string, 11);
  maker.enter("word", new std::string("w"), "a word");
  EXPECT_EQ(take(maker.make("WORD")), "w copy");
  EXPECT_EQ(take(maker.make("nothing")), "from nothing");
  EXPECT_EQ(err(), "ObjMaker::make: the prototype for nothing is not found\n");

  ObjMaker no_duplicate(nullptr, delete_string, 11);
  no_duplicate.enter("x", new std::string("x"), nullptr);
  EXPECT_EQ(no_duplicate.make("x"), nullptr);
  EXPECT_EQ(err(), "ObjMaker::make: don't how to duplicate x\n");
}

TEST_F(ObjFactoryTest, DuplicatePrototypeNameKeepsTheFirstAndDestroysTheSecond) {
  ObjMaker maker(duplicate_string, delete_string, 11);
  maker.enter("p", new std::string("first"), nullptr);
  maker.enter("P", new std::string("second"), nullptr);
  EXPECT_EQ(err(), "Duplicate definition of P\n");
  EXPECT_EQ(destroyed, std::vector<std::string>{"second"});
  EXPECT_EQ(*static_cast<std::string*>(maker.prototype("p")), "first");
}

TEST_F(ObjFactoryTest, RemovingNonConstEntriesForgetsOnlyRemovablePrototypes) {
  ObjMaker maker(duplicate_string, delete_string, 11);
  auto* permanent = new std::string("permanent");
  maker.table().enter("permanent", permanent, nullptr);
  maker.enter("a", new std::string("a"), nullptr);
  maker.enter("b", new std::string("b"), nullptr);
  maker.removeNonConstEntries();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(maker.prototype("a"), nullptr);
  EXPECT_EQ(maker.prototype("b"), nullptr);
  EXPECT_EQ(maker.prototype("permanent"), permanent);

  // Entered again after clearRemovable(), a prototype is permanent too.
  maker.enter("a", new std::string("a2"), nullptr);
  maker.clearRemovable();
  maker.removeNonConstEntries();
  EXPECT_NE(maker.prototype("a"), nullptr);

  destroyed.clear();
  {
    ObjMaker without_deleter(duplicate_string, nullptr, 11);
    std::string kept("kept");
    without_deleter.enter("k", &kept, nullptr);
    without_deleter.removeNonConstEntries();
    EXPECT_EQ(without_deleter.prototype("k"), &kept);
  }
  EXPECT_TRUE(destroyed.empty());
}

TEST_F(ObjFactoryTest, MakerDestroysEveryPrototypeOnce) {
  {
    ObjMaker maker(duplicate_string, delete_string, 11);
    auto* shared = new std::string("shared");
    maker.enter("one", shared, nullptr);
    maker.table().enter("alias", shared, nullptr);
    maker.enter("other", new std::string("other"), nullptr);
  }
  EXPECT_EQ(destroyed, (std::vector<std::string>{"shared", "other"}));
}

TEST_F(ObjFactoryTest, FactoryReportsMissingMakersAndPrototypes) {
  ObjFactory factory(11);
  factory.enter("Word", new ObjMaker(duplicate_string, delete_string, 11), "Words");
  factory.proto("word", "w", new std::string("w"), "doc");
  EXPECT_EQ(*static_cast<std::string*>(factory.get_proto("WORD", "W")), "w");
  EXPECT_EQ(take(factory.make("Word", "w")), "w copy");
  EXPECT_EQ(err(), "");

  std::string lost("lost");  // without a maker the prototype stays with the caller
  factory.proto("Nope", "x", &lost, nullptr);
  EXPECT_EQ(err(), "ObjFactory::proto no maker for 'Nope'\n");
  EXPECT_EQ(factory.get_proto("Nope", "w"), nullptr);
  EXPECT_EQ(err(), "Object Factory does not have a maker for Nope\n");
  EXPECT_EQ(factory.get_proto("Word", "absent"), nullptr);
  EXPECT_EQ(err(), "No prototype for absent exists in the Object Factory\n");
  EXPECT_EQ(factory.make("Nope", "w"), nullptr);
  EXPECT_EQ(err(), "ObjFactory::maker no maker for 'Nope'\n");
}

TEST_F(ObjFactoryTest, ListObjectsFiltersClassesAndObjectsByAnchoredPatterns) {
  ObjFactory factory(11);
  factory.enter("Meaning", new ObjMaker(duplicate_string, delete_string, 11), "meanings");
  factory.enter("LExp", new ObjMaker(duplicate_string, delete_string, 11), "expressions");
  factory.proto("Meaning", "plain", new std::string("p"), "a plain meaning");
  factory.proto("LExp", "prog", new std::string("g"), "(prog ...)");
  factory.proto("LExp", "and", new std::string("a"), nullptr);

  struct Case {
    const char* objects;
    const char* classes;
    const char* listing;
  };
  const Case cases[] = {
      {nullptr, nullptr,
       "and\nNo documentation provided\n\nprog\n(prog ...)\n\nplain\na plain meaning\n\n"},
      {nullptr, "M", "plain\na plain meaning\n\n"},
      {"p", nullptr, "prog\n(prog ...)\n\nplain\na plain meaning\n\n"},
      {"p", "LE", "prog\n(prog ...)\n\n"},
      {nullptr, "eaning", ""},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    factory.list_objects(out, c.objects, c.classes);
    EXPECT_EQ(out.str(), c.listing) << (c.objects ? c.objects : "-") << " "
                                    << (c.classes ? c.classes : "-");
  }
}

TEST_F(ObjFactoryTest, RemovingAndClearingReachEveryMaker) {
  ObjFactory factory(11);
  factory.enter("A", new ObjMaker(duplicate_string, delete_string, 11), nullptr);
  factory.enter("B", new ObjMaker(duplicate_string, delete_string, 11), nullptr);
  factory.proto("A", "kept", new std::string("kept"), nullptr);
  factory.clearObjects();
  factory.proto("A", "a", new std::string("a"), nullptr);
  factory.proto("B", "b", new std::string("b"), nullptr);
  factory.removeNonConstEntries();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b"}));
  EXPECT_NE(factory.get_proto("A", "kept"), nullptr);
}

TEST_F(ObjFactoryTest, ClassesAndObjectsCommandsListTheFactory) {
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.interactive(0);
  objfact_init();
  objfact_init();  // runs once: no duplicate messages
  EXPECT_EQ(err(), "");
  ObjFactory::the_factory.enter("ZzTestClass", new ObjMaker(duplicate_string, delete_string, 11),
                                "a class for this test");
  ObjFactory::the_factory.proto("ZzTestClass", "zz-proto", new std::string("z"), "its doc");

  std::ostringstream out;
  std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
  interp.interpret("(classes \"ZzT\")(objects \"zz\" \"ZzTest\")(objects \"x\" \"ZzTest\")");
  std::cout.rdbuf(saved);
  EXPECT_EQ(out.str(),
            "ZzTestClass\na class for this test\n\n"
            "zz-proto\nits doc\n\n");

  // Deleting the name spaces forgets what was entered through proto().
  delete_all_name_spaces();
  EXPECT_EQ(ObjFactory::the_factory.val("ZzTestClass")->prototype("zz-proto"), nullptr);
  EXPECT_EQ(destroyed, std::vector<std::string>{"z"});
}

}  // namespace
}  // namespace lorvan
