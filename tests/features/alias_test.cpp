// Aliases (named sub-vectors): their visiting order and use in printing,
// the alias file, and the commands that define types, vectors, aliases and
// attribute sets, run through the command interpreter as command files do.
#include "features/alias_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "features/features_commands.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

using ::testing::HasSubstr;

// The standard streams are captured; every test starts with the type "agr"
// current and its aliases
//   pl   = (+plu)
//   defn = (+def)
//   3pl  = (+plu (per 3))
// added in this order.
class AliasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    attvec_init();
    run("(def-att-list agr (defattribute plu BinAtt) (defattribute per IntAtt)"
        " (defattribute def BinAtt) (defattribute num DisjAtt (allowable-values sg pl)))");
  }

  AliasTest()
      : saved_err_(std::cerr.rdbuf(err_.rdbuf())), saved_out_(std::cout.rdbuf(out_.rdbuf())) {
    agr_ = AttInterpreterList::get_att_list("agr");
    AttVec::the_itp_list = agr_;
    agr_->clear_aliases();
    run("(alias pl (make-av (+plu))) (alias defn (make-av (+def)))"
        " (alias 3pl (make-av (+plu (per 3))))");
  }
  ~AliasTest() override {
    std::cerr.rdbuf(saved_err_);
    std::cout.rdbuf(saved_out_);
  }

  static void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }
  // The result of one command.
  void* call(const char* command) {
    std::unique_ptr<IRSlist> cmd = make_irslist(command, tokenizer_.get());
    return CmdInterpreter::the_interpreter->interpret_one_cmd(cmd.get());
  }
  std::unique_ptr<AttVec> av(const char* text) {
    return std::unique_ptr<AttVec>(static_cast<AttVec*>(call(text)));
  }
  static std::string shown(const AttVec& v, int use_aliases = 1) {
    std::ostringstream out;
    v.print(out, nullptr, use_aliases);
    return out.str();
  }
  std::string err() { return take(err_); }
  std::string out() { return take(out_); }

  AttInterpreterList* agr_ = nullptr;

 private:
  static std::string take(std::ostringstream& s) {
    std::string text = s.str();
    s.str("");
    return text;
  }
  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::ostringstream err_;
  std::ostringstream out_;
  std::streambuf* saved_err_;
  std::streambuf* saved_out_;
};

// ---------------------------------------------------------------- order

TEST_F(AliasTest, VisitingOrderPutsMoreSpecificAliasesFirst) {
  std::string names;
  for (const AttInterpreterList::Alias* a : agr_->alias_order()) names += a->name + " ";
  EXPECT_EQ(names, "defn 3pl pl ");
  run("(print-alias *)");
  EXPECT_EQ(out(), "defn: (+def)\n3pl: (+plu (per 3))\npl: (+plu)\n");
  EXPECT_EQ(err(), "");
}

TEST_F(AliasTest, PrintingNamesTheAliasesAVectorIsAtLeastAsSpecificAs) {
  struct Case {
    const char* vector;
    const char* printed;
  };
  const Case cases[] = {
      {"(make-av (+plu (per 3) +def (num sg)))", "(defn 3pl (num sg))"},  // pl is covered by 3pl
      {"(make-av (+plu (num sg)))", "(pl (num sg))"},
      {"(make-av (+plu (per 3)))", "(3pl)"},
      {"(make-av (-plu -def))", "(-plu -def)"},
      {"(make-av ())", "()"},
  };
  for (const Case& c : cases) {
    auto v = av(c.vector);
    ASSERT_NE(v, nullptr) << c.vector;
    EXPECT_EQ(shown(*v), c.printed) << c.vector;
  }
}

TEST_F(AliasTest, ReadingAnAliasNameMergesItsVector) {
  auto v = av("(make-av (3pl (num pl) defn))");
  EXPECT_EQ(shown(*v, 0), "(+plu (per 3) +def (num pl))");
  // An alias is merged by unification, which stops at a conflict.
  v = av("(make-av (-plu 3pl))");
  EXPECT_EQ(shown(*v, 0), "(-plu)");
}

// ---------------------------------------------------------------- commands

TEST_F(AliasTest, AliasKeepsTheFirstDefinitionOfAName) {
  EXPECT_EQ(call("(alias pl (make-av (-plu)))"), nullptr);
  run("(print-alias pl)");
  EXPECT_EQ(out(), "(+plu)\n");
  EXPECT_EQ(agr_->num_aliases(), 3);
}

