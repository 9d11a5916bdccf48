// Attribute descriptions: the base behaviours and messages every kind
// inherits, the kind prototypes, the storage bases, BinAtt, and the
// attribute list of a type.
#include "features/att_interpreter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "byte_reader.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "features/binatt.h"
#include "features/features_commands.h"
#include "strbufs.h"

namespace lorvan {
namespace {

using ::testing::HasSubstr;

// Kinds that add nothing to their storage base, so the base behaviours
// show.
class PlainWord : public LongVAtt {
 public:
  const char* type_name() const override { return "PlainWord"; }
  AttInterpreter* new_interp() const override { return new PlainWord; }
};

class PlainByte : public CharAtt {
 public:
  const char* type_name() const override { return "PlainByte"; }
  AttInterpreter* new_interp() const override { return new PlainByte; }
};

class PlainComplex : public ComplexAtt {
 public:
  const char* type_name() const override { return "PlainComplex"; }
  AttInterpreter* new_interp() const override { return new PlainComplex; }
};

class AttInterpreterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    attvec_init();
    static const PlainWord word;
    static const PlainByte byte;
    static const PlainComplex complex;
    AttInterpreter::attitp_proto(&word);
    AttInterpreter::attitp_proto(&byte);
    AttInterpreter::attitp_proto(&complex);
  }

  AttInterpreterTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~AttInterpreterTest() override { std::cerr.rdbuf(saved_err_); }

  static void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }
  IRSlist* parse(const char* text) {
    node_ = make_irslist(text, tokenizer_.get());
    return node_.get();
  }
  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

 private:
  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::unique_ptr<IRSlist> node_;
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

// ---------------------------------------------------------------- base

