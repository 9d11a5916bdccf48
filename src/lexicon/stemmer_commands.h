// The stemmer commands of the command language:
//
//   (make-stemmer NAME [:stem-table FILE] [:irr-verbs FILE] [:porter]
//                 [:ending-table (...)])
//       makes a Stemmer and registers it as the named object NAME of type
//       "Stemmer";
//   (test-stemmer NAME WORDS [:root-to-surface] [:show-ending])
//       prints, for each word of WORDS (a list, or a file of one word per
//       line), one line per root: word TAB root (root TAB word with
//       :root-to-surface), then TAB label with :show-ending.
#ifndef LORVAN_LEXICON_STEMMER_COMMANDS_H_
#define LORVAN_LEXICON_STEMMER_COMMANDS_H_

namespace lorvan {

class IRSlist;

// The command handlers.  make_stemmer returns the new Stemmer (null when
// nothing was registered), test_stemmer the stemmer it used.
void* make_stemmer(IRSlist* args);
void* test_stemmer(IRSlist* args);

// Registers make-stemmer and test-stemmer with
// CmdInterpreter::the_interpreter, which must exist.  Runs once.
void stemmer_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_STEMMER_COMMANDS_H_
