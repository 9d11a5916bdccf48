// TwoArgs: a pair of typed values handed to an expression as one input (type
// name "TwoArgs*"), for example the two items a rule compares.  The kinds
// `1/2` and `2/2` take it apart.  Plain data; it owns nothing.
#ifndef LORVAN_EXPR_TWO_ARGS_H_
#define LORVAN_EXPR_TWO_ARGS_H_

namespace lorvan {

struct TwoArgs {
  void* first = nullptr;
  int first_type = -1;
  void* second = nullptr;
  int second_type = -1;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_TWO_ARGS_H_
