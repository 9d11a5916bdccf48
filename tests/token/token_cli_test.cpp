// Black-box tests of the built `token` program: arguments, standard
// streams, exit statuses, and the descriptor I/O path on large input.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "string_streams.h"

namespace lorvan::token {
namespace {

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs `token` with `args` on `input`; with `through_pipe` the input comes
// through a pipe (short reads) instead of a file.
RunResult run_token(const std::string& input, const std::string& args,
                    bool through_pipe = false) {
  // ctest may run several of these tests at once: one set of files each.
  const std::string base = ::testing::TempDir() + "token_cli_" + std::to_string(getpid());
  const std::string in = base + "_in.txt";
  const std::string out = base + "_out.txt";
  const std::string err = base + "_err.txt";
  std::ofstream(in, std::ios::binary) << input;
  std::string command = "'" TOKEN_BINARY_PATH "' " + args;
  command = through_pipe ? "cat '" + in + "' | " + command : command + " < '" + in + "'";
  command += " > '" + out + "' 2> '" + err + "'";
  int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = read_file(out);
  result.err = read_file(err);
  for (const std::string& path : {in, out, err}) std::remove(path.c_str());
  return result;
}

const std::string kJohn = "^ John's dog barked.\n$$EOF$$";
const std::string kJohnBlanks = "^ John 's  dog barked .\n";
const std::string kJohnSpans =
    "^ <w s='2' e='5'>John</w> <w s='6' e='7'>'s</w>  <w s='9' e='11'>dog</w> "
    "<w s='13' e='18'>barked</w> <w s='19' e='19'>.</w>\n";

TEST(TokenCliTest, OnlyASingleDashWSelectsSpanMode) {
  const struct {
    const char* args;
    const std::string& expected;
  } kCases[] = {
      {"", kJohnBlanks},      {"-w", kJohnSpans},     {"-x", kJohnBlanks},
      {"-W", kJohnBlanks},    {"-w -w", kJohnBlanks}, {"-w extra", kJohnBlanks},
      {"' -w'", kJohnBlanks},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args);
    RunResult r = run_token(kJohn, c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.err, "");
  }
}

TEST(TokenCliTest, TokenOverflowExitsWithStatusOne) {
  RunResult r = run_token("^ ok " + std::string(1001, 'a') + "\n", "-w");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Token buffer overflow at '" + std::string(1000, 'a') + "'\n");
  EXPECT_EQ(r.out, "^ <w s='2' e='3'>ok</w> ");  // what came before is out
}

TEST(TokenCliTest, OverlongMatchExitsWithStatusTwo) {
  RunResult r = run_token("^ <w>" + std::string(20000, 'x') + "</w>\n", "");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("longer than 16384"), std::string::npos) << r.err;
}

TEST(TokenCliTest, LargeInputThroughFileAndPipe) {
  std::string input = "Copied header. It's not tokenized.\n";
  for (int i = 0; input.size() < 3'000'000; ++i) {
    input += "^ Segment " + std::to_string(i) +
             ": \"They've paid $" + std::to_string(i % 97) + ".50 (approx.)--or not...\"\n";
  }
  input += "no final newline";
  for (const char* args : {"", "-w"}) {
    TokenScanner::Mode mode = *args ? TokenScanner::Mode::kSpans : TokenScanner::Mode::kBlanks;
    testing::ScanResult expected = testing::scan(input, mode);
    ASSERT_EQ(expected.status, 0);
    for (bool pipe : {false, true}) {
      SCOPED_TRACE(std::string(args) + (pipe ? " through a pipe" : " from a file"));
      RunResult r = run_token(input, args, pipe);
      EXPECT_EQ(r.status, 0);
      EXPECT_TRUE(r.out == expected.out);  // too large for a readable diff
      EXPECT_EQ(r.err, "");
    }
  }
}

}  // namespace
}  // namespace lorvan::token
