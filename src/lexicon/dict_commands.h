// The command that links lexicons to dictionaries on disk:
//
//   (link-lex-file LEXICON HEADER ...)
//       links each dictionary described by a HEADER file (found on the
//       search path) to the lexicon, in order, so that a word not found in
//       memory is looked up in them; a dictionary that cannot be used is
//       reported and not linked.
#ifndef LORVAN_LEXICON_DICT_COMMANDS_H_
#define LORVAN_LEXICON_DICT_COMMANDS_H_

namespace lorvan {

class IRSlist;

// The handler; returns the lexicon (null when it was not found).
void* link_lex_file(IRSlist* args);

// Registers link-lex-file with CmdInterpreter::the_interpreter, which must
// exist.  Runs once.
void dict_commands_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_COMMANDS_H_
