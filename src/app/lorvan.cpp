#include "lorvan.h"

#include <iostream>

#include "app/sentence_commands.h"
#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "deptree/trel_init.h"
#include "deptree/treerule_init.h"
#include "expr/lconst.h"
#include "expr/lexp_init.h"
#include "features/attpred_init.h"
#include "lexical/lexitem_init.h"
#include "lexical/token_commands.h"
#include "lexicon/lexicon.h"
#include "lexicon/lexicon_init.h"
#include "parser/builtin_atts.h"
#include "parser/lorvan_init.h"
#include "searchpath.h"
#include "stats/tripledb_init.h"

namespace lorvan {
namespace {

CmdInterpreter& the_interpreter() {
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  return *CmdInterpreter::the_interpreter;
}

// Every module registers its commands, expression kinds and factory makers
// here.  Later modules look up what earlier ones registered, so the order is
// fixed:
//   namedobj_init, trel_init, token_init, objfact_init, lexicon_init,
//   lexitem_init, lexp_init, matchexp_init, attpred_init, lexpred_init,
//   charpred_init, intpred_init, lconst_init, treerule_init, lorvan_init;
// then the command init-attributes (handler init_attributes, no help text);
// then tripledb_init and simword_init.
// A module that is not part of this build is simply absent from the calls.
// attpred_init also registers what it builds on: the attribute-vector
// commands and kinds (attvec_init) and the list-attribute expressions.
// The parser's sentence commands that print a ParseTree (p2, p3) belong to
// the front end, which holds the ParseTree; they come with the parser's
// commands.  Runs once, as every registration function does.
void register_modules(CmdInterpreter& interp) {
  static bool done = false;
  if (done) return;
  done = true;
  namedobj_init();
  trel_init();
  token_init();
  objfact_init();
  lexicon_init();
  lexitem_init();
  lexp_init();
  attpred_init();
  lconst_init();
  treerule_init();
  lorvan_init();
  sentence_commands_init();
  interp.enter("init-attributes", init_attributes, nullptr);
  // After init-attributes: the databases (every database command and the
  // word-sequence counter).
  tripledb_init();
}

}  // namespace

void initialize_lorvan(const char* paths) {
  CmdInterpreter& interp = the_interpreter();
  set_search_paths(paths);
  register_modules(interp);
  auto startup = open_file_on_search_path("lorvan.lsp");
  interp.interactive(0);
  if (startup) interp.interpret(*startup);
}

void interpret_command_line(const char* text) { the_interpreter().interpret(text); }

void print_lexicon_entry(const char* word, std::ostream& out, const char* lexicon_name) {
  if (lexicon_name == nullptr) return;
  auto* lexicon = static_cast<Lexicon*>(get_named_obj(lexicon_name, "Lexicon", 1));
  if (lexicon == nullptr || word == nullptr) return;
  lexicon->print_entry(out, lexicon->search_entry(word));
}

}  // namespace lorvan
