// Stemming throughput (words per second): the Porter algorithm alone, a
// Porter stemmer answering root queries, and an ending table offering the
// roots of inflected words as the lexicon asks for them.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending_table.h"
#include "lexicon/porter.h"
#include "lexicon/stemmer.h"

namespace lorvan {
namespace {

// Inflected and derived English-like words: stems with common suffixes.
const std::vector<std::string>& words() {
  static const std::vector<std::string> list = [] {
    static const char* const kStems[] = {"walk",  "hop",    "relat", "condition", "generaliz",
                                         "pony",  "cat",    "agree", "plaster",   "hope",
                                         "sensi", "electr", "adopt", "formal",    "run"};
    static const char* const kSuffixes[] = {"",     "s",    "es",    "ed",   "ing",  "ational",
                                            "ness", "ities", "ement", "ful",  "ly",   "ization"};
    std::mt19937 rng(11);
    std::vector<std::string> out;
    for (int i = 0; i < 4096; ++i) {
      out.push_back(std::string(kStems[rng() % std::size(kStems)]) +
                    kSuffixes[rng() % std::size(kSuffixes)]);
    }
    return out;
  }();
  return list;
}

void BM_PorterStem(benchmark::State& state) {
  const auto& list = words();
  char buffer[64];
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& w = list[i++ % list.size()];
    w.copy(buffer, w.size());
    buffer[w.size()] = '\0';
    benchmark::DoNotOptimize(Stem(buffer));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PorterStem);

void BM_StemmerGetRoots(benchmark::State& state) {
  auto t = make_command_tokenizer();
  Stemmer stemmer;
  auto options = make_irslist("(:porter)", t.get());
  stemmer.init(options.get());
  const auto& list = words();
  std::vector<Stemmer::RootPair> roots;
  std::size_t i = 0;
  for (auto _ : state) {
    roots.clear();
    stemmer.getRoots(list[i++ % list.size()].c_str(), roots);
    benchmark::DoNotOptimize(roots.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StemmerGetRoots);

void BM_EndingTableRoots(benchmark::State& state) {
  auto t = make_command_tokenizer();
  EndingTable table(50);
  auto defs = make_irslist(
      "((p s noun) (e es noun \"\" sxz) (p ies noun y) (d ed verb) (p ed verb) (p ed verb e)"
      " (d ing verb) (p ing verb) (p ing verb e) (p ly adv) (p ness noun) (p ful adj))",
      t.get());
  table.init(defs.get());
  const auto& list = words();
  std::size_t i = 0;
  for (auto _ : state) {
    int found = 0;
    for (Ending* e = table.reset(list[i++ % list.size()].c_str()); e != nullptr; e = table.next()) {
      if (e->get_root(table.word()) != nullptr) ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EndingTableRoots);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
