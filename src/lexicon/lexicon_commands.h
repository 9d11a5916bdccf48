// The lexicon commands: make-lexicon, lex, load-lex, lex-entry,
// clear-lexicon, print-lex and make-str-meaning-proto; and, through
// lex_file_utils_commands_init(), the sorted-file utilities.
#ifndef LORVAN_LEXICON_LEXICON_COMMANDS_H_
#define LORVAN_LEXICON_LEXICON_COMMANDS_H_

namespace lorvan {

// Registers the commands with CmdInterpreter::the_interpreter.  Runs once.
void lexicon_commands_init();

// Registers select, diff, update-lex, combine-lex, filter-entries,
// get-entry, merge-entries, sort-lex and rm-duplicates (with re_enter, so
// later registrations replace them).  Runs once.
void lex_file_utils_commands_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_COMMANDS_H_
