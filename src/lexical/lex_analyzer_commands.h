// The commands of the lexical analyzer: making analyzers, setting their
// markers, the punctuation switch, removing redundant items, and defining
// ending tables.  Each handler takes its argument list (the command name
// removed) and returns the object it made or changed, or null.  Failures
// are messages on std::cerr (unknown names are reported by the named-object
// look-up); the command then does nothing.
#ifndef LORVAN_LEXICAL_LEX_ANALYZER_COMMANDS_H_
#define LORVAN_LEXICAL_LEX_ANALYZER_COMMANDS_H_

namespace lorvan {

class IRSlist;

// (make-lex-analyzer NAME [:suggested-sentence-length N] [:lexicon LEX |
//  :word-list COUNTER] [:lexical-rules RULES] [:hook EXP]
//  [:meaning-selector EXP]): registers a new analyzer as a named object of
// type "LexAnalyzer".  :word-list counts only without :lexicon.  Nothing
// without a name.
void* make_lex_analyzer(IRSlist* args);
// (set-lex-analyzer-focus-marker ANALYZER MARKER): the first character of
// MARKER.
void* set_lex_analyzer_focus_marker(IRSlist* args);
// (set-lex-analyzer-pos-marker ANALYZER MARKER).
void* set_lex_analyzer_pos_marker(IRSlist* args);
// (not-to-remove-punc-marks 0|1): sets NOT_TO_REMOVE_PUNC_MARKS.
void* not_to_remove_punc_marks(IRSlist* args);
// (rmli ANALYZER): removeRedundant(), then the remaining items on
// std::cout.
void* rmli(IRSlist* args);
// (def-endings NAME ENDING ...): adds the endings to the ending table NAME,
// made (room for 50) and registered as "EndingTable" when missing.
void* def_endings(IRSlist* args);

// Enters the commands above, with their help texts, into
// CmdInterpreter::the_interpreter.
void register_lex_analyzer_commands();

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEX_ANALYZER_COMMANDS_H_