TEST_F(AliasTest, AliasNeedsANameAndAVectorMakingExpression) {
  EXPECT_EQ(call("(alias)"), nullptr);
  EXPECT_EQ(call("(alias lonely)"), nullptr);
  EXPECT_EQ(call("(alias x (make-av nosuchtype (+plu)))"), nullptr);
  EXPECT_THAT(err(), HasSubstr("The named object 'nosuchtype' (type=AttInterpreterList) is not found"));
  // A command that makes something else is not taken for a vector.
  EXPECT_EQ(call("(alias y (def-att-list agr))"), nullptr);
  EXPECT_EQ(err(), "alias y: the expression does not make an attribute value vector\n");
  EXPECT_EQ(agr_->num_aliases(), 3);
  AttVec::the_itp_list = agr_;
}

TEST_F(AliasTest, PrintAliasListsOneAllOrNothing) {
  run("(print-alias defn)");
  EXPECT_EQ(out(), "(+def)\n");
  run("(print-alias zz)");
  EXPECT_EQ(out(), "zz is not an alias");
  run("(print-alias)");
  EXPECT_EQ(out(), "");
}

TEST_F(AliasTest, ClearAliasNeedsAnArgument) {
  run("(clear-alias)");
  EXPECT_EQ(agr_->num_aliases(), 3);
  run("(clear-alias anything)");
  EXPECT_EQ(agr_->num_aliases(), 0);
  run("(print-alias *)");
  EXPECT_EQ(out(), "");
}

TEST_F(AliasTest, DefAttListReusesATypeAndTakesOnlyAttributeDefinitions) {
  auto* again = static_cast<AttInterpreterList*>(
      call("(def-att-list extra (defattribute a BinAtt) (make-av (+plu)) (echo) (defattribute a IntAtt)"
           " (defattribute b Disj8Att (allowable-values x y)))"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(AttVec::the_itp_list, again);
  EXPECT_EQ(again->num_attributes(), 2);
  EXPECT_THAT(err(), HasSubstr("Mutiplely defined attribute: a\n"));
  call("(def-att-list extra (defattribute c BinAtt))");
  EXPECT_EQ(again->num_attributes(), 3);
  EXPECT_STREQ(again->att_name(2), "c");
  EXPECT_EQ(call("(def-att-list)"), nullptr);
  EXPECT_EQ(err(), "Missing arguments in (def-att-list <name> ...)\n");
}

TEST_F(AliasTest, DefattributeReportsMissingArgumentsAndUnknownKinds) {
  EXPECT_EQ(call("(defattribute)"), nullptr);
  EXPECT_EQ(call("(defattribute x)"), nullptr);
  EXPECT_EQ(err(), "Missing argument: (defattribute <name> <type>)\n"
                   "Missing argument: (defattribute <name> <type>)\n");
  EXPECT_EQ(call("(defattribute x Nonsense)"), nullptr);
  EXPECT_EQ(err(), "AttInterpreter::get_attitp:  unknown type: Nonsense\n");
  std::unique_ptr<AttInterpreter> made(static_cast<AttInterpreter*>(call("(defattribute x binatt)")));
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->name(), "x");
  EXPECT_EQ(made->index(), -1);  // not in any type
}

TEST_F(AliasTest, MakeAvTakesAnOptionalTypeName) {
  run("(def-att-list small (defattribute s BinAtt))");
  AttVec::the_itp_list = agr_;
  auto typed = av("(make-av small (+s))");
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->interpreter_list(), AttInterpreterList::get_att_list("small"));
  EXPECT_EQ(shown(*typed), "(+s)");
  auto current = av("(make-av (+plu))");
  EXPECT_EQ(current->interpreter_list(), agr_);
  auto empty = av("(make-av small)");
  EXPECT_EQ(shown(*empty), "()");
  EXPECT_EQ(call("(make-av)"), nullptr);
  EXPECT_EQ(call("(make-av nosuch (+plu))"), nullptr);
  EXPECT_THAT(err(), HasSubstr("'nosuch'"));
  AttVec::the_itp_list = nullptr;
  EXPECT_EQ(call("(make-av (+plu))"), nullptr);
  EXPECT_EQ(err(), "Creating AttVec with nil Interpreter\n");
}

TEST_F(AliasTest, SetAttItpListSwitchesTheCurrentType) {
  run("(def-att-list other (defattribute o BinAtt))");
  run("(set-att-itp-list agr)");
  EXPECT_EQ(AttVec::the_itp_list, agr_);
  run("(set-att-itp-list)");
  EXPECT_EQ(AttVec::the_itp_list, agr_);
  run("(set-att-itp-list nosuch)");
  EXPECT_EQ(AttVec::the_itp_list, nullptr);
  EXPECT_THAT(err(), HasSubstr("'nosuch'"));
}

