// The embedding interface: start-up, command lines, lexicon entries.
#include "lorvan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

TEST(Embedding, StartupRegistersTheModulesAndRunsTheStartupFileWithoutPrompts) {
  testsupport::TempDir dir;
  dir.write("lorvan.lsp", "(echo started)\n(set-current-name-space \"Mine\")");
  std::ostringstream out, err;
  std::streambuf* saved_out = std::cout.rdbuf(out.rdbuf());
  std::streambuf* saved_err = std::cerr.rdbuf(err.rdbuf());

  initialize_lorvan(dir.path().c_str());
  EXPECT_EQ(out.str(), "started\n");
  EXPECT_STREQ(NameSpace::theCurrentNameSpace->name(), "Mine");
  EXPECT_NE(NameSpace::find("STD"), nullptr);
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  ASSERT_NE(interp, nullptr);
  EXPECT_EQ(interp->interactive(), 0);
  for (const char* command : {"load", "delete-name-space", "set-current-name-space",
                              "skip-deleting-name-space", "classes", "objects",
                              "def-tree-rules", "def-vantic-parser", "p2", "p3", "init-attributes"}) {
    EXPECT_NE(interp->val(command), nullptr) << command;
  }
  EXPECT_NE(std::find(PATHS.begin(), PATHS.end(), dir.path()), PATHS.end());

  out.str("");
  interpret_command_line("(echo a) (echo b)");
  EXPECT_EQ(out.str(), "a\nb\n");

  print_lexicon_entry("word", out, "nolex");
  print_lexicon_entry("word", out, nullptr);
  std::cout.rdbuf(saved_out);
  std::cerr.rdbuf(saved_err);
  EXPECT_EQ(err.str(), "The named object 'nolex' (type=Lexicon) is not found\n");
  EXPECT_EQ(out.str(), "a\nb\n");
}

}  // namespace
}  // namespace lorvan
