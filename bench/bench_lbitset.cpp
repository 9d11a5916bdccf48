// Set algebra, iteration and counting on LBitSet at the sizes the parser
// uses: attribute sets of a few hundred members and sentence-position sets.
#include <benchmark/benchmark.h>

#include <random>

#include "lbitset.h"

namespace lorvan {
namespace {

// A set of `size` possible members, about one in `spread` of them present.
LBitSet random_set(int size, int spread, unsigned seed) {
  std::mt19937 rng(seed);
  LBitSet s(size);
  for (int i = 0; i < size; ++i) {
    if (rng() % spread == 0) s.set(i);
  }
  return s;
}

void BM_Union(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const LBitSet a = random_set(size, 4, 1), b = random_set(size, 4, 2);
  for (auto _ : state) benchmark::DoNotOptimize(a | b);
}
BENCHMARK(BM_Union)->Arg(64)->Arg(256)->Arg(4096);

void BM_Intersection(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const LBitSet a = random_set(size, 4, 1), b = random_set(size, 4, 2);
  for (auto _ : state) benchmark::DoNotOptimize(a & b);
}
BENCHMARK(BM_Intersection)->Arg(64)->Arg(256)->Arg(4096);

// In place on an unshared set: no allocation.
void BM_UnionAssignInPlace(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  LBitSet a = random_set(size, 4, 1);
  const LBitSet b = random_set(size, 4, 2);
  for (auto _ : state) {
    a |= b;
    benchmark::DoNotOptimize(a.rep());
  }
}
BENCHMARK(BM_UnionAssignInPlace)->Arg(64)->Arg(256)->Arg(4096);

void BM_CopyAndTest(benchmark::State& state) {
  const LBitSet a = random_set(256, 4, 1);
  int i = 0;
  for (auto _ : state) {
    const LBitSet copy = a;
    benchmark::DoNotOptimize(copy.test(i++ & 255));
  }
}
BENCHMARK(BM_CopyAndTest);

void BM_Cmp(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  LBitSet a = random_set(size, 4, 1);
  LBitSet b = a;
  b.set(size - 1);  // a proper subset: every word must be looked at
  for (auto _ : state) benchmark::DoNotOptimize(a.cmp(b));
}
BENCHMARK(BM_Cmp)->Arg(64)->Arg(256)->Arg(4096);

void BM_Iterate(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const int spread = static_cast<int>(state.range(1));
  const LBitSet a = random_set(size, spread, 3);
  for (auto _ : state) {
    LBitSetIterator it(a);
    int sum = 0;
    for (int m = it.next(); m >= 0; m = it.next()) sum += m;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * a.count());
}
BENCHMARK(BM_Iterate)->Args({256, 4})->Args({4096, 4})->Args({4096, 64});

void BM_Count(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const LBitSet a = random_set(size, 4, 4);
  for (auto _ : state) benchmark::DoNotOptimize(a.count());
}
BENCHMARK(BM_Count)->Arg(64)->Arg(256)->Arg(4096);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
