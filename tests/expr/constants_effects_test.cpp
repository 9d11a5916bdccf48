// Constants, the kinds with effects outside the language, and the commands
// declare-var, make-lexp, eval and foreach.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command/named_obj.h"
#include "expr/expr_fixture.h"
#include "expr/lconst.h"
#include "lexical/tokenizer.h"
#include "command/irslist.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan::exprtest {
namespace {

using testsupport::TempDir;
using ConstantsTest = ExprTest;
using EffectsTest = ExprTest;
using ExprCommandsTest = ExprTest;

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(ConstantsTest, ValuesAndTypesIgnoreTheInput) {
  char in[] = "in";
  EXPECT_EQ(eval_int("(int 5)", in), 5);
  EXPECT_EQ(eval_int("(int -12abc)", in), -12);
  EXPECT_EQ(eval_str("(str \"a b\")", in), "a b");
  EXPECT_EQ(eval("(str)", in), nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(eval_int("(int)"), 0);
  EXPECT_EQ(err(), "IRSlist::get_long_val expecting a string\n");
  EXPECT_EQ(compile("(str x)")->output_type(), type_id("char*"));
  EXPECT_EQ(compile("(int 1)")->output_type(), type_id("int"));
}

TEST_F(ConstantsTest, PredHoldsACompiledExpression) {
  LExp* e = compile("(pred (not))");
  EXPECT_EQ(e->output_type(), type_id("LExp*"));
  auto* held = static_cast<LExp*>(e->eval(nullptr, -1));
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(value_to_int(held->eval(nullptr, -1)), 1);
  // A copy holds a copy of its own.
  std::unique_ptr<LExp> copy = LExp::make_copy(e);
  auto* copied = static_cast<LExp*>(copy->eval(nullptr, -1));
  EXPECT_NE(copied, held);
  EXPECT_STREQ(copied->type_name(), "not");
}

TEST_F(ConstantsTest, NamedObjIsLookedUpWhenCompiled) {
  int thing = 0;
  register_named_obj("thing1", &thing, "Thing/Base");
  EXPECT_EQ(eval("(named-obj THING1 Base)"), &thing);
  EXPECT_EQ(eval("(named-obj thing1 Lexicon)"), nullptr);
  EXPECT_EQ(err(),
            "The named object 'thing1' is of the type 'Thing/Base', not the expected type "
            "'Lexicon'.\n");
  EXPECT_EQ(eval("(named-obj thing1)"), nullptr);
  EXPECT_EQ(err(), "the type of 'thing1' is not defined\n");
  EXPECT_EQ(eval("(named-obj absent Thing)"), nullptr);
  EXPECT_EQ(err(), "The named object 'absent' (type=Thing) is not found\n");
}

TEST_F(ConstantsTest, StreamsOpenWhenCompiled) {
  TempDir dir;
  dir.write("in.txt", "first line\n");
  EXPECT_EQ(eval("(input)"), static_cast<std::istream*>(&std::cin));
  EXPECT_EQ(eval("(input -)"), static_cast<std::istream*>(&std::cin));
  EXPECT_EQ(eval("(output -)"), static_cast<std::ostream*>(&std::cout));
  auto* in = static_cast<std::istream*>(eval(("(input \"" + dir.file("in.txt") + "\")").c_str()));
  ASSERT_NE(in, static_cast<std::istream*>(&std::cin));
  std::string line;
  std::getline(*in, line);
  EXPECT_EQ(line, "first line");
  EXPECT_EQ(err(), "");

  const std::string out_path = dir.file("out.txt");
  {
    std::unique_ptr<LExp> e = LExp::get_exp(("(output \"" + out_path + "\")").c_str());
    *static_cast<std::ostream*>(e->eval(nullptr, -1)) << "written";
  }  // destroying the constant closes its file
  EXPECT_EQ(read_file(out_path), "written");

  EXPECT_EQ(eval(("(input \"" + dir.file("missing") + "\")").c_str()),
            static_cast<std::istream*>(&std::cin));
  EXPECT_EQ(err(), "Can't open file: " + dir.file("missing") + "\n");
  EXPECT_EQ(eval(("(output \"" + dir.file("no/such/dir") + "\")").c_str()),
            static_cast<std::ostream*>(&std::cout));
  EXPECT_EQ(err(), "Can't open file: " + dir.file("no/such/dir") + "\n");
}

TEST_F(EffectsTest, QuoteLExpKeepsItsArgumentAsText) {
  EXPECT_EQ(eval_str("(quote-lexp (a b))"), "(a b)");
  EXPECT_EQ(eval_str("(quote-lexp abc)"), "abc");
  EXPECT_EQ(eval_str("(quote-lexp (x \"y z\" ()))"), "(x \"y z\" ())");
  EXPECT_EQ(eval("(quote-lexp)"), nullptr);
}

TEST_F(EffectsTest, ExecCommandsRunsAFreshCopyAtEachEvaluation) {
  std::unique_ptr<LExp> e = LExp::get_exp("(exec-commands (echo hi there) (echo again))");
  EXPECT_EQ(e->eval(nullptr, -1), nullptr);
  EXPECT_EQ(e->eval(nullptr, -1), nullptr);
  std::unique_ptr<LExp> copy = LExp::make_copy(e.get());
  e.reset();
  copy->eval(nullptr, -1);
  EXPECT_EQ(out(), "hi there\nagain\nhi there\nagain\nhi there\nagain\n");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(eval("(exec-commands)"), nullptr);
}

TEST_F(EffectsTest, OpenFileForWritingMakesTheDirectories) {
  TempDir dir;
  std::string path = dir.file("a/b/c/out.txt");
  const int str = type_id("char*");
  LExp* open = compile("(open-file :write)");
  EXPECT_EQ(open->output_type(), type_id("stream*"));
  auto* out = static_cast<std::ostream*>(open->eval(path.data(), str));
  ASSERT_NE(out, nullptr);
  ASSERT_TRUE(out->good());
  *out << "text\n";
  // close-file takes the stream untyped (its input type is char*).
  EXPECT_EQ(eval("(close-file :write)", out, -1), nullptr);
  EXPECT_EQ(read_file(path), "text\n");
  EXPECT_EQ(err(), "");
}

TEST_F(EffectsTest, OpenFileForReadingAndItsInnerExpression) {
  TempDir dir;
  dir.write("words.txt", "alpha beta\n");
  std::string path = dir.file("words.txt");
  const int str = type_id("char*");
  auto* in = static_cast<std::istream*>(eval("(open-file)", path.data(), str));
  ASSERT_NE(in, nullptr);
  std::string word;
  *in >> word;
  EXPECT_EQ(word, "alpha");
  EXPECT_EQ(eval("(close-file)", in, -1), nullptr);
  // The inner expression receives the stream typed "stream*"; close-file,
  // whose input type is char*, therefore refuses it.
  EXPECT_EQ(eval("(open-file (close-file))", path.data(), str), nullptr);
  EXPECT_EQ(err(), "close-file received a wrong type of argument:'stream*' (" +
                       std::to_string(type_id("stream*")) +
                       ")\nThe expected type of argument is:'char*' (" + std::to_string(str) +
                       ")\n");
  // A stream that cannot be opened is still returned; a null name gives null.
  auto* failed = static_cast<std::istream*>(eval("(open-file)", dir.file("none").data(), str));
  ASSERT_NE(failed, nullptr);
  EXPECT_TRUE(failed->fail());
  EXPECT_EQ(eval("(open-file)", nullptr, str), nullptr);
}

TEST_F(EffectsTest, CloseFileLeavesUnknownValuesAlone) {
  char text[] = "not a stream";
  EXPECT_EQ(eval("(close-file)", text, type_id("char*")), nullptr);
  EXPECT_EQ(eval("(close-file :write)", &std::cout, -1), nullptr);
  EXPECT_EQ(eval("(close-file)", nullptr, -1), nullptr);
  EXPECT_EQ(err(), "");
}

TEST_F(EffectsTest, ExistFileSearchesTheSearchPath) {
  TempDir dir;
  dir.write("lorvan.lsp", "");
  clear_search_path();
  append_to_search_path(dir.path().c_str());
  EXPECT_EQ(eval_int("(exist-file \"lorvan.lsp\")"), 1);
  EXPECT_EQ(eval_int("(exist-file absent.lsp)"), 0);
  EXPECT_EQ(eval_int("(exist-file)"), 0);
  clear_search_path();
}

class TokenizerInputTest : public ExprTest {
 protected:
  TokenizerInputTest() {
    if (get_named_obj("test-words", "Tokenizer", 0) == nullptr) {
      register_named_obj("test-words", tokenizer(), "Tokenizer/TokenizerBase");
    }
  }
  static Tokenizer* tokenizer() {
    static Tokenizer* t = make_command_tokenizer().release();
    return t;
  }
};

TEST_F(TokenizerInputTest, StringInputByNameOrExpression) {
  char text[] = "one (two)";
  void* result = eval("(set-tokenizer-string-input test-words (ident))", text);
  EXPECT_EQ(result, tokenizer());
  EXPECT_STREQ(tokenizer()->get_non_space_token(), "one");
  EXPECT_STREQ(tokenizer()->get_non_space_token(), "(");
  // The tokenizer may come from an expression.
  char other[] = "three";
  EXPECT_EQ(eval("(set-tokenizer-string-input (named-obj test-words Tokenizer) (ident))", other),
            tokenizer());
  EXPECT_STREQ(tokenizer()->get_non_space_token(), "three");
  EXPECT_EQ(err(), "");
}

TEST_F(TokenizerInputTest, StreamInput) {
  TempDir dir;
  dir.write("in.txt", "from file\n");
  const std::string text =
      "(set-tokenizer-input test-words (input \"" + dir.file("in.txt") + "\"))";
  EXPECT_EQ(eval(text.c_str()), tokenizer());
  EXPECT_STREQ(tokenizer()->get_non_space_token(), "from");
  EXPECT_STREQ(tokenizer()->get_non_space_token(), "file");
  EXPECT_EQ(tokenizer()->get_non_space_token(), nullptr);
  EXPECT_EQ(err(), "");
}

TEST_F(TokenizerInputTest, MissingTokenizerGivesZero) {
  char text[] = "x";
  EXPECT_EQ(eval("(set-tokenizer-string-input nobody (ident))", text), nullptr);
  EXPECT_EQ(err(), "The named object 'nobody' (type=Tokenizer) is not found\n");
  EXPECT_EQ(eval("(set-tokenizer-input (nil) (input))"), nullptr);
  EXPECT_EQ(eval("(set-tokenizer-input :re-tokenizer re (input))"), nullptr);
  EXPECT_EQ(err(), "The named object 're' (type=RETokenizer) is not found\n");
}

TEST_F(EffectsTest, USleepReadsItsCount) {
  EXPECT_EQ(eval("(usleep 1)"), nullptr);
  EXPECT_EQ(eval("(usleep -5)"), nullptr);
  EXPECT_EQ(err(), "");
  compile("(usleep)");
  EXPECT_EQ(err(), "IRSlist::get_long_val expecting a string\n");
}

TEST_F(ExprCommandsTest, MakeLExpRegistersANamedExpression) {
  run("(make-lexp is-five (eq (ident) (int 5)))");
  auto* e = static_cast<LExp*>(get_named_obj("is-five", "LExp", 1));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(value_to_int(e->eval(int_to_value(5), -1)), 1);
  EXPECT_EQ(value_to_int(e->eval(int_to_value(4), -1)), 0);
  run("(make-lexp is-five (t))");
  EXPECT_EQ(err(), "Duplicate definition of is-five\n");
  EXPECT_EQ(get_named_obj("is-five", "LExp", 1), e);
  run("(make-lexp empty (bogus))");
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'bogus'\n");
  EXPECT_EQ(get_named_obj("empty", "LExp", 0), nullptr);
}

TEST_F(ExprCommandsTest, EvalEvaluatesEachOnNull) {
  run("(eval (test-count) (bogus) (prog (test-count) (test-count)))");
  EXPECT_EQ(counter, 3);
  EXPECT_EQ(err(), "LExp::get_exp:  unknown type: 'bogus'\n");
  run("(eval (exec-commands (echo nested)))");
  EXPECT_EQ(out(), "nested\n");
}

TEST_F(ExprCommandsTest, ForeachGivesEachWordTypedAsString) {
  run("(foreach (a \"b c\" d) :eval (test-record))");
  EXPECT_EQ(recorded, (std::vector<std::string>{"a", "b c", "d"}));
  TempDir dir;
  dir.write("words.txt", "one\ntwo\n");
  clear_search_path();
  append_to_search_path(dir.path().c_str());
  recorded.clear();
  run("(foreach words.txt :eval (test-record))");
  EXPECT_EQ(recorded, (std::vector<std::string>{"one", "two"}));
  clear_search_path();
  EXPECT_EQ(err(), "");
  run("(foreach (a b))");
  EXPECT_EQ(err(), "argument :eval is not found\n");
}

TEST_F(ExprCommandsTest, DeclareVarHelpTexts) {
  CmdInterpreter::the_interpreter->list_entries(std::cout, "de");
  EXPECT_EQ(out(),
            "debug-macro\n(debug-macro [name]) print expanded instances of the macro\n\n"
            "declare-var\n(declare-var varname) declare a variable.\n\n"
            "defmacro\n(defmacro name (parameters) LExp) define a macro.\n\n"
            "defun\n(defun funcname ( [args] ) LExp LExp ...) define a function.\n\n"
            "delete-name-space\n(delete-name-space <NAME>)\n\n");
  CmdInterpreter::the_interpreter->list_entries(std::cout, "eval");
  EXPECT_EQ(out(), "eval\n(eval LExp) Evaluate LExp with 0 as input.\n\n");
}

}  // namespace
}  // namespace lorvan::exprtest
