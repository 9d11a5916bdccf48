#include "lexical/lex_analyzer_rules.h"

#include "command/cmd_interpreter.h"
#include "lexical/lex_analyzer.h"

namespace lorvan {

// No rule list can be made in this build, so there is never one to apply.
void LexAnalyzer::apply_rules(LexRuleList& /*rules*/) {}

void* def_rules(IRSlist* /*args*/) { return nullptr; }
void* insert_lex_rules(IRSlist* /*args*/) { return nullptr; }
void* debug_rules(IRSlist* /*args*/) { return nullptr; }
void* disable_rules(IRSlist* /*args*/) { return nullptr; }

void register_rule_list_commands() {
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.enter("def-rules", def_rules,
               "(def-rules name rule1 rule2 ...) define a set of lexical rules. If the rule set "
               "so name is already defined, rule1 rule2 ... are appended at the end.");
  interp.enter("insert-lex-rules", insert_lex_rules,
               "(insert-lex-rules rule-set anchor-rule rule1 ...) define new rules and insert "
               "them before the anchor-rule.");
  interp.enter("debug-rules", debug_rules,
               "(debug-rules name-of-rule-set 0|1) set the debugging flag for a rule-set");
  interp.enter("disable-rules", disable_rules,
               "(disable-rules name-of-rule-set) set the debugging flag for a rule-set");
}

}  // namespace lorvan
