// Regular-expression search speed on sentence-length texts, for the kinds of
// patterns command files use: anchored word tests, suffix tests, classes and
// alternations, and a leading repetition.
#include "regexp.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <iterator>
#include <string>

namespace {

const char* const kSentences[] = {
    "The committee postponed its decision on the proposal until next week.",
    "Investors were unimpressed by the quarterly results, which fell short "
    "of expectations.",
    "She said that the new regulations would take effect on 1 January 2024.",
    "Although it was raining heavily, the children insisted on playing "
    "outside.",
};

const char* const kPatterns[] = {
    "^[A-Z][a-z]*",           // a capitalised first word
    "ing$",                   // a suffix test that fails
    "[0-9]+",                 // a number somewhere
    "(un|re|dis)[a-z]+ed",    // alternation inside a word
    "the|a|an",               // a short alternation
    ".*tion",                 // leading repetition, literal screen
    "([a-z]+) ([a-z]+)ly",    // groups with backtracking
};

void BM_Regexec(benchmark::State& state) {
  lorvan::RegexpPtr prog(lorvan::regcomp(kPatterns[state.range(0)]));
  state.SetLabel(kPatterns[state.range(0)]);
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const char* text : kSentences) {
      benchmark::DoNotOptimize(lorvan::regexec(prog.get(), text));
      bytes += std::char_traits<char>::length(text);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Regexec)->DenseRange(0, std::size(kPatterns) - 1);

void BM_Regcomp(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* pattern : kPatterns)
      lorvan::RegexpPtr prog(lorvan::regcomp(pattern));
  }
}
BENCHMARK(BM_Regcomp);

void BM_RegsubAfterMatch(benchmark::State& state) {
  lorvan::RegexpPtr prog(lorvan::regcomp("([a-z]+)ed "));
  std::string out;
  for (auto _ : state) {
    for (const char* text : kSentences) {
      if (lorvan::regexec(prog.get(), text)) {
        out.clear();
        lorvan::regsub(prog.get(), "<\\1>&", out);
        benchmark::DoNotOptimize(out.data());
      }
    }
  }
}
BENCHMARK(BM_RegsubAfterMatch);

}  // namespace

BENCHMARK_MAIN();
