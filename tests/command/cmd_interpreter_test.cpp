#include "command/cmd_interpreter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexical/tokenizer.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

// A fresh interpreter (it becomes the_interpreter) with the standard
// streams captured.
class CmdInterpreterTest : public ::testing::Test {
 protected:
  CmdInterpreterTest()
      : interp_(nullptr, '(', ')'),
        saved_out_(std::cout.rdbuf(out_.rdbuf())),
        saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    interp_.interactive(0);
  }
  ~CmdInterpreterTest() override {
    std::cout.rdbuf(saved_out_);
    std::cerr.rdbuf(saved_err_);
  }

  std::string out() { return take(out_); }
  std::string err() { return take(err_); }

  CmdInterpreter interp_;

 private:
  static std::string take(std::ostringstream& s) {
    std::string text = s.str();
    s.str("");
    return text;
  }
  std::ostringstream out_;
  std::ostringstream err_;
  std::streambuf* saved_out_;
  std::streambuf* saved_err_;
};

void* first_text(IRSlist* args) { return const_cast<char*>(args->top_val()); }
void* other_handler(IRSlist*) { return nullptr; }

TEST_F(CmdInterpreterTest, FirstInterpreterIsTheInterpreter) {
  EXPECT_EQ(CmdInterpreter::the_interpreter, &interp_);
  CmdInterpreter second(nullptr, '(', ')');
  EXPECT_EQ(CmdInterpreter::the_interpreter, &interp_);
}

TEST_F(CmdInterpreterTest, BuiltInCommandsAndTheirHelpTexts) {
  interp_.list_entries(std::cout, nullptr);
  EXPECT_EQ(out(),
            "?\nsame as 'help'\n\n"
            "echo\n(echo <strings>) print the strings\n\n"
            "exit\n(exit) exit the interpreter\n\n"
            "help\n(help <regexp>) the comments of symbols matching the regular expression\n\n"
            "load\n(load file) execute the commands in file\n\n"
            "quote\n(quote <list>) return <list> without evaluating it\n\n"
            "set-search-path\n(set-search-path <paths> <deliminator>) set the search path\n\n"
            "show-commands\n(show-commands 0|1) turn on/off showing commands\n\n"
            "system\n(system <command>) execute the shell command\n\n");
  EXPECT_EQ(interp_.val("help"), interp_.val("?"));
}

TEST_F(CmdInterpreterTest, HelpPatternsAreAnchoredAndNeedANonEmptyMatch) {
  struct Case {
    const char* command;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"(help \"s\")", {"set-search-path", "show-commands", "system"}},
      {"(help \"^e\")", {"echo", "exit"}},
      {"(help \"x\")", {}},  // "exit" contains x, but not at the start
      {"(help \"\")", {}},
      {"(help \"(lo|qu)\")", {"load", "quote"}},
      {"(HELP \"E\")", {}},  // names match case-sensitively
  };
  for (const Case& c : cases) {
    interp_.interpret(c.command);
    std::istringstream listing(out());
    std::vector<std::string> names;
    for (std::string line; std::getline(listing, line);) {
      names.push_back(line);
      std::getline(listing, line);  // help text
      std::getline(listing, line);  // empty line
    }
    EXPECT_EQ(names, c.names) << c.command;
  }
}

TEST_F(CmdInterpreterTest, CommandTableIgnoresCaseKeepsFirstAndCanReplaceOrDelete) {
  interp_.enter("My-Cmd", first_text, "(my-cmd x) first");
  EXPECT_EQ(interp_.val("MY-CMD"), first_text);
  EXPECT_EQ(interp_.val(nullptr), nullptr);

  interp_.enter("my-cmd", other_handler, "second");
  EXPECT_EQ(err(), "Duplicate definition of my-cmd\n");
  EXPECT_EQ(interp_.val("my-cmd"), first_text);

  interp_.re_enter("MY-cmd", other_handler, "replaced");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(interp_.val("my-cmd"), other_handler);
  interp_.list_entries(std::cout, "My");
  EXPECT_EQ(out(), "My-Cmd\nreplaced\n\n");

  interp_.del("my-CMD");
  EXPECT_EQ(interp_.val("my-cmd"), nullptr);
  EXPECT_NE(interp_.val("echo"), nullptr);  // the others stay
  interp_.interpret("(my-cmd)");
  EXPECT_EQ(err(), "unknown function my-cmd\n\n");
}

