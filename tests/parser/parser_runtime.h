// The command language as the parser tests need it: started once per
// process with the modules registered in start-up order, init-attributes
// entered, and the search path on tests/data/<folder>.  Each test program
// uses one data folder.
#ifndef LORVAN_TESTS_PARSER_PARSER_RUNTIME_H_
#define LORVAN_TESTS_PARSER_PARSER_RUNTIME_H_

#include <cstdlib>
#include <string>

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
#include "lexicon/lexicon_init.h"
#include "parser/builtin_atts.h"
#include "parser/lorvan_init.h"
#include "searchpath.h"

namespace lorvan::parsertest {

// Starts the runtime on first call and returns true then; later calls
// return false and change nothing.
inline bool start_parser_runtime(const char* data_folder) {
  static bool done = false;
  if (done) return false;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.interactive(0);
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
  interp.enter("init-attributes", init_attributes, nullptr);
  const char* data = std::getenv("LORVAN_TEST_DATA");
  set_search_paths((std::string(data != nullptr ? data : "tests/data") + "/" + data_folder).c_str());
  return true;
}

}  // namespace lorvan::parsertest

#endif  // LORVAN_TESTS_PARSER_PARSER_RUNTIME_H_