TEST_F(AliasTest, DefAttSetNamesASetOfAttributes) {
  auto* set = static_cast<LBitSet*>(call("(def-att-set agr person per plu bogus)"));
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->count(), 2);
  EXPECT_TRUE(set->test(0));
  EXPECT_TRUE(set->test(1));
  EXPECT_EQ(err(), "AttInterpreterList::make_att_set bogus is not an attribute name\n");
  EXPECT_EQ(agr_->search_att_set("PERSON"), set);
  // A second set of the same name keeps the first.
  EXPECT_EQ(call("(def-att-set agr person def)"), set);
  EXPECT_THAT(err(), HasSubstr("Duplicate definition of person"));
  EXPECT_EQ(agr_->search_att_set("nothing"), nullptr);
  EXPECT_EQ(call("(def-att-set)"), nullptr);
  EXPECT_EQ(err(), "(def-att-set type-of-attvec name att1 att2 ... attn)\n");
  EXPECT_EQ(call("(def-att-set nosuch x plu)"), nullptr);
  EXPECT_THAT(err(), HasSubstr("'nosuch'"));
}

// ---------------------------------------------------------------- files

class AliasFileTest : public AliasTest {
 protected:
  AliasFileTest() { set_search_paths(dir_.path().c_str()); }
  ~AliasFileTest() override { clear_search_path(); }

  std::string listing() {
    run("(print-alias *)");
    return out();
  }
  std::string file_bytes(const std::string& name) {
    std::ifstream in(dir_.file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  testsupport::TempDir dir_;
};

TEST_F(AliasFileTest, SavedAliasesLoadBack) {
  run("(alias full (make-av (+plu (per 3) -def (num sg pl))))");
  const std::string before = listing();
  const std::string path = dir_.file("agr.dat");
  run(("(save-aliases \"" + path + "\")").c_str());
  run("(clear-alias x) (load-aliases agr)");
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(err(), "");
  // Each record: length, name, NUL, packed vector; "defn" comes first.
  const std::string bytes = file_bytes("agr.dat");
  ASSERT_GE(bytes.size(), 11u);
  EXPECT_EQ(bytes.substr(0, 11), std::string("\0\0\0\x07" "defn\0\x02\x05", 11));
}

TEST_F(AliasFileTest, LoadsIntoANamedTypeAndSavesFromOne) {
  run("(def-att-list second (defattribute z BinAtt))"
      "(alias zed (make-av (+z)))");
  AttVec::the_itp_list = agr_;
  run(("(save-aliases \"" + dir_.file("second.dat") + "\" second)").c_str());
  AttInterpreterList* second = AttInterpreterList::get_att_list("second");
  second->clear_aliases();
  run("(load-aliases second second)");
  EXPECT_NE(second->search_alias("zed"), nullptr);
  EXPECT_EQ(agr_->search_alias("zed"), nullptr);
}

TEST_F(AliasFileTest, ACutOrCorruptFileKeepsWhatCameBefore) {
  const std::string path = dir_.file("agr.dat");
  run(("(save-aliases \"" + path + "\")").c_str());
  const std::string whole = file_bytes("agr.dat");
  // Cut inside the last record.
  dir_.write("cut.dat", whole.substr(0, whole.size() - 2));
  run("(clear-alias x) (load-aliases cut)");
  EXPECT_EQ(agr_->num_aliases(), 2);
  EXPECT_EQ(err(), "load-aliases: " + dir_.file("cut.dat") + ": truncated record\n");
  // A length far beyond the file, a record without name, a bad vector.
  const std::string bad = std::string("\0\0\0\x03" "abc", 7) + std::string("\0\0\0\x03" "x\0\x04", 7) +
                          std::string("\x7f\xff\xff\xff", 4);
  dir_.write("bad.dat", bad);
  run("(clear-alias x) (load-aliases bad)");
  EXPECT_EQ(agr_->num_aliases(), 0);
  const std::string messages = err();
  EXPECT_THAT(messages, HasSubstr("record without alias name"));
  EXPECT_THAT(messages, HasSubstr("AttVec::unpack: bad attribute code 4"));
  EXPECT_THAT(messages, HasSubstr("bad vector for alias x"));
  EXPECT_THAT(messages, HasSubstr("truncated record"));
}

TEST_F(AliasFileTest, WithoutADatFileACommandFileIsRead) {
  dir_.write("cmds.lsp", "(alias fromlsp (make-av (-plu)))\n");
  run("(load-aliases cmds)");
  EXPECT_NE(agr_->search_alias("fromlsp"), nullptr);
  run("(load-aliases nothing-here) (load-aliases)");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(out(), "");
}

TEST_F(AliasFileTest, AnUnwritableFileIsReported) {
  run(("(save-aliases \"" + dir_.file("no/such/dir/a.dat") + "\")").c_str());
  EXPECT_THAT(err(), HasSubstr("save-aliases: cannot write the file"));
}

}  // namespace
}  // namespace lorvan
