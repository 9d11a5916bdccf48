#include "parser/weight_commands.h"

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"

namespace lorvan {

int DEBUGW = 0;

namespace {

void* set_reldb(IRSlist* args) {
  void* parser = get_named_obj(args->get_val(), "VanticParser", 1);
  void* db = get_named_obj(args->get_val(), "TripleDb", 1);
  if (parser == nullptr || db == nullptr) return nullptr;
  return db;
}

void* set_pairdb(IRSlist* args) {
  void* parser = get_named_obj(args->get_val(), "VanticParser", 1);
  void* db = get_named_obj(args->get_val(), "PairDb", 1);
  if (parser == nullptr || db == nullptr) return nullptr;
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
