// Shared set-up of the expression-language tests: one process-wide
// interpreter with the name spaces and the expression language registered
// (as at program start), a few test-only kinds, and a fixture that captures
// the standard streams and compiles and evaluates expression texts.
#ifndef LORVAN_TESTS_EXPR_EXPR_FIXTURE_H_
#define LORVAN_TESTS_EXPR_EXPR_FIXTURE_H_

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lconst.h"
#include "expr/lexp.h"
#include "expr/lexp_init.h"
#include "expr/marg_exp.h"

namespace lorvan::exprtest {

// How often (test-count) has run.
inline int counter = 0;
// The inputs (test-record) has seen.
inline std::vector<std::string> recorded;

inline void* count_fn(void* /*input*/) { return int_to_value(++counter); }
inline void* inc_fn(void* input) { return int_to_value(value_to_int(input) + 1); }
inline void* minus1_fn(void* /*input*/, void* a) { return int_to_value(value_to_int(a) - 1); }
inline void* record_fn(void* input) {
  recorded.emplace_back(input != nullptr ? static_cast<const char*>(input) : "(null)");
  return input;
}
inline void* args_fn(void* /*input*/, void* a, void* b) {
  return int_to_value(10 * value_to_int(a) + value_to_int(b));
}

// Registers once, as the program does at start-up, plus the test kinds:
//   (test-count)        counts its evaluations, gives the new count
//   (test-inc)          input type "int": the input + 1, output "int"
//   (test-minus1 e)     e's value - 1
//   (test-record)       input type "char*": records the input, returns it
//   (test-args a b)     10 * a + b
inline void init_expression_language() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* interp = new CmdInterpreter(nullptr, '(', ')');
  interp->interactive(0);
  namedobj_init();
  objfact_init();
  lexp_init();
  lconst_init();
  LExp::exp_proto(std::make_unique<ZeroArgExp>("test-count", count_fn, nullptr, "int"), nullptr,
                  nullptr);
  LExp::exp_proto(std::make_unique<ZeroArgExp>("test-inc", inc_fn, "int", "int"), nullptr,
                  nullptr);
  LExp::exp_proto(std::make_unique<OneArgExp>("test-minus1", minus1_fn, nullptr, "int", "int"),
                  nullptr, nullptr);
  LExp::exp_proto(std::make_unique<ZeroArgExp>("test-record", record_fn, "char*", "char*"),
                  nullptr, nullptr);
  LExp::exp_proto(
      std::make_unique<TwoArgExp>("test-args", args_fn, nullptr, "int", "int", "int"), nullptr,
      nullptr);
}

inline int type_id(const char* name) { return arg_type_id(name); }

class ExprTest : public ::testing::Test {
 protected:
  ExprTest()
      : saved_out_(std::cout.rdbuf(out_.rdbuf())), saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    init_expression_language();
    counter = 0;
    recorded.clear();
  }
  ~ExprTest() override {
    std::cout.rdbuf(saved_out_);
    std::cerr.rdbuf(saved_err_);
  }

  // What was written since the last call.
  std::string out() { return take(out_); }
  std::string err() { return take(err_); }

  // Compiles `text`; the expression stays alive until the test ends.
  LExp* compile(const char* text) {
    compiled_.push_back(LExp::get_exp(text));
    return compiled_.back().get();
  }
  // Compiles and evaluates `text` on (input, type); null when it does not
  // compile.
  void* eval(const char* text, void* input = nullptr, int type = -1) {
    LExp* e = compile(text);
    return e != nullptr ? e->eval(input, type) : nullptr;
  }
  long eval_int(const char* text, void* input = nullptr, int type = -1) {
    return value_to_int(eval(text, input, type));
  }
  std::string eval_str(const char* text, void* input = nullptr, int type = -1) {
    void* v = eval(text, input, type);
    return v != nullptr ? static_cast<const char*>(v) : "(null)";
  }
  // Runs command text through the interpreter.
  void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }

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
  std::vector<std::unique_ptr<LExp>> compiled_;
};

}  // namespace lorvan::exprtest

#endif  // LORVAN_TESTS_EXPR_EXPR_FIXTURE_H_
