// The tokenizer commands run through the interpreter: what each definition
// makes and registers, its argument errors, encoding selection, and trying
// a tokenizer on a file.
#include "lexical/token_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "searchpath.h"

namespace lorvan {
namespace {

using Tokens = std::vector<std::string>;

// Every token of `text`.  A separator tokenizer stops at the token that
// reaches the end, which is kept only when it holds text.
Tokens tokens_of(TokenizerBase& t, const char* text) {
  t.set_string_input(text, -1);
  Tokens out;
  for (const char* token; (token = t.get_token()) != nullptr;) {
    const bool last = t.separator_mode() && t.finished();
    if (!last || *token != '\0') out.emplace_back(token);
    if (last) break;
  }
  return out;
}

// Each test starts with a fresh "STD" name space, the default encoding
// ASCII, no search path, and both standard streams captured.  Registered
// tokenizers are destroyed with their deleter at the end.
class TokenCommandsTest : public ::testing::Test {
 protected:
  TokenCommandsTest()
      : saved_err_(std::cerr.rdbuf(err_.rdbuf())), saved_out_(std::cout.rdbuf(out_.rdbuf())) {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    token_init();
    TokenizerBase::defaultEncoding = TokenizerBase::kAscii;
    clear_search_path();
  }
  ~TokenCommandsTest() override {
    forget_tokenizers();
    TokenizerBase::defaultEncoding = TokenizerBase::kAscii;
    clear_search_path();
    std::cout.rdbuf(saved_out_);
    std::cerr.rdbuf(saved_err_);
  }

  // Destroys every registered tokenizer and starts a fresh "STD".
  static void forget_tokenizers() {
    SKIP_DELETING_NAME_SPACE = 0;
    delete_all_name_spaces();
    SKIP_DELETING_NAME_SPACE = 1;
    set_current_name_space("STD");
  }
  static void run(const std::string& commands) {
    CmdInterpreter::the_interpreter->interpret(commands.c_str());
  }
  // Runs one command and returns its handler's result.
  void* result_of(const std::string& command) {
    auto tokenizer = make_command_tokenizer();
    auto cmd = make_irslist(command.c_str(), tokenizer.get());
    return CmdInterpreter::the_interpreter->interpret_one_cmd(cmd.get());
  }
  static TokenizerBase* named(const char* name) {
    return static_cast<TokenizerBase*>(get_named_obj(name, "TokenizerBase", 0));
  }

  std::string err() { return take(err_); }
  std::string out() { return take(out_); }

 private:
  static std::string take(std::ostringstream& s) {
    std::string text = s.str();
    s.str("");
    return text;
  }

