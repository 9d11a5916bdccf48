// Shared set-up of the parser tests: the process-wide interpreter with the
// modules registered as at start-up, the search path on tests/data/parser,
// the attribute type "syn", the lexicon L and the analyzer LA of syn.lsp,
// and a fresh parser per test (parsers are named objects, so each test
// gets its own name).  Helpers parse a text and look items up in the chart.
#ifndef LORVAN_TESTS_PARSER_PARSER_FIXTURE_H_
#define LORVAN_TESTS_PARSER_PARSER_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lexp_init.h"
#include "lexical/lex_analyzer.h"
#include "lexical/token_commands.h"
#include "parser/builtin_atts.h"
#include "parser/parser_runtime.h"
#include "parser/gcate.h"
#include "parser/lorvan_init.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"
#include "searchpath.h"
#include "support/captured.h"

namespace lorvan::parsertest {

inline void init_runtime() {
  if (start_parser_runtime("parser")) CmdInterpreter::the_interpreter->interpret("(load \"syn.lsp\")");
}

using testsupport::Captured;

inline void run(const std::string& text) { CmdInterpreter::the_interpreter->interpret(text.c_str()); }

class ParserTest : public ::testing::Test {
 protected:
  // Defines a parser of its own with `options` and the grammar `grammar`
  // (command text); charts are kept (output-tree 1) unless asked otherwise.
  VanticParser* define(const std::string& grammar, const std::string& options = "") {
    init_runtime();
    static int count = 0;
    name_ = "P" + std::to_string(++count);
    run("(def-vantic-parser " + name_ +
        " :attribute-vector-type syn :lexical-analyzer LA :default-percolating-attributes (num) " +
        options + ")");
    parser_ = VanticParser::the_parser;
    parser_->output_tree(1);
    run(grammar);
    return parser_;
  }

  // Prepares `text` and parses it; `flag` may mark words first.
  template <class Flag>
  bool parse(const char* text, Flag flag) {
    parser_->prepare_to_parse(text, nullptr);
    flag(*parser_->lex_analyzer());
    return parser_->parse();
  }
  bool parse(const char* text) {
    return parse(text, [](LexAnalyzer&) {});
  }

  GCate* cat(const char* name) { return parser_->get_category(name, 0); }

  // Every item of category `c` (all positions, packed alternatives not
  // included) spanning low..high.
  std::vector<PItem*> items(const char* c, int low, int high) {
    std::vector<PItem*> out;
    GCate* g = cat(c);
    if (g == nullptr) return out;
    for (int p = 0; p <= g->num_positions(); ++p) {
      const ItemList* list = g->find_headed_items(p, high);
      if (list == nullptr) continue;
      for (PItem* item : *list) {
        if (item->low() == low && item->location() == g) out.push_back(item);
      }
    }
    return out;
  }
  PItem* item(const char* c, int low, int high) {
    std::vector<PItem*> all = items(c, low, high);
    return all.empty() ? nullptr : all.front();
  }
  // The lowest low() of the items of `c` ending at `high`, or -1.
  int lowest_low(const char* c, int high) {
    int best = -1;
    GCate* g = cat(c);
    for (int p = 0; g != nullptr && p <= g->num_positions(); ++p) {
      const ItemList* list = g->find_headed_items(p, high);
      if (list == nullptr) continue;
      for (PItem* i : *list) {
        if (best < 0 || i->low() < best) best = i->low();
      }
    }
    return best;
  }

  std::string name_;
  VanticParser* parser_ = nullptr;
};

}  // namespace lorvan::parsertest

#endif  // LORVAN_TESTS_PARSER_PARSER_FIXTURE_H_