TEST_F(CmdInterpreterTest, OnlyListsAtTopLevelAreExecuted) {
  interp_.interpret("(echo a \"b c\")\nfoo\n)\n()\n(ECHO 1,000 x)");
  EXPECT_EQ(out(), "a b c\n1,000 x\n");
  EXPECT_EQ(err(), "");
}

TEST_F(CmdInterpreterTest, UnknownCommandsAreReportedAndReadingGoesOn) {
  interp_.interpret("(nosuch 1 (2 3)) (echo next) ((a) b) (echo last)");
  EXPECT_EQ(err(),
            "unknown function nosuch\n1 (2 3)\n"
            "expecting an atom. This is found instead:\n(a)\n"
            "unknown function nil\nb\n");
  EXPECT_EQ(out(), "next\nlast\n");
}

TEST_F(CmdInterpreterTest, UnterminatedListAtTheEndIsExecuted) {
  interp_.interpret("(echo a (b");
  EXPECT_EQ(out(), "a (b)\n");
}

TEST_F(CmdInterpreterTest, InteractivePromptsBeforeEachCommandAndEndsWithALineEnd) {
  interp_.interactive(1);
  interp_.interpret("(echo a)\n(echo b)\n");
  EXPECT_EQ(out(), "> a\n> b\n> \n");
}

TEST_F(CmdInterpreterTest, ShowCommandsEchoesInIndentedForm) {
  interp_.interpret("(show-commands 1)(quote (a b (c d) e))(show-commands 0)(echo q)");
  EXPECT_EQ(err(), "(quote\n  (a b\n    (c d)\n    e))\n(show-commands 0)\n");
  EXPECT_EQ(out(), "q\n");
  EXPECT_EQ(interp_.show_commands(), 0);

  interp_.interpret("(show-commands 1)(show-commands)(echo r)");
  EXPECT_EQ(err(), "(show-commands)\nIRSlist::get_long_val expecting a string\n");
  EXPECT_EQ(interp_.show_commands(), 0);
}

TEST_F(CmdInterpreterTest, InterpretOneCmdReturnsTheHandlersResult) {
  auto t = make_command_tokenizer();
  auto cmd = make_irslist("(quote (a b))", t.get());
  auto* list = static_cast<IRSlist*>(interp_.interpret_one_cmd(cmd.get()));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->length(), 2);
  EXPECT_STREQ(list->get_val(1), "b");

  cmd = make_irslist("(QUOTE word)", t.get());
  EXPECT_STREQ(static_cast<const char*>(interp_.interpret_one_cmd(cmd.get())), "word");

  for (const char* bad : {"(quote a b)", "(quote)"}) {
    cmd = make_irslist(bad, t.get());
    EXPECT_EQ(interp_.interpret_one_cmd(cmd.get()), nullptr) << bad;
    EXPECT_EQ(err(), "quote must take one argument\n") << bad;
  }
}

TEST_F(CmdInterpreterTest, InterpretListRunsAndConsumesEachCommand) {
  auto t = make_command_tokenizer();
  auto list = make_irslist("((echo a) (nosuch) (echo b))", t.get());
  interp_.interpret(list.get());
  EXPECT_EQ(out(), "a\nb\n");
  EXPECT_EQ(err(), "unknown function nosuch\n\n");
  EXPECT_EQ(list->length(), 0);
  interp_.interpret(static_cast<IRSlist*>(nullptr));
}

TEST_F(CmdInterpreterTest, NestedLoadKeepsTheOuterArgumentsValid) {
  testsupport::TempDir dir;
  dir.write("a.lsp", "(echo a1)\n(load \"" + dir.file("b.lsp") + "\")\n(echo a2)");
  dir.write("b.lsp", "(echo b (with many words to fill the arena))");
  dir.write("c.lsp", "(echo c)");
  const std::string command = "(LOAD \"" + dir.file("a.lsp") + "\" \"" + dir.file("nope.lsp") +
                              "\" \"" + dir.file("c.lsp") + "\")(echo done)";
  interp_.interpret(command.c_str());
  EXPECT_EQ(out(), "a1\nb (with many words to fill the arena)\na2\nc\ndone\n");
  EXPECT_EQ(err(), "The file " + dir.file("nope.lsp") + " cannot be opened\n");
}

