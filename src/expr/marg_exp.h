// MArgExp: an expression backed by a plain function of the input and up to
// four argument values; ZeroArgExp ... FourArgExp are the concrete kinds,
// built from a kind name, a function pointer and type names:
//
//   void* pick(void* input, void* a, void* b) { return input ? a : b; }
//   LExp::exp_proto(std::make_unique<TwoArgExp>("pick", pick, "char*", nullptr,
//                                               "int", "int"),
//                   nullptr, "(pick <lexp> <lexp>)");
//
// (A null type name means untyped, -1.)  init() compiles at most N argument
// expressions in order; one that does not compile keeps its position and
// gives a null value.  More than N arguments print "Incorrect number of
// arguments in <name>. Expected: <N> Actual: <count>" and none is compiled.
// eval() checks the input type, evaluates every argument on the same input
// (missing ones give null) and calls the function with the input and the N
// values.  The declared argument types are recorded, not checked, unless
// the kind asks for checked arguments (require_arg_types()): then an
// argument whose expression declares another output type than the one
// declared for it is reported when compiled and gives null, so a function
// that takes, say, tree nodes is never handed a number.
//
// The value vector lives on the stack of each eval(), so evaluation
// allocates nothing and may re-enter the same expression.
#ifndef LORVAN_EXPR_MARG_EXP_H_
#define LORVAN_EXPR_MARG_EXP_H_

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "command/arg_types.h"
#include "expr/lexp.h"

namespace lorvan {

class MArgExp : public LExp {
 public:
  static constexpr int kMaxArgs = 4;

  // A kind called `name` (copied) taking `arity` (0..kMaxArgs) argument
  // expressions, with the given input and output type names and one
  // declared type id per argument.
  MArgExp(const char* name, int arity, const char* input_type, const char* output_type,
          std::vector<int> arg_types);

  const char* type_name() const override { return name_.c_str(); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
  // values[0] is the input, values[1..arity] the argument values.
  virtual void* call_func(std::span<void* const> values) = 0;

  // Makes init() refuse arguments of another declared type (see above).
  void require_arg_types() { check_arg_types_ = true; }

  int arity() const { return arity_; }
  const std::vector<int>& arg_types() const { return arg_types_; }

 private:
  // Replaces every argument whose declared output type is not the one
  // declared for it by a null argument, with a message.
  void drop_mistyped_args();

  std::string name_;
  int arity_;
  std::vector<SubExp> args_;
  std::vector<int> arg_types_;
  bool check_arg_types_ = false;
};

namespace marg_detail {
// void* (*)(void* input, void* ... N times).
template <int N, class... Values>
struct FuncOf : FuncOf<N - 1, void*, Values...> {};
template <class... Values>
struct FuncOf<0, Values...> {
  using type = void* (*)(void* input, Values...);
};
}  // namespace marg_detail

template <int N>
class FixedArgExp : public MArgExp {
  static_assert(N >= 0 && N <= MArgExp::kMaxArgs);

 public:
  using Func = typename marg_detail::FuncOf<N>::type;

  template <class... TypeNames>
    requires(sizeof...(TypeNames) == N)
  FixedArgExp(const char* name, Func func, const char* input_type, const char* output_type,
              TypeNames... arg_type_names)
      : MArgExp(name, N, input_type, output_type,
                std::vector<int>{arg_type_id(arg_type_names)...}),
        func_(func) {}

  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<FixedArgExp>(*this);
  }
  void* call_func(std::span<void* const> values) override {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
      return func_(values[0], values[I + 1]...);
    }(std::make_index_sequence<N>{});
  }

 private:
  Func func_;
};

using ZeroArgExp = FixedArgExp<0>;
using OneArgExp = FixedArgExp<1>;
using TwoArgExp = FixedArgExp<2>;
using ThreeArgExp = FixedArgExp<3>;
using FourArgExp = FixedArgExp<4>;

}  // namespace lorvan

#endif  // LORVAN_EXPR_MARG_EXP_H_
