// The lexicon commands: make-lexicon, lex, load-lex, lex-entry,
// clear-lexicon, print-lex and make-str-meaning-proto; and, through
// lex_file_utils_commands_init() (lex_file_utils_commands.h), the
// sorted-file utilities.
#ifndef LORVAN_LEXICON_LEXICON_COMMANDS_H_
#define LORVAN_LEXICON_LEXICON_COMMANDS_H_

namespace lorvan {

// Registers the commands with CmdInterpreter::the_interpreter, the file
// utilities included.  Runs once.
void lexicon_commands_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_COMMANDS_H_
