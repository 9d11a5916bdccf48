// Test set-up shared by the weight and forest tests: the command language
// started once per process with the modules the parser needs, and the
// start-up file of tests/data/forest loaded (it makes the parser
// "forest-parser" over the analyzer "forest-analyzer").
#ifndef LORVAN_TESTS_PARSER_FOREST_FIXTURE_H_
#define LORVAN_TESTS_PARSER_FOREST_FIXTURE_H_

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "deptree/deps.h"
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
#include "parser/vantic_parser.h"
#include "searchpath.h"

namespace lorvan::forest_test {

inline void start_forest_grammar() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* interp = new CmdInterpreter(nullptr, '(', ')');
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
  interp->enter("init-attributes", init_attributes, nullptr);
  const char* data = std::getenv("LORVAN_TEST_DATA");
  set_search_paths((std::string(data != nullptr ? data : "tests/data") + "/forest").c_str());
  interp->interactive(0);
  interp->interpret("(load \"lorvan.lsp\")");
}

// The parser called `name`, defining it first, when missing, with the
// test analyzer, distances and grammar and the extra keyword arguments
// `keywords`.
inline VanticParser* forest_parser(const char* name = "forest-parser", const char* keywords = "") {
  start_forest_grammar();
  if (void* p = get_named_obj(name, "VanticParser", 0)) return static_cast<VanticParser*>(p);
  CmdInterpreter::the_interpreter->interpret(
      (std::string("(def-vantic-parser ") + name +
       " :attribute-vector-type syn :lexical-analyzer forest-analyzer :weights-of-words (int 25)"
       " :dist \"dist.txt\" " + keywords + ") (load \"grammar.lsp\")")
          .c_str());
  return static_cast<VanticParser*>(get_named_obj(name, "VanticParser", 1));
}

// Parses `text` with `parser` and returns the parser's structure.
inline Deps& parse_with(VanticParser& parser, const char* text) {
  parser.prepare_to_parse(text, nullptr);
  parser.parse();
  return *parser.deps();
}

}  // namespace lorvan::forest_test

#endif  // LORVAN_TESTS_PARSER_FOREST_FIXTURE_H_
