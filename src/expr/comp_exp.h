// CompExp: an expression over an ordered list of sub-expressions -- the base
// of every form with a variable number of them -- and itself the kind
// `prog`, which evaluates each sub-expression on the same input and returns
// the last result (the input when there are none).
//
// init() compiles the arguments in the order written and leaves out those
// that do not compile.  The sub-expressions are owned and copied deeply.
#ifndef LORVAN_EXPR_COMP_EXP_H_
#define LORVAN_EXPR_COMP_EXP_H_

#include <memory>
#include <vector>

#include "expr/lexp.h"

namespace lorvan {

class CompExp : public LExp {
 public:
  const char* type_name() const override { return "prog"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<CompExp>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override { return eval_prog(input, type); }

  // Appends a sub-expression (null is ignored).
  void add(std::unique_ptr<LExp> e);
  const std::vector<SubExp>& exps() const { return exps_; }
  int size() const { return static_cast<int>(exps_.size()); }
  // Sub-expression i, or null when out of range.
  LExp* exp(int i) const;

 protected:
  // The prog evaluation: every sub-expression in order; the last result,
  // or the input when there are none.
  void* eval_prog(void* input, int type) const;

 private:
  std::vector<SubExp> exps_;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_COMP_EXP_H_
