// The per-sentence costs of reading the analysis off the chart: the cover
// of a sentence by roots (cubic in its length), and triple-weight look-ups
// in the probability cache.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "parser/dep_prob_cache.h"
#include "parser/mic.h"

namespace lorvan {
namespace {

// A sentence of `n` slots with a comma every seventh word and roots over
// every three-word window; the cover only stores the node pointers.
void BM_CoverSentence(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<const char*> words(static_cast<std::size_t>(n), "word");
  for (int i = 7; i < n; i += 7) words[static_cast<std::size_t>(i)] = ",";
  const std::vector<float> costs(static_cast<std::size_t>(n), 25.0f);
  std::vector<int> nodes(static_cast<std::size_t>(n));
  for (auto _ : state) {
    MIC mic(n);
    for (int a = 1; a + 2 < n; ++a) {
      mic.offer(reinterpret_cast<TNode*>(&nodes[static_cast<std::size_t>(a)]), a, a + 2,
                static_cast<float>(a % 5));
    }
    benchmark::DoNotOptimize(mic.choose(words, costs, n - 1));
  }
}
BENCHMARK(BM_CoverSentence)->Arg(10)->Arg(25)->Arg(50);

// Hits on a filled cache, keys in another letter case than stored.
void BM_CacheHit(benchmark::State& state) {
  DepProbCache cache;
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i) {
    keys.push_back("Head" + std::to_string(i) + "\tV:subj:N\tdog");
    cache.store(keys.back().c_str(), static_cast<float>(i));
  }
  for (std::string& k : keys) k[0] = 'h';
  float w = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(cache.find(keys[i].c_str(), w));
    i = (i + 1) % keys.size();
  }
}
BENCHMARK(BM_CacheHit);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