  std::ostringstream err_;
  std::ostringstream out_;
  std::streambuf* saved_err_;
  std::streambuf* saved_out_;
};

TEST_F(TokenCommandsTest, CommandsAreRegisteredOnceWithTheirHelpTexts) {
  token_init();  // a second call enters nothing twice
  EXPECT_EQ(err(), "");
  struct Case {
    const char* name;
    const char* help;
  };
  const Case cases[] = {
      {"def-tokenizer",
       "(def-tokenizer <name>\n  white-chars\n  start-chars\n  middle-chars\n  quote-chars\n"
       "  escape-chars\n  comment-chars\n  )\n   defines a tokenizer"},
      {"def-socket-tokenizer",
       "(def-socket-tokenizer <name>\n  white-chars\n  start-chars\n  middle-chars\n"
       "  quote-chars\n  escape-chars\n  comment-chars\n  )\n   defines a socket-tokenizer"},
      {"default-character-encoding",
       "(default-character-encoding [tokenizer] ASCII|DoubleByte|UTF-8)"},
      {"test-tokenizer", "(test-tokenizer TOKENIZER INPUT_STREAM)"},
  };
  for (const Case& c : cases) {
    std::ostringstream listing;
    CmdInterpreter::the_interpreter->list_entries(listing, c.name);
    EXPECT_EQ(listing.str(), std::string(c.name) + "\n" + c.help + "\n\n");
  }
}

// What a definition makes, seen through the tokens it yields.
TEST_F(TokenCommandsTest, DefTokenizerBuildsItsConfigurationFromTheArguments) {
  struct Case {
    const char* what;
    const char* command;
    const char* input;
    Tokens tokens;
  };
  const Case cases[] = {
      {"white and start classes", R"((def-tokenizer :name t " " "-" "" "" "" ""))",
       "a-b  c", {"a", "-b", "  ", "c"}},
      {"middle class", R"((def-tokenizer :name t " " "" "," "" "" ""))", "1,000 a, b",
       {"1,000", " ", "a", ",", " ", "b"}},
      {"quotes, escape and comment are the first characters",
       R"((def-tokenizer :name t " " "" "" "\"" "\\xyz" "#abc"))", R"("a\"b" x#rest)",
       {"\"a\"b\"", " ", "x", "#rest"}},
      {"empty escape and comment atoms give none",
       R"((def-tokenizer :name t " " "" "" "\"" "" ""))", R"(x#y "a\")", {"x#y", " ", "\"a\\\""}},
      {"long quotes are appended in order",
       R"((def-tokenizer :name t " " "" "" "<>" "" "" :long-quotes ("<!--" "-->" "[[" "]]")))",
       "<!-- a > b --> [[c d]]", {"<!-- a > b -->", " ", "[[c d]]"}},
      {"recursive quotes nest", R"c((def-tokenizer :name t " " "" "" "()" "" "" :recursive "("))c",
       "(a (b) c)", {"(a (b) c)"}},
      {"without :recursive the first closer ends", R"c((def-tokenizer :name t " " "" "" "()" "" ""))c",
       "(a (b) c)", {"(a (b)", " ", "c)"}},
      {"a separator ignores the positional atoms",
       R"((def-tokenizer :separator ";" :name t "x" "y"))", "a;b;c", {"a;", "b;", "c"}},
      {"keywords anywhere, in any letter case",
       R"((def-tokenizer " " "" "" "" "" "" :NAME t))", "a b", {"a", " ", "b"}},
  };
  for (const Case& c : cases) {
    run(c.command);
    EXPECT_EQ(err(), "") << c.what;
    TokenizerBase* t = named("t");
    ASSERT_NE(t, nullptr) << c.what;
    EXPECT_EQ(tokens_of(*t, c.input), c.tokens) << c.what;
    forget_tokenizers();
  }
}

TEST_F(TokenCommandsTest, DefinitionsRegisterTheirClassUnderItsTypeString) {
  void* made = result_of(R"((def-tokenizer :name words " " "" "" "" "" ""))");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(get_named_obj("WORDS", "Tokenizer", 1), made);
  EXPECT_NE(dynamic_cast<Tokenizer*>(named("words")), nullptr);
  EXPECT_EQ(get_named_tokenizer("words"), named("words"));

  void* socket = result_of(R"((def-socket-tokenizer :name sock " " "" "" "" "" ""))");
  ASSERT_NE(socket, nullptr);
  EXPECT_EQ(get_named_obj("sock", "SocketTokenizer", 1), socket);
  EXPECT_EQ(err(), "");
  // The type string also holds "Tokenizer", but a descriptor tokenizer
  // cannot read a stream.
  EXPECT_EQ(get_named_tokenizer("sock"), nullptr);
  EXPECT_EQ(err(),
            "The named object 'sock' is of the type 'SocketTokenizer/TokenizerBase', not the "
            "expected type 'Tokenizer'.\n");
}

TEST_F(TokenCommandsTest, SocketTokenizerReadsItsDescriptor) {
  const char* const commands[] = {
      R"((def-socket-tokenizer :name sock " " "" "," "" "" ""))",
      R"((def-socket-tokenizer :name sock :separator " "))",
  };
  const Tokens expected[] = {{"a,b", " ", "c"}, {"a,b ", "c"}};
  for (int i = 0; i < 2; ++i) {
    run(commands[i]);
    auto* t = dynamic_cast<SocketTokenizer*>(named("sock"));
    ASSERT_NE(t, nullptr) << commands[i];
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "a,b c", 5), 5);
    close(fds[1]);
    t->set_input_descriptor(fds[0]);
    Tokens got;
    for (const char* token; (token = t->get_token()) != nullptr && *token != '\0';) {
      got.emplace_back(token);
      if (t->finished()) break;
    }
    close(fds[0]);
    EXPECT_EQ(got, expected[i]) << commands[i];
    EXPECT_EQ(err(), "");
    forget_tokenizers();
  }
}

