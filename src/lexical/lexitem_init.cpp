#include "lexical/lexitem_init.h"

#include "lexical/lex_analyzer_commands.h"
#include "lexical/lex_analyzer_rules.h"

namespace lorvan {

void lexitem_init() {
  static bool done = false;
  if (done) return;
  done = true;
  register_lex_analyzer_commands();
  register_rule_list_commands();
}

}  // namespace lorvan
