// Constants of the expression language: kinds whose value is fixed when they
// are compiled and returned whatever the input.
//
//   (int 5)                  the integer 5            (output type "int")
//   (str "a b")              a string                 ("char*")
//   (pred (is-nil))          an expression as a value ("LExp*")
//   (named-obj foo Lexicon)  a named object, looked up at compile time
//   (input file) (output -)  a std::istream* / std::ostream*, opened at
//                            compile time ("-" or nothing: the standard one)
//
// Ownership: a constant owns its string, expression or file stream.  Copies
// of string and stream constants share the immutable string and the open
// stream; a copied pred constant holds its own copy of the expression.
#ifndef LORVAN_EXPR_LCONST_H_
#define LORVAN_EXPR_LCONST_H_

#include <iosfwd>
#include <memory>
#include <string>

#include "expr/lexp.h"

namespace lorvan {

class LConst : public LExp {
 public:
  void* eval(void* /*input*/, int /*type*/) override { return value_; }

 protected:
  void* value_ = nullptr;
};

// (pred <lexp>): the compiled expression itself.
class PredConst : public LConst {
 public:
  PredConst();
  PredConst(const PredConst& other);
  const char* type_name() const override { return "pred"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<PredConst>(*this); }
  void init(IRSlist* args) override;

 private:
  SubExp exp_;
};

// (named-obj name type): the object get_named_obj(name, type, 1) finds when
// compiled; without a type prints "the type of '<name>' is not defined".
class NamedObjConst : public LConst {
 public:
  const char* type_name() const override { return "named-obj"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<NamedObjConst>(*this);
  }
  void init(IRSlist* args) override;
};

// (int n): n, read with IRSlist::get_long_val().
class IntegerConst : public LConst {
 public:
  IntegerConst();
  const char* type_name() const override { return "int"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<IntegerConst>(*this);
  }
  void init(IRSlist* args) override;
};

// (str text): a copy of text; null without an argument.
class StrConst : public LConst {
 public:
  StrConst();
  const char* type_name() const override { return "str"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<StrConst>(*this); }
  void init(IRSlist* args) override;

 private:
  std::shared_ptr<const std::string> text_;
};

// (input [file]): a std::istream*.  A file other than "-" is opened at
// exactly that name; when it cannot be, "Can't open file: <name>" and the
// value stays std::cin.
class IstrmConst : public LConst {
 public:
  IstrmConst();
  const char* type_name() const override { return "input"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<IstrmConst>(*this); }
  void init(IRSlist* args) override;

 private:
  std::shared_ptr<std::istream> file_;
};

// (output [file]): a std::ostream*, std::cout or a truncated output file;
// failure as for input, the value staying std::cout.
class OstrmConst : public LConst {
 public:
  OstrmConst();
  const char* type_name() const override { return "output"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OstrmConst>(*this); }
  void init(IRSlist* args) override;

 private:
  std::shared_ptr<std::ostream> file_;
};

// Registers pred, named-obj, int, str, input and output.  Runs once.
void lconst_init();

}  // namespace lorvan

#endif  // LORVAN_EXPR_LCONST_H_
