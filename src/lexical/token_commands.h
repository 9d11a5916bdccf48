// Tokenizer commands: command files define named tokenizers, choose the
// character encoding and try a tokenizer on a file with
//   def-tokenizer, def-socket-tokenizer, default-character-encoding and
//   test-tokenizer,
// which token_init() enters into CmdInterpreter::the_interpreter.
//
// A tokenizer defined with ":name N" is registered as the named object N
// with the deleter del_TokenizerBase, under the type "Tokenizer/
// TokenizerBase" (stream tokenizers) or "SocketTokenizer/TokenizerBase"
// (descriptor tokenizers); the name space then owns it (see named_obj.h).
// The registered pointer is always the object's TokenizerBase*.  A
// tokenizer that is not registered (no name, a duplicate name, an unknown
// name-space prefix) is destroyed at once: nothing could reach it.
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_LEXICAL_TOKEN_COMMANDS_H_
#define LORVAN_LEXICAL_TOKEN_COMMANDS_H_

#include "lexical/tokenizer.h"

namespace lorvan {

class IRSlist;

// Type strings of the registered tokenizers.
inline constexpr char kTokenizerType[] = "Tokenizer/TokenizerBase";
inline constexpr char kSocketTokenizerType[] = "SocketTokenizer/TokenizerBase";

// A recognizer made from the first two elements of `list`, which are
// removed in turn: the start marker, then the end marker.  A missing
// element, or one without text, gives an absent marker (a list element
// also prints IRSlist's "expecting an atom" message).
LongQuoteRecognizer make_long_quote(IRSlist& list);

// Destroys a tokenizer registered as a TokenizerBase*.
void del_TokenizerBase(void* tokenizer);

// The named stream tokenizer `name`, looked up under the type "Tokenizer"
// with the look-up's own report when it is missing.  A descriptor
// tokenizer also matches that type but cannot read a stream: it prints
// "The named object '<name>' is of the type '<type>', not the expected
// type 'Tokenizer'." and gives null.
Tokenizer* get_named_tokenizer(const char* name);

// Enters def-tokenizer, def-socket-tokenizer, default-character-encoding
// and test-tokenizer, in that order, with their help texts.
// CmdInterpreter::the_interpreter must exist.  Runs once.
void token_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_TOKEN_COMMANDS_H_
