// BinaryFunc and TernaryFunc: bases of expressions over two or three operand
// expressions taken by position, such as `eq`.
//
// init() compiles the first two (three) arguments; an operand that is missing
// or does not compile stays null, and further arguments are ignored.  The
// operands are owned and copied deeply.  Derived kinds implement type_name(),
// duplicate() and eval().
#ifndef LORVAN_EXPR_BINARY_FUNC_H_
#define LORVAN_EXPR_BINARY_FUNC_H_

#include "expr/lexp.h"

namespace lorvan {

class BinaryFunc : public LExp {
 public:
  void init(IRSlist* args) override;
  LExp* first() const { return first_.get(); }
  LExp* second() const { return second_.get(); }

 protected:
  SubExp first_;
  SubExp second_;
};

class TernaryFunc : public LExp {
 public:
  void init(IRSlist* args) override;
  LExp* first() const { return first_.get(); }
  LExp* second() const { return second_.get(); }
  LExp* third() const { return third_.get(); }

 protected:
  SubExp first_;
  SubExp second_;
  SubExp third_;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_BINARY_FUNC_H_
