// The commands over sorted lexicon files (lex_file_utils.h) and get-entry,
// which reads entries from a dictionary on disk (dict_on_disk.h).
#ifndef LORVAN_LEXICON_LEX_FILE_UTILS_COMMANDS_H_
#define LORVAN_LEXICON_LEX_FILE_UTILS_COMMANDS_H_

namespace lorvan {

// Registers select, diff, update-lex, combine-lex, filter-entries,
// get-entry, merge-entries, sort-lex and rm-duplicates with
// CmdInterpreter::the_interpreter (with re_enter, so later registrations
// replace them).  Runs once.
void lex_file_utils_commands_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEX_FILE_UTILS_COMMANDS_H_