TEST_F(TokenCommandsTest, WrongArgumentCountDefinesNothing) {
  const char* const commands[] = {
      R"((def-tokenizer :name t " " "" "" "" ""))",
      R"((def-tokenizer :name t " " "" "" "" "" "" "extra"))",
      R"((def-tokenizer :name t))",
      R"((def-socket-tokenizer :name t " " "" "" "" ""))",
      // :recursive is no keyword of the socket tokenizer: two more atoms.
      R"((def-socket-tokenizer :name t " " "" "" "" "" "" :recursive "("))",
  };
  for (const char* command : commands) {
    EXPECT_EQ(result_of(command), nullptr) << command;
    EXPECT_EQ(err(), "(def-tokenizer ...) incorrect number of arguments\n") << command;
    EXPECT_EQ(named("t"), nullptr) << command;
  }
}

TEST_F(TokenCommandsTest, TokenizersThatCannotBeRegisteredAreNotKept) {
  // Unnamed: made, not registered; nothing is returned and nothing printed.
  EXPECT_EQ(result_of(R"((def-tokenizer " " "" "" "" "" ""))"), nullptr);
  EXPECT_EQ(err(), "");

  run(R"((def-tokenizer :name t " " "" "" "" "" ""))");
  TokenizerBase* first = named("t");
  EXPECT_EQ(result_of(R"((def-socket-tokenizer :name T "," "" "" "" "" ""))"), nullptr);
  EXPECT_EQ(err(), "Duplicate definition of T\n");
  EXPECT_EQ(named("t"), first);
  EXPECT_EQ(tokens_of(*first, "a,b c"), (Tokens{"a,b", " ", "c"}));

  EXPECT_EQ(result_of(R"((def-tokenizer :name nowhere::t " " "" "" "" "" ""))"), nullptr);
  EXPECT_EQ(err(), "The NameSpace nowhere::t is not defined.\n");
}

TEST_F(TokenCommandsTest, DefaultCharacterEncodingSelectsTheDefault) {
  struct Case {
    const char* args;
    int encoding;
    const char* message;
  };
  const Case cases[] = {
      {":encoding \"UTF-8\"", TokenizerBase::kUtf8, ""},
      {":encoding utf-8", TokenizerBase::kUtf8, ""},
      {":encoding doublebyte", TokenizerBase::kDoubleByte, ""},
      {":encoding Ascii", TokenizerBase::kAscii, ""},
      {"", TokenizerBase::kAscii, ""},
      {":encoding latin1", TokenizerBase::kAscii, "Unknown character encoding: 'latin1'\n"},
  };
  for (const Case& c : cases) {
    TokenizerBase::defaultEncoding = TokenizerBase::kDoubleByte;
    run(std::string("(default-character-encoding ") + c.args + ")");
    EXPECT_EQ(TokenizerBase::defaultEncoding, c.encoding) << c.args;
    EXPECT_EQ(err(), c.message) << c.args;
  }
  // Tokenizers made later take the default.
  run(R"((default-character-encoding :encoding "UTF-8"))"
      R"((def-tokenizer :name t " " "" "" "" "" ""))");
  ASSERT_NE(named("t"), nullptr);
  EXPECT_EQ(named("t")->encoding(), TokenizerBase::kUtf8);
  EXPECT_EQ(tokens_of(*named("t"), "a\xc3\xa9z"), (Tokens{"a", "\xc3\xa9", "z"}));
}

TEST_F(TokenCommandsTest, DefaultCharacterEncodingOfANamedTokenizer) {
  run(R"((def-tokenizer :name t " " "" "" "" "" ""))");
  TokenizerBase* t = named("t");
  ASSERT_NE(t, nullptr);

  run("(default-character-encoding :tokenizer t :encoding utf-8)");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(t->encoding(), TokenizerBase::kUtf8);
  EXPECT_EQ(TokenizerBase::defaultEncoding, TokenizerBase::kAscii);

  // An unknown or missing name resets the default as well.
  TokenizerBase::defaultEncoding = TokenizerBase::kUtf8;
  run("(default-character-encoding :tokenizer t :encoding ebcdic)");
  EXPECT_EQ(err(), "Unknown character encoding: 'ebcdic'\n");
  EXPECT_EQ(t->encoding(), TokenizerBase::kAscii);
  EXPECT_EQ(TokenizerBase::defaultEncoding, TokenizerBase::kAscii);

  run("(default-character-encoding :tokenizer nope :encoding DoubleByte)");
  EXPECT_EQ(err(), "The named object 'nope' (type=Tokenizer) is not found\n");
  EXPECT_EQ(TokenizerBase::defaultEncoding, TokenizerBase::kAscii);
}

// test-tokenizer reading files found on the search path.
class TestTokenizerTest : public TokenCommandsTest {
 protected:
  TestTokenizerTest() {
    dir_ = std::filesystem::temp_directory_path() /
           ("token_commands_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    append_to_search_path(dir_.c_str());
  }
  ~TestTokenizerTest() override { std::filesystem::remove_all(dir_); }

  void write(const char* name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
  }

  std::filesystem::path dir_;
};

TEST_F(TestTokenizerTest, PrintsEveryTokenOnItsOwnLine) {
  struct Case {
    const char* what;
    const char* definition;
    std::string content;
    std::string printed;
  };
  const Case cases[] = {
      {"white tokens included, newlines written as \\n",
       R"((def-tokenizer :name t " \n" "" "," "" "" ""))", "a  b\nc,\n",
       "a\n  \nb\n\\n\nc\n,\n\\n\n"},
      {"separator lines, the last without its newline",
       R"((def-tokenizer :name t :separator "\n"))", "one\ntwo\nlast", "one\\n\ntwo\\n\nlast\n"},
      {"separator input ending in the separator", R"((def-tokenizer :name t :separator "\n"))",
       "one\ntwo\n", "one\\n\ntwo\\n\n"},
      {"empty file", R"((def-tokenizer :name t " " "" "" "" "" ""))", "", ""},
  };
  for (const Case& c : cases) {
    write("token_input.txt", c.content);
    run(c.definition);
    run("(test-tokenizer t \"token_input.txt\")");
    EXPECT_EQ(out(), c.printed) << c.what;
    EXPECT_EQ(err(), "") << c.what;
    forget_tokenizers();
  }
}

TEST_F(TestTokenizerTest, EachRunStartsOverAndLeavesNoStreamBehind) {
  write("token_input.txt", "x y");
  run(R"((def-tokenizer :name t " " "" "" "" "" ""))");
  run("(test-tokenizer t \"token_input.txt\")(test-tokenizer t \"token_input.txt\")");
  EXPECT_EQ(out(), "x\n \ny\nx\n \ny\n");
  Tokenizer* t = get_named_tokenizer("t");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->input_stream(), nullptr);
  EXPECT_EQ(tokens_of(*t, "p q"), (Tokens{"p", " ", "q"}));
  EXPECT_EQ(err(), "");
}

TEST_F(TestTokenizerTest, DashReadsStandardInput) {
  run(R"((def-tokenizer :name t " " "" "" "" "" ""))");
  std::istringstream typed("from stdin");
  std::streambuf* saved = std::cin.rdbuf(typed.rdbuf());
  run("(test-tokenizer t \"-\")");
  std::cin.rdbuf(saved);
  EXPECT_EQ(out(), "from\n \nstdin\n");
}

TEST_F(TestTokenizerTest, MissingTokenizerOrInputPrintsOnlyTheLookUpReports) {
  write("token_input.txt", "x");
  run(R"((def-socket-tokenizer :name sock " " "" "" "" "" ""))"
      R"((def-tokenizer :name t " " "" "" "" "" ""))");
  struct Case {
    const char* command;
    const char* message;
  };
  const Case cases[] = {
      {"(test-tokenizer nope \"token_input.txt\")",
       "The named object 'nope' (type=Tokenizer) is not found\n"},
      {"(test-tokenizer t \"missing.txt\")", "The file missing.txt cannot be opened\n"},
      {"(test-tokenizer sock \"token_input.txt\")",
       "The named object 'sock' is of the type 'SocketTokenizer/TokenizerBase', not the "
       "expected type 'Tokenizer'.\n"},
  };
  for (const Case& c : cases) {
    run(c.command);
    EXPECT_EQ(out(), "") << c.command;
    EXPECT_EQ(err(), c.message) << c.command;
  }
}

TEST_F(TokenCommandsTest, LongQuoteFromAListTakesTwoAtomsInTurn) {
  auto tokenizer = make_command_tokenizer();
  auto list = make_irslist(R"(("<!--" "-->" "[[" (x)))", tokenizer.get());
  LongQuoteRecognizer first = make_long_quote(*list);
  EXPECT_EQ(first.start(), "<!--");
  EXPECT_EQ(first.end(), "-->");
  EXPECT_EQ(list->length(), 2);
  // A list in the end position gives an absent end marker; an exhausted
  // list gives absent markers.
  LongQuoteRecognizer second = make_long_quote(*list);
  EXPECT_EQ(second.start(), "[[");
  EXPECT_EQ(second.end(), "");
  EXPECT_EQ(err(), "expecting an atom. This is found instead:\n(x)\n");
  LongQuoteRecognizer none = make_long_quote(*list);
  EXPECT_EQ(none.start(), "");
  EXPECT_FALSE(none.isStart("anything"));
}

}  // namespace
}  // namespace lorvan
