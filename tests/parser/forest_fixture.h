// Test set-up shared by the weight and forest tests: the command language
// started once per process with the modules the parser needs, and the
// start-up file of tests/data/forest loaded (it makes the parser
// "forest-parser" over the analyzer "forest-analyzer").
#ifndef LORVAN_TESTS_PARSER_FOREST_FIXTURE_H_
#define LORVAN_TESTS_PARSER_FOREST_FIXTURE_H_

#include <string>

#include <gtest/gtest.h>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "deptree/deps.h"
#include "parser/parser_runtime.h"
#include "parser/vantic_parser.h"

namespace lorvan::forest_test {

inline void start_forest_grammar() {
  if (parsertest::start_parser_runtime("forest")) {
    CmdInterpreter::the_interpreter->interpret("(load \"lorvan.lsp\")");
  }
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
