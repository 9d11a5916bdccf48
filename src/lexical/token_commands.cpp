// The tokenizer commands: def-tokenizer, def-socket-tokenizer,
// default-character-encoding and test-tokenizer.
#include "lexical/token_commands.h"

#include <cstddef>
#include <iterator>
#include <iostream>
#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "filestreams.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

constexpr std::size_t kInputSize = 512;
constexpr std::size_t kTokenizerBlock = 4096;
constexpr std::size_t kSocketTokenizerBlock = 512;
constexpr std::size_t kSeparatorBlock = 4096;

// The six positional arguments of a definition, in order.
enum ClassArg { kWhite, kStart, kMiddle, kQuotes, kEscape, kComment, kClassArgs };

// What a definition command was told.  The texts live in the command's
// arguments, so a config lasts only while the command runs.
struct TokenizerConfig {
  const char* name = nullptr;
  const char* separator = nullptr;
  const char* recursive = nullptr;
  std::unique_ptr<IRSlist> long_quotes;
  const char* classes[kClassArgs] = {};
};

// The first byte of an escape or comment argument; 0 for none.
char first_char(const char* text) { return text != nullptr ? text[0] : '\0'; }

// Removes the keywords from `args` (":recursive" only when it is one) and,
// without a separator, takes the six class arguments.  A wrong count is
// reported and gives false.
bool read_config(IRSlist& args, bool takes_recursive, TokenizerConfig& config) {
  config.name = args.remove_val(":name", true);
  config.long_quotes = args.remove_arg(":long-quotes", true);
  config.separator = args.remove_val(":separator", true);
  if (takes_recursive) config.recursive = args.remove_val(":recursive", true);
  if (config.separator != nullptr) return true;
  if (args.length() != kClassArgs) {
    std::cerr << "(def-tokenizer ...) incorrect number of arguments\n";
    return false;
  }
  for (const char*& text : config.classes) text = args.get_val();
  return true;
}

// Appends a recognizer for every two atoms of `list` (which it empties).
void add_long_quotes(TokenizerBase& t, IRSlist* list) {
  if (list == nullptr) return;
  while (list->first() != nullptr) t.add_long_quote(make_long_quote(*list));
}

// Makes a tokenizer of class T from `config`: a separator tokenizer, or a
// class tokenizer with the arena block `block`.
template <class T>
std::unique_ptr<TokenizerBase> build(const TokenizerConfig& config, std::size_t block) {
  std::unique_ptr<TokenizerBase> t;
  if (config.separator != nullptr) {
    t = std::make_unique<T>(config.separator, kSeparatorBlock, kInputSize);
  } else {
    const char* const* c = config.classes;
    t = std::make_unique<T>(c[kWhite], c[kStart], c[kMiddle], c[kQuotes],
                            first_char(c[kEscape]), first_char(c[kComment]), block,
                            kInputSize);
    add_long_quotes(*t, config.long_quotes.get());
  }
  if (config.recursive != nullptr) {
    for (const char* p = config.recursive; *p != '\0'; ++p) t->recursiveQuote(*p);
  }
  return t;
}

// Registers `t` under `name` with type `type`; the name space then owns
// it.  Returns it, or null (and destroys it) when it was not registered.
void* register_tokenizer(std::unique_ptr<TokenizerBase> t, const char* name,
                         const char* type) {
  if (name == nullptr) return nullptr;
  void* object = t.get();
  const NamedObjEntry* entry = register_named_obj(name, object, type, del_TokenizerBase);
  if (entry == nullptr || entry->object != object) return nullptr;
  t.release();
  return object;
}

void* def_tokenizer_cmd(IRSlist* args) {
  TokenizerConfig config;
  if (!read_config(*args, true, config)) return nullptr;
  return register_tokenizer(build<Tokenizer>(config, kTokenizerBlock),
                            config.name, kTokenizerType);
}

void* def_socket_tokenizer_cmd(IRSlist* args) {
  TokenizerConfig config;
  if (!read_config(*args, false, config)) return nullptr;
  return register_tokenizer(build<SocketTokenizer>(config, kSocketTokenizerBlock), config.name,
                            kSocketTokenizerType);
}

