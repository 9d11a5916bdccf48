// Expression kinds with effects outside the expression language: quoting a
// list as text, running commands, sleeping.
//
//   (quote-lexp (a b))        "(a b)" as a char* value
//   (exec-commands (echo hi)) runs the commands at each evaluation; 0
//   (usleep 1000)             sleeps 1000 microseconds; 0
#ifndef LORVAN_EXPR_EFFECT_EXPS_H_
#define LORVAN_EXPR_EFFECT_EXPS_H_

#include <memory>
#include <optional>
#include <string>

#include "command/irslist.h"
#include "expr/lexp.h"
#include "strbufs.h"

namespace lorvan {

// quote-lexp: output type "char*"; the first argument in one-line form (an
// atom as its text, quoted when it needs quotes; a list with its
// parentheses), or null without one.  The string belongs to the expression.
class QuoteLExp : public LExp {
 public:
  QuoteLExp();
  const char* type_name() const override { return "quote-lexp"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<QuoteLExp>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  std::optional<std::string> text_;
};

// exec-commands: keeps a copy of its arguments, each a command list, and at
// each evaluation executes a fresh copy of them in order through the
// command interpreter; 0.
class ExecCommands : public LExp {
 public:
  ExecCommands() = default;
  ExecCommands(const ExecCommands& other);
  const char* type_name() const override { return "exec-commands"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<ExecCommands>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  StrBufs arena_;     // the texts of commands_
  IRSlist commands_;  // its children are the commands
};

// usleep: sleeps the number of microseconds given (read with
// IRSlist::get_long_val(); negative counts as 0); 0.
class USleep : public LExp {
 public:
  const char* type_name() const override { return "usleep"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<USleep>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  long microseconds_ = 0;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_EFFECT_EXPS_H_