TEST_F(AttInterpreterTest, BaseOperationsReportWhatTheKindDoesNotProvide) {
  std::unique_ptr<AttInterpreter> att(AttInterpreter::get_attitp("PlainWord"));
  ASSERT_NE(att, nullptr);
  att->name("w");
  EXPECT_EQ(att->name2val("x"), 0u);
  EXPECT_EQ(err(), "Oops! The attribute 'w' cannot have 'x' as value\n");
  EXPECT_EQ(att->str_val(5), nullptr);
  EXPECT_EQ(err(), "invalid AttType for AttVec::str_val\n");
  EXPECT_EQ(att->get_val("x"), static_cast<AttVal>(-1));
  EXPECT_EQ(err(), "AttInterpreter::get_val(const char* value) should not be called by PlainWord\n");
  EXPECT_EQ(att->make_val(parse("(a b)")), 0u);
  EXPECT_EQ(err(), "AttInterpreter w doesn't know how to make value: a b\n");
  // A value text beginning with '~' is the explicit no-value.
  EXPECT_EQ(att->make_val(parse("~w")), 0u);
  EXPECT_EQ(att->make_val(parse("(~)")), 0u);
  EXPECT_EQ(err(), "");
  att->init(parse("((colour red))"));
  EXPECT_EQ(err(), "Unrecognized facet description for attribute w (colour red)\n");
  att->init(parse("()"));
  att->init(nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(att->cmp_vals(3, 3), 0);
  EXPECT_EQ(att->cmp_vals(3, 4), 2);
}

TEST_F(AttInterpreterTest, NamesAreCopiedAndANullNameIsRefused) {
  std::unique_ptr<AttInterpreter> att(AttInterpreter::get_attitp("PlainByte"));
  EXPECT_STREQ(att->name(), "");
  EXPECT_EQ(att->index(), -1);
  EXPECT_EQ(att->storage_position(), -1);
  EXPECT_EQ(att->owner(), nullptr);
  std::string text = "first";
  att->name(text.c_str());
  text = "changed";
  EXPECT_STREQ(att->name(), "first");
  att->name(nullptr);
  EXPECT_STREQ(att->name(), "first");
  EXPECT_EQ(err(), "AttInterpreter::name(<name>): <name> must not be nil.\n");
}

TEST_F(AttInterpreterTest, PrototypesAreFoundByKindNameIgnoringCase) {
  EXPECT_NE(AttInterpreter::get_attitp_proto("BinAtt"), nullptr);
  EXPECT_STREQ(AttInterpreter::get_attitp_proto("binatt")->type_name(), "BinAtt");
  EXPECT_EQ(AttInterpreter::get_attitp_proto("NoSuchAtt"), nullptr);
  EXPECT_EQ(AttInterpreter::get_attitp("NoSuchAtt"), nullptr);
  EXPECT_EQ(err(), "AttInterpreter::get_attitp:  unknown type: NoSuchAtt\n");
  std::unique_ptr<AttInterpreter> fresh(AttInterpreter::get_attitp("BinAtt"));
  EXPECT_NE(fresh.get(), AttInterpreter::get_attitp_proto("BinAtt"));
  EXPECT_STREQ(fresh->type_name(), "BinAtt");
  // Registering a kind twice keeps the first prototype.
  static const PlainWord again;
  const AttInterpreter* before = AttInterpreter::get_attitp_proto("PlainWord");
  AttInterpreter::attitp_proto(&again);
  EXPECT_EQ(AttInterpreter::get_attitp_proto("PlainWord"), before);
  EXPECT_THAT(err(), HasSubstr("Duplicate definition of PlainWord"));
}

TEST_F(AttInterpreterTest, GetAttValTakesTheFirstTextOfAList) {
  EXPECT_STREQ(AttInterpreter::get_att_val(parse("+plu")), "+plu");
  EXPECT_STREQ(AttInterpreter::get_att_val(parse("(sg pl)")), "sg");
  EXPECT_EQ(AttInterpreter::get_att_val(nullptr), nullptr);
}

// ---------------------------------------------------------------- base rules

// The base unify_val/intersect/minus/modify_val on a word attribute.
TEST_F(AttInterpreterTest, BaseRulesCompareValueWords) {
  run("(def-att-list plain (defattribute w PlainWord) (defattribute c PlainByte))");
  const AttInterpreterList* type = AttInterpreterList::get_att_list("plain");
  AttInterpreter* w = type->interpreter(0);
  AttVec v(type);
  AttVec other(type);
  EXPECT_EQ(w->unify_val(&v, 0, 7, 0), 1);
  EXPECT_FALSE(v.defined(0));
  EXPECT_EQ(w->unify_val(&v, 0, 7, 1), 1);
  EXPECT_EQ(v.get_val(0), 7u);
  EXPECT_EQ(w->unify_val(&v, 0, 7, 1), 1);
  EXPECT_EQ(w->unify_val(&v, 0, 8, 1), 0);
  EXPECT_EQ(v.get_val(0), 7u);
  w->modify_val(&v, 0, 8);
  EXPECT_EQ(v.get_val(0), 8u);

  w->intersect(&v, &other);  // other does not define it
  EXPECT_FALSE(v.defined(0));
  v.set_val(0, 8);
  other.set_val(0, 9);
  w->minus(&v, &other);  // different: kept
  EXPECT_TRUE(v.defined(0));
  w->intersect(&v, &other);  // different: dropped
  EXPECT_FALSE(v.defined(0));
  v.set_val(0, 9);
  w->minus(&v, &other);  // equal: dropped
  EXPECT_FALSE(v.defined(0));
}

// ---------------------------------------------------------------- storage bases

TEST_F(AttInterpreterTest, StorageBasesPackTheirValueAndReportCutForms) {
  run("(def-att-list packing (defattribute w PlainWord) (defattribute c PlainByte))");
  const AttInterpreterList* type = AttInterpreterList::get_att_list("packing");
  AttVec v(type);
  v.set_val(0, 0x01020304);
  v.set_val(1, 0x1ff);
  StrBufs buf;
  type->interpreter(0)->pack(&v, buf);
  type->interpreter(1)->pack(&v, buf);
  ASSERT_EQ(std::string(buf.str(), buf.length()), std::string("\x01\x02\x03\x04\xff", 5));

  AttVec back(type);
  ByteReader in(buf.str(), buf.length());
  type->interpreter(0)->unpack(&back, in);
  type->interpreter(1)->unpack(&back, in);
  EXPECT_TRUE(in.ok());
  EXPECT_EQ(back.interpreter(0)->att_val(&back), 0x01020304u);
  EXPECT_EQ(back.interpreter(1)->att_val(&back), 0xffu);

  // A cut value stores nothing and leaves the reader failed.
  AttVec cut(type);
  ByteReader short_in(buf.str(), 3);
  type->interpreter(0)->unpack(&cut, short_in);
  EXPECT_FALSE(short_in.ok());
  EXPECT_EQ(cut.interpreter(0)->att_val(&cut), 0u);
  ByteReader empty(buf.str(), 0);
  type->interpreter(1)->unpack(&cut, empty);
  EXPECT_FALSE(empty.ok());
}

TEST_F(AttInterpreterTest, ComplexKindsTakeTheirNestedTypeFromTheFacet) {
  run("(def-att-list inner (defattribute x BinAtt))"
      "(def-att-list outer (defattribute self PlainComplex)"
      " (defattribute sub PlainComplex (interpreter inner) (other facet))"
      " (defattribute lost PlainComplex (interpreter missing)))");
  const AttInterpreterList* outer = AttInterpreterList::get_att_list("outer");
  ASSERT_EQ(outer->num_attributes(), 3);
  auto nested = [&](int i) { return static_cast<ComplexAtt*>(outer->interpreter(i))->nested_type(); };
  EXPECT_EQ(nested(0), outer);  // recursive: its own type
  EXPECT_EQ(nested(1), AttInterpreterList::get_att_list("inner"));
  EXPECT_EQ(nested(2), outer);
  EXPECT_THAT(err(), HasSubstr("The named object 'missing' (type=AttInterpreterList) is not found"));
  EXPECT_TRUE(outer->release_mask().test(0));
  EXPECT_EQ(outer->word_count(), 3);
}

// ---------------------------------------------------------------- BinAtt

TEST_F(AttInterpreterTest, BinAttReadsAndWritesPlusAndMinus) {
  struct Case {
    const char* text;
    AttVal value;
    const char* message;
  };
  const Case cases[] = {
      {"+plu", 1, ""},
      {"-plu", 0, ""},
      {"(+)", 1, ""},
      {"(-)", 0, ""},
      {"(yes)", 0, "BinAtt::get_val yes is not a valid value for binary attribute\n"},
      {"~plu", 0, "BinAtt::get_val ~plu is not a valid value for binary attribute\n"},
  };
  BinAtt att;
  for (const Case& c : cases) {
    EXPECT_EQ(att.make_val(parse(c.text)), c.value) << c.text;
    EXPECT_EQ(err(), c.message) << c.text;
  }
  EXPECT_STREQ(att.str_val(1), "+");
  EXPECT_STREQ(att.str_val(0), "-");
  EXPECT_STREQ(att.type_name(), "BinAtt");
  EXPECT_FALSE(att.releases_values());
}

TEST_F(AttInterpreterTest, BinAttOwnBinaryFormIsNeverUsed) {
  BinAtt att;
  AttVec v;
  StrBufs buf;
  att.pack(&v, buf);
  EXPECT_EQ(buf.length(), 0u);
  ByteReader in("x", 1);
  att.unpack(&v, in);
  EXPECT_EQ(in.remaining(), 1u);
  EXPECT_EQ(err(),
            "BinAtt::pack(const AttVec*, StrBufs&) should never be called\n"
            "BinAtt::unpack(AttVec*, const char*&) should never be called\n");
}

// ---------------------------------------------------------------- the list

TEST_F(AttInterpreterTest, ATypeRefusesASecondAttributeOfTheSameName) {
  AttInterpreterList type(nullptr, 2);
  auto* first = new BinAtt;
  first->name("a");
  auto* second = new PlainWord;
  second->name("a");
  auto* upper = new PlainWord;
  upper->name("A");
  EXPECT_TRUE(type.add(first));
  EXPECT_FALSE(type.add(second));  // destroyed
  EXPECT_EQ(err(), "Mutiplely defined attribute: a\n");
  EXPECT_TRUE(type.add(upper));  // names compare exactly
  EXPECT_FALSE(type.add(nullptr));
  EXPECT_EQ(type.num_attributes(), 2);
  EXPECT_EQ(type.interpreter(0), first);
  EXPECT_EQ(upper->index(), 1);
  EXPECT_EQ(upper->storage_position(), 0);
  EXPECT_EQ(type.word_count(), 1);
  EXPECT_STREQ(type.att_str_val(0, 1), "+");
}

TEST_F(AttInterpreterTest, ATypeMadeFromAnArrayStopsAtTheFirstNamelessEntry) {
  auto* a = new BinAtt;
  a->name("a");
  auto* b = new PlainByte;
  b->name("b");
  auto* nameless = new BinAtt;
  AttInterpreter* array[] = {a, b, nameless, nullptr};
  // Registered under its name, the type lives as long as the process.
  auto* type = new AttInterpreterList("from-array", array);
  EXPECT_EQ(type->num_attributes(), 2);
  EXPECT_EQ(AttInterpreterList::get_att_list("from-array"), type);
  EXPECT_EQ(b->owner(), type);
  EXPECT_EQ(type->byte_count(), 1);
  EXPECT_EQ(type->binary_count(), 1);
  delete nameless;
}

TEST_F(AttInterpreterTest, AnInvalidIndexStopsTheProgram) {
  const AttInterpreterList type(nullptr, 0);
  EXPECT_DEATH(type.interpreter(0), "tarray index");
}

}  // namespace
}  // namespace lorvan
