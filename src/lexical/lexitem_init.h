// lexitem_init: the start-up registration of the lexical analyzer module --
// its commands (lex_analyzer_commands.h) and the rule-list commands
// registered beside them (lex_analyzer_rules.h).  Sixth in the fixed
// start-up order, after lexicon_init.  Its body runs once.
#ifndef LORVAN_LEXICAL_LEXITEM_INIT_H_
#define LORVAN_LEXICAL_LEXITEM_INIT_H_

namespace lorvan {

// Needs CmdInterpreter::the_interpreter.
void lexitem_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEXITEM_INIT_H_
