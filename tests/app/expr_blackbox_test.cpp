// Black-box tests of the expression language through parsedemo's command
// lines: functions, macros, variables and effects, made visible through
// exec-commands running echo.  Every input line prints parsedemo's command
// flag "1" before its own output, and the end of the input one more "1".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

TEST(ExprBlackBox, FunctionsDefinedAtStartUpAndOnCommandLines) {
  RunResult r = run_parsedemo(
      "(defun shout (x) (exec-commands (echo loud)) (get-val x))\n",
      "~(defun twice-shout (y) (shout (shout (get-val y))))\n"
      "~(eval (if (twice-shout (t)) (exec-commands (echo true)) (exec-commands (echo false))))\n"
      "~(eval (shout))\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11loud\nloud\ntrue\n1loud\n1\n");
  EXPECT_EQ(r.err, "shout requires 1 arguments. 0 found.\n");
}

TEST(ExprBlackBox, MacrosExpandAsCommandsAndAsExpressions) {
  RunResult r = run_parsedemo(
      "(defmacro say (w) (echo w w))\n"
      "(defmacro run-all ((cmds)) (eval (exec-commands cmds)))\n"
      "(defmacro yes-or-no (c) (if c (exec-commands (echo yes)) (exec-commands (echo no))))\n",
      "~(say \"a b\")\n"
      "~(run-all ((echo one) (echo two)))\n"
      "~(eval (yes-or-no (nil)) (yes-or-no (not)))\n"
      "~(debug-macro say)\n"
      "~(say hi)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1a b a b\n1one\ntwo\n1no\nyes\n11hi hi\n1\n");
  EXPECT_EQ(r.err, "Expand macro: say\n(echo hi hi)\n\n");
}

TEST(ExprBlackBox, VariablesKeepTheirValuesBetweenLines) {
  RunResult r = run_parsedemo(
      "(declare-var flag)\n",
      "~(eval (setq flag (t)))\n"
      "~(eval (when (get-val flag) (exec-commands (echo set))))\n"
      "~(eval (let (flag) (setq flag (nil))) (when (get-val flag) (exec-commands (echo kept))))\n"
      "~(eval (setq missing (t)))\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11set\n1kept\n11\n");
  EXPECT_EQ(r.err, "(setq ... ): the variable missing is not defined\n");
}

TEST(ExprBlackBox, ForeachNamedExpressionsAndExistFile) {
  RunResult r = run_parsedemo(
      "(make-lexp hello (exec-commands (echo hello)))\n",
      "~(foreach (a b c) :eval (exec-commands (echo word)))\n"
      "~(eval (if (exist-file \"lorvan.lsp\") (exec-commands (echo found))))\n"
      "~(eval (if (exist-file \"absent.lsp\") (t) (exec-commands (echo absent))))\n"
      "~(eval (named-obj hello LExp))\n"
      "~(eval (no-such-kind))\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1word\nword\nword\n1found\n1absent\n111\n");
  EXPECT_EQ(r.err, "LExp::get_exp:  unknown type: 'no-such-kind'\n");
}

TEST(ExprBlackBox, OpenFileForWritingCreatesItsDirectories) {
  TempDir dir;
  dir.write("lorvan.lsp", "");
  dir.write("input.txt",
            "~(eval (comp (str \"out/deep/file.txt\") (open-file :write)))\n");
  RunResult r = run_parsedemo_in(dir, {"-p", dir.path(), "-file", "input.txt", "-d"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("out/deep/file.txt")));
}

TEST(ExprBlackBox, SelfExpandingMacrosAreStoppedAsExpressionsAndAsCommands) {
  RunResult r = run_parsedemo("(defmacro again () (again) (again))\n",
                              "~(eval (again))\n~(again)\n~(echo after)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "LExp::get_exp: expressions nested deeper than 2000 levels at 'again'; the "
            "expression is left out\n"
            "Macro expansions nested deeper than 1000 levels are not run\n");
  EXPECT_EQ(r.out, "111after\n1\n");
}

}  // namespace
}  // namespace lorvan::testsupport
