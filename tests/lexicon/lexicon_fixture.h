// Shared set-up of the lexicon tests: the interpreter with the modules the
// lexicon builds on, an attribute-vector type "lxt" with the meaning
// prototypes "avm" (vectors of lxt) and "gloss" (text), and capture of the
// standard streams.
#ifndef LORVAN_TESTS_LEXICON_LEXICON_FIXTURE_H_
#define LORVAN_TESTS_LEXICON_LEXICON_FIXTURE_H_

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lconst.h"
#include "expr/lexp_init.h"
#include "features/features_commands.h"
#include "lexicon/lex_entry.h"
#include "lexicon/lexicon.h"
#include "lexicon/lexicon_init.h"

namespace lorvan::lexicon_test {

inline void run(const std::string& commands) {
  CmdInterpreter::the_interpreter->interpret(commands.c_str());
}

// Registers everything once per test program.
inline void set_up_modules() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  objfact_init();
  lexicon_init();
  lexp_init();
  attvec_init();
  lconst_init();
  run("(def-att-list lxt (defattribute cat DisjAtt (allowable-values n v adj))"
      " (defattribute num DisjAtt (allowable-values sg pl)))"
      "(make-avmeaning-proto lxt avm)"
      "(make-str-meaning-proto gloss)");
}

// Captures std::cout and std::cerr for the life of a test.
class LexiconTestBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { set_up_modules(); }

  LexiconTestBase()
      : saved_out_(std::cout.rdbuf(out_.rdbuf())), saved_err_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~LexiconTestBase() override {
    std::cout.rdbuf(saved_out_);
    std::cerr.rdbuf(saved_err_);
  }

  // What was written since the last call.
  std::string out() { return take(out_); }
  std::string err() { return take(err_); }

  // A fresh lexicon of 101 buckets loaded from `text`.
  static std::unique_ptr<Lexicon> lexicon_of(const std::string& text, bool report = true) {
    auto lexicon = std::make_unique<Lexicon>(101, nullptr);
    std::istringstream in(text);
    lexicon->load(in, report);
    return lexicon;
  }

  // The printed form of an entry ("" for null).
  static std::string printed(const LexEntry* e) {
    std::ostringstream s;
    if (e != nullptr) e->print(s);
    return s.str();
  }

 private:
  static std::string take(std::ostringstream& s) {
    std::string text = s.str();
    s.str("");
    return text;
  }

  std::ostringstream out_;
  std::ostringstream err_;
  std::streambuf* saved_out_;
  std::streambuf* saved_err_;
};

}  // namespace lorvan::lexicon_test

#endif  // LORVAN_TESTS_LEXICON_LEXICON_FIXTURE_H_
