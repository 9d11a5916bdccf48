// Look-up costs of the case-insensitive symbol table and its string hash.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "symtab.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

std::vector<std::string> make_names(int n) {
  std::vector<std::string> names;
  names.reserve(n);
  for (int i = 0; i < n; ++i) names.push_back("def-name-" + std::to_string(i * 2654435761u % 1000003));
  return names;
}

void BM_Hashpjw(benchmark::State& state) {
  std::string word(static_cast<std::size_t>(state.range(0)), 'q');
  for (auto _ : state) benchmark::DoNotOptimize(hashpjw(word.c_str()));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Hashpjw)->Arg(8)->Arg(32)->Arg(256);

// Look-ups of present names; range(0) entries in range(1) buckets.
void BM_SymTabLookupHit(benchmark::State& state) {
  auto names = make_names(static_cast<int>(state.range(0)));
  SymTab table(static_cast<unsigned>(state.range(1)));
  for (const std::string& n : names) table.enter(n.c_str(), nullptr, nullptr);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.find(names[i].c_str()));
    if (++i == names.size()) i = 0;
  }
}
BENCHMARK(BM_SymTabLookupHit)->Args({1000, 1997})->Args({1000, 101})->Args({10000, 9973});

void BM_SymTabLookupMiss(benchmark::State& state) {
  auto names = make_names(static_cast<int>(state.range(0)));
  SymTab table(1997);
  for (const std::string& n : names) table.enter(n.c_str(), nullptr, nullptr);
  std::vector<std::string> misses;
  for (const std::string& n : names) misses.push_back(n + "-absent");
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.find(misses[i].c_str()));
    if (++i == misses.size()) i = 0;
  }
}
BENCHMARK(BM_SymTabLookupMiss)->Arg(1000);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
