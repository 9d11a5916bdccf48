// LAdaptor: the base of conversions.  A conversion turns the input into a
// value of its conversion type with convert(); without an inner expression
// that value is the result, with one the inner expression is evaluated on
// (converted value, conversion type) and gives the result.
//
// init() compiles the first argument, if any, as the inner expression (owned,
// copied deeply); the output type becomes the inner expression's output type,
// or the conversion type without one.  eval() starts with the input type
// check and gives 0 when it fails.
#ifndef LORVAN_EXPR_LADAPTOR_H_
#define LORVAN_EXPR_LADAPTOR_H_

#include "expr/lexp.h"

namespace lorvan {

class LAdaptor : public LExp {
 public:
  // `conversion_type` is the type id of what convert() returns; it is also
  // the output type until init() finds an inner expression.
  explicit LAdaptor(int conversion_type);

  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
  // The converted input.
  virtual void* convert(void* input) = 0;

  int conversion_type() const { return conversion_type_; }
  LExp* inner() const { return inner_.get(); }

 private:
  int conversion_type_;
  SubExp inner_;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_LADAPTOR_H_
