#include "parser/weight_commands.h"

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "parser/vantic_parser.h"

namespace lorvan {

int DEBUGW = 0;

namespace {

VanticParser* named_parser(IRSlist* args) {
  return static_cast<VanticParser*>(get_named_obj(args->get_val(), "VanticParser", 1));
}

void* set_reldb(IRSlist* args) {
  VanticParser* parser = named_parser(args);
  auto* db = static_cast<TripleDb*>(get_named_obj(args->get_val(), "TripleDb", 1));
  if (parser == nullptr || db == nullptr) return nullptr;
  parser->reldb(db);
  return db;
}

// No module makes objects of type "PairDb", so the look-up reports the
// name as not found and the parser keeps none.
void* set_pairdb(IRSlist* args) {
  VanticParser* parser = named_parser(args);
  auto* db = static_cast<PairDb*>(get_named_obj(args->get_val(), "PairDb", 1));
  if (parser == nullptr || db == nullptr) return nullptr;
  parser->pairdb(db);
  return db;
}

void* debug_weight(IRSlist* args) {
  DEBUGW = static_cast<int>(args->get_long_val());
  return nullptr;
}

}  // namespace

void weight_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.enter("set-reldb", set_reldb, "(det-reldb PARSER DEPDB) use the DEPDB in the parser.");
  interp.enter("set-pairdb", set_pairdb, "(det-pairdb PARSER PAIRDB) use the PairDb in the parser.");
  interp.enter("debug-weight", debug_weight, nullptr);
}

}  // namespace lorvan