// The encoding called `name` (case-insensitive).  A missing or unknown
// name selects ASCII and also makes it the default again; an unknown one
// is reported.
int select_encoding(const char* name) {
  static constexpr const char* kNames[] = {"ASCII", "DoubleByte", "UTF-8"};
  if (name != nullptr) {
    for (int e = 0; e < static_cast<int>(std::size(kNames)); ++e) {
      if (lorvan::strcasecmp(name, kNames[e]) == 0) return e;
    }
    std::cerr << "Unknown character encoding: '" << name << "'\n";
  }
  TokenizerBase::defaultEncoding = TokenizerBase::kAscii;
  return TokenizerBase::kAscii;
}

void* default_character_encoding_cmd(IRSlist* args) {
  const char* tokenizer = args->remove_val(":tokenizer", true);
  const int encoding = select_encoding(args->remove_val(":encoding", true));
  if (tokenizer == nullptr) {
    TokenizerBase::defaultEncoding = encoding;
  } else if (void* t = get_named_obj(tokenizer, "Tokenizer", 1)) {
    static_cast<TokenizerBase*>(t)->set_encoding(encoding);
  }
  return nullptr;
}

// One token on its own line, each newline in it written as "\n".
void print_token(const char* token, std::ostream& out) {
  for (const char* p = token; *p != '\0'; ++p) {
    if (*p == '\n') {
      out << "\\n";
    } else {
      out << *p;
    }
  }
  out << '\n';
}

// Prints every token `t` reads from `in`.  A separator tokenizer never
// runs dry (at the end it keeps returning the empty rest), so it stops at
// the token that reaches the end, printed only when it holds text.  Each
// token is dropped once printed, so a long input needs no more than one
// token's room; the stream is detached at the end.
void print_tokens(Tokenizer& t, std::istream& in, std::ostream& out) {
  t.set_input_stream(&in);
  for (;;) {
    t.clear();
    const char* token = t.get_token();
    if (token == nullptr) break;
    const bool last = t.separator_mode() && t.finished();
    if (!last || *token != '\0') print_token(token, out);
    if (last) break;
  }
  t.clear();
  t.set_input_stream(nullptr);
}

void* test_tokenizer_cmd(IRSlist* args) {
  const char* name = args->get_val();
  const char* input = args->get_val();
  Tokenizer* t = get_named_tokenizer(name);
  std::istream* in = make_istream(input);
  if (t != nullptr && in != nullptr) print_tokens(*t, *in, std::cout);
  release_istream(in);
  return nullptr;
}

// The type string stored with `name` ("" when there is none).
const char* stored_type(const char* name) {
  const char* local = nullptr;
  const NameSpace* ns = NameSpace::getNameSpace(name, local);
  const NamedObjEntry* e = ns != nullptr ? ns->lookup(local) : nullptr;
  return e != nullptr && e->type != nullptr ? e->type : "";
}

}  // namespace

LongQuoteRecognizer make_long_quote(IRSlist& list) {
  const char* start = list.get_val();
  const char* end = list.get_val();
  return LongQuoteRecognizer(start, end);
}

void del_TokenizerBase(void* tokenizer) { delete static_cast<TokenizerBase*>(tokenizer); }

Tokenizer* get_named_tokenizer(const char* name) {
  auto* base = static_cast<TokenizerBase*>(get_named_obj(name, "Tokenizer", 1));
  if (base == nullptr) return nullptr;
  if (auto* t = dynamic_cast<Tokenizer*>(base)) return t;
  std::cerr << "The named object '" << name << "' is of the type '" << stored_type(name)
            << "', not the expected type 'Tokenizer'.\n";
  return nullptr;
}

void token_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("def-tokenizer", def_tokenizer_cmd,
                "(def-tokenizer <name>\n  white-chars\n  start-chars\n  middle-chars\n"
                "  quote-chars\n  escape-chars\n  comment-chars\n  )\n   defines a tokenizer");
  interp->enter("def-socket-tokenizer", def_socket_tokenizer_cmd,
                "(def-socket-tokenizer <name>\n  white-chars\n  start-chars\n"
                "  middle-chars\n  quote-chars\n  escape-chars\n  comment-chars\n  )\n"
                "   defines a socket-tokenizer");
  interp->enter("default-character-encoding", default_character_encoding_cmd,
                "(default-character-encoding [tokenizer] ASCII|DoubleByte|UTF-8)");
  interp->enter("test-tokenizer", test_tokenizer_cmd, "(test-tokenizer TOKENIZER INPUT_STREAM)");
}

}  // namespace lorvan
