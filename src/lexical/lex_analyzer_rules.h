// Where the lexical analyzer meets lexical rule lists (named objects of
// type "LexRuleList"): LexAnalyzer::apply_rules() and the rule-list
// commands that lexitem_init registers beside the analyzer's own.
//
// Lexical rules -- patterns over the lattice with actions that add, change
// and delete items -- are not part of this build yet.  Until they are, no
// rule list can exist: apply_rules() has nothing to apply, and the commands
// below accept their arguments and do nothing.  The rule module replaces
// this file with the real handlers and LexAnalyzer::apply_rules().
#ifndef LORVAN_LEXICAL_LEX_ANALYZER_RULES_H_
#define LORVAN_LEXICAL_LEX_ANALYZER_RULES_H_

namespace lorvan {

class IRSlist;

// (def-rules NAME RULE ...)
void* def_rules(IRSlist* args);
// (insert-lex-rules NAME ANCHOR RULE ...)
void* insert_lex_rules(IRSlist* args);
// (debug-rules NAME [REGEX])
void* debug_rules(IRSlist* args);
// (disable-rules NAME REGEX ...)
void* disable_rules(IRSlist* args);

// Enters the four commands above, with their help texts, into
// CmdInterpreter::the_interpreter.
void register_rule_list_commands();

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEX_ANALYZER_RULES_H_
