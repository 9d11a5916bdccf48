// Expression kinds that point a tokenizer at new input:
//
//   (set-tokenizer-input words (open-file))    reads the stream the second
//                                              expression gives (std::cin
//                                              without one)
//   (set-tokenizer-string-input words (ident)) reads the string the second
//                                              expression gives
//
// The first argument is an atom naming a tokenizer (a named object of type
// "Tokenizer", looked up at each evaluation) or an expression yielding one.
// Evaluation returns the tokenizer, or 0 when there is none.  The keyword
// :re-tokenizer names an object of type "RETokenizer" to feed instead; no
// object of that type exists in this system, so such a form reports the
// object as not found and gives 0.
#ifndef LORVAN_EXPR_TOKENIZER_INPUT_EXPS_H_
#define LORVAN_EXPR_TOKENIZER_INPUT_EXPS_H_

#include <memory>
#include <optional>
#include <string>

#include "expr/lexp.h"

namespace lorvan {

class TokenizerBase;

// The common part: finding the tokenizer and compiling the source.
class TokenizerInputExp : public LExp {
 public:
  void init(IRSlist* args) override;

 protected:
  // The tokenizer for this evaluation, or null (reported when it is named).
  TokenizerBase* tokenizer(void* input, int type) const;
  const SubExp& source() const { return source_; }

 private:
  std::optional<std::string> name_;  // of a named tokenizer
  SubExp tokenizer_exp_;             // or the expression giving one
  SubExp source_;                    // the stream or string
  std::optional<std::string> re_tokenizer_;
};

class SetTokenizerInput : public TokenizerInputExp {
 public:
  const char* type_name() const override { return "set-tokenizer-input"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<SetTokenizerInput>(*this);
  }
  void* eval(void* input, int type) override;
};

class SetTokenizerStringInput : public TokenizerInputExp {
 public:
  const char* type_name() const override { return "set-tokenizer-string-input"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<SetTokenizerStringInput>(*this);
  }
  void* eval(void* input, int type) override;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_TOKENIZER_INPUT_EXPS_H_
