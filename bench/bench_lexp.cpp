// Evaluation speed of compiled expressions: a nested condition of and, or
// and if over eq of constants, with a call of a two-parameter function.
#include <benchmark/benchmark.h>

#include <memory>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "expr/lconst.h"
#include "expr/lexp.h"
#include "expr/lexp_init.h"

namespace lorvan {
namespace {

void init_once() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* interp = new CmdInterpreter(nullptr, '(', ')');
  interp->interactive(0);
  namedobj_init();
  lexp_init();
  lconst_init();
  interp->interpret(
      "(defun both-match (a b)"
      "  (and (eq (get-val a) (int 1)) (or (eq (get-val b) (int 3)) (eq (get-val b) (int 2)))))");
}

void BM_NestedCondition(benchmark::State& state) {
  init_once();
  std::unique_ptr<LExp> e = LExp::get_exp(
      "(if (and (or (eq (int 1) (int 2)) (eq (int 3) (int 3)))"
      "         (both-match (int 1) (int 2)))"
      "    (t)"
      "    (nil))");
  for (auto _ : state) benchmark::DoNotOptimize(e->eval(nullptr, -1));
  if (value_to_int(e->eval(nullptr, -1)) != 1) state.SkipWithError("wrong result");
}
BENCHMARK(BM_NestedCondition)->Iterations(1000000);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
