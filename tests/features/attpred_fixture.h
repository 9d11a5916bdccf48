// Shared set-up of the attribute-predicate tests: one interpreter with the
// expression language and the attribute predicates registered as at
// start-up, a few attribute-vector types, and a fixture that captures the
// error stream, reads vectors and compiles and evaluates expressions.
//
// Types (pt is the current one):
//   agrt   plu BinAtt, per IntAtt                    (the nested type)
//   wide   a0 .. a6 IntAtt                           (index 6 is no list)
//   pt     plu BinAtt, num DisjAtt (sg pl), per IntAtt, n SmIntAtt,
//          word StrAtt, agr VecAtt, args ListAtt, done ListAtt, stk StackAtt
//          (nested type agrt), with the alias 3sg = ((num sg) (per 3))
#ifndef LORVAN_TESTS_FEATURES_ATTPRED_FIXTURE_H_
#define LORVAN_TESTS_FEATURES_ATTPRED_FIXTURE_H_

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lconst.h"
#include "expr/lexp.h"
#include "expr/lexp_init.h"
#include "features/attpred_init.h"
#include "features/attvec.h"

namespace lorvan::attpredtest {

inline void init_once() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  objfact_init();
  lexp_init();
  attpred_init();
  lconst_init();
  CmdInterpreter::the_interpreter->interpret(
      "(def-att-list agrt (defattribute plu BinAtt) (defattribute per IntAtt))"
      "(def-att-list wide (defattribute a0 IntAtt) (defattribute a1 IntAtt)"
      "  (defattribute a2 IntAtt) (defattribute a3 IntAtt) (defattribute a4 IntAtt)"
      "  (defattribute a5 IntAtt) (defattribute a6 IntAtt))"
      "(def-att-list pt"
      "  (defattribute plu BinAtt)"
      "  (defattribute num DisjAtt (allowable-values sg pl))"
      "  (defattribute per IntAtt)"
      "  (defattribute n SmIntAtt)"
      "  (defattribute word StrAtt)"
      "  (defattribute agr VecAtt (interpreter agrt))"
      "  (defattribute args ListAtt (interpreter agrt))"
      "  (defattribute done ListAtt (interpreter agrt))"
      "  (defattribute stk StackAtt (interpreter agrt)))"
      "(alias 3sg (make-av ((num sg) (per 3))))");
}

class AttPredTest : public ::testing::Test {
 protected:
  AttPredTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    init_once();
    pt_ = AttInterpreterList::get_att_list("pt");
  }
  ~AttPredTest() override { std::cerr.rdbuf(saved_err_); }

  // Everything written to the error stream since the last call.
  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

  // A new vector of the named type read from its text form.
  std::unique_ptr<AttVec> vec(const std::string& text, const char* type = "pt") {
    auto list = make_irslist(text.c_str(), tokenizer_.get());
    return std::make_unique<AttVec>(list.get(), AttInterpreterList::get_att_list(type));
  }

  // The vector printed without aliases.
  static std::string show(const AttVec& v) {
    std::ostringstream out;
    v.print(out, nullptr, 0);
    return out.str();
  }

  // Compiles `text`; the expression lives until the test ends.
  LExp* compile(const std::string& text) {
    compiled_.push_back(LExp::get_exp(text.c_str()));
    return compiled_.back().get();
  }

  // Compiles `text` and evaluates it on v, typed "AttVec*".
  void* eval(const std::string& text, AttVec* v) {
    LExp* e = compile(text);
    return e != nullptr ? e->eval(v, attvec_type()) : nullptr;
  }

  static int attvec_type() { return arg_type_id("AttVec*"); }

  int index_of(const char* name) const {
    int i = -1;
    pt_->search_att_index(name, i);
    return i;
  }

  AttInterpreterList* pt_ = nullptr;

 private:
  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::vector<std::unique_ptr<LExp>> compiled_;
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

}  // namespace lorvan::attpredtest

#endif  // LORVAN_TESTS_FEATURES_ATTPRED_FIXTURE_H_