TEST_F(CmdInterpreterTest, CommandsAreReadWithTheGivenTokenizersConfiguration) {
  // A tokenizer where ';' is no comment: the copy made for each stream keeps
  // that configuration.
  Tokenizer t(" \t\n\r", "();", "();,", "\"", '\\', 0, 4096, 512);
  CmdInterpreter custom(&t, '(', ')');
  custom.interactive(0);
  custom.interpret("(echo a;b)");
  EXPECT_EQ(out(), "a ; b\n");
}

TEST_F(CmdInterpreterTest, SetSearchPathReplacesThePath) {
  const std::vector<std::string> saved = PATHS;
  struct Case {
    const char* command;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"(set-search-path \"/x;/y\" \";\")", {".", "/x", "/y"}},
      {"(set-search-path \"::/a::/b:\")", {".", "/a", "/b"}},
      {"(set-search-path \"/a:/a\")", {".", "/a"}},
      {"(set-search-path)", {}},
  };
  for (const Case& c : cases) {
    interp_.interpret(c.command);
    EXPECT_EQ(PATHS, c.paths) << c.command;
  }
  PATHS = saved;
}

// Expands to a fixed text and remembers how many arguments it was given.
class FixedMacro : public Macro {
 public:
  FixedMacro(std::string text, int* arg_count) : text_(std::move(text)), arg_count_(arg_count) {}
  const char* instantiate(const char*, IRSlist* args) override {
    *arg_count_ = args->length();
    return text_.c_str();
  }

 private:
  std::string text_;
  int* arg_count_;
};

TEST_F(CmdInterpreterTest, MacrosComeFirstAndRunWithoutPrompts) {
  set_current_name_space("macro-test");
  int greet_args = -1, echo_args = -1;
  defmacro("greet", new FixedMacro("(echo hello) (echo again)", &greet_args));

  interp_.interactive(1);
  interp_.interpret("(GREET x (y z))");
  EXPECT_EQ(out(), "> hello\nagain\n> \n");
  EXPECT_EQ(greet_args, 2);
  EXPECT_EQ(interp_.interactive(), 1);

  interp_.interactive(0);
  defmacro("echo", new FixedMacro("(show-commands 0)", &echo_args));
  interp_.interpret("(echo hidden)");
  EXPECT_EQ(out(), "");
  EXPECT_EQ(echo_args, 1);

  SKIP_DELETING_NAME_SPACE = 0;  // destroys the macros
  delete_all_name_spaces();
  SKIP_DELETING_NAME_SPACE = 1;
  interp_.interpret("(echo visible)");
  EXPECT_EQ(out(), "visible\n");
}

TEST_F(CmdInterpreterTest, ExecuteCommandUsesTheInterpreter) {
  execute_command("(echo via execute_command)");
  EXPECT_EQ(out(), "via execute_command\n");
}

void report_deletion(void* object) {
  std::fprintf(stderr, "deleted %d\n", *static_cast<int*>(object));
}

int one = 1;
int two = 2;

void register_two_and_exit() {
  CmdInterpreter interp(nullptr, '(', ')');
  interp.interactive(0);
  set_current_name_space("exit-test");
  register_named_obj("one", &one, "int", report_deletion);
  register_named_obj("two", &two, "int", report_deletion);
  SKIP_DELETING_NAME_SPACE = 0;
  interp.interpret("(exit)(echo not reached)");
  std::fprintf(stderr, "still running\n");
}

TEST(CmdInterpreterExit, DeletesTheNameSpacesAndExitsWithStatusZero) {
  EXPECT_EXIT(register_two_and_exit(), ::testing::ExitedWithCode(0), "^deleted 2\ndeleted 1\n$");
}

}  // namespace
}  // namespace lorvan
