// Tokenizer throughput (bytes per second) over large generated inputs: a
// command file read from a string and from a stream, as the interpreter
// does, and running English-like text split as the parser does.
#include <benchmark/benchmark.h>

#include <random>
#include <sstream>
#include <string>

#include "lexical/tokenizer.h"

namespace lorvan {
namespace {

constexpr std::size_t kTextSize = 4 << 20;

Tokenizer command_tokenizer() {
  return Tokenizer(" \t\n\r", "();", "();,", "\"", '\\', ';', 4096, 512);
}

Tokenizer sentence_tokenizer() {
  return Tokenizer(" \t\n", "(){}[];!?$`'\"-", "(){}[];,:?!@`\"-", "<> &;.", 0, 0,
                   4096, 512);
}

// Lexicon-like command text: lists, keywords, quoted strings with escapes,
// numbers with commas and comments.
const std::string& command_text() {
  static const std::string text = [] {
    static const char* const kWords[] = {"def-word", "meaning", "noun", "verb",
                                         ":count",   ":cat",    "plural", "x-y"};
    std::mt19937 rng(7);
    std::string s;
    while (s.size() < kTextSize) {
      s += "(entry ";
      for (int i = 0; i < 6; ++i) {
        s += kWords[rng() % 8];
        s += ' ';
      }
      s += "\"a quoted \\\"value\\\"\\t here\" 1,234 (nested list ";
      s += std::to_string(rng() % 100000);
      s += ")) ; trailing comment\n";
    }
    return s;
  }();
  return text;
}

const std::string& sentence_text() {
  static const std::string text = [] {
    static const char* const kWords[] = {"the", "well-known", "John's", "parser",
                                         "1,000", "U.S.", "reads", "(quickly)",
                                         "<b>", "&amp;", "etc,", "words."};
    std::mt19937 rng(11);
    std::string s;
    while (s.size() < kTextSize) {
      s += kWords[rng() % 12];
      s += (rng() % 16 == 0) ? '\n' : ' ';
    }
    return s;
  }();
  return text;
}

// Reads every token, clearing the arena now and then as readers do.
std::size_t drain(TokenizerBase& t) {
  std::size_t count = 0;
  while (t.get_token() != nullptr) {
    if ((++count & 1023) == 0) t.clear();
  }
  return count;
}

void BM_CommandTextFromString(benchmark::State& state) {
  const std::string& text = command_text();
  Tokenizer t = command_tokenizer();
  for (auto _ : state) {
    t.clear();
    t.set_string_input(text.data(), static_cast<std::ptrdiff_t>(text.size()));
    benchmark::DoNotOptimize(drain(t));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CommandTextFromString)->Unit(benchmark::kMillisecond);

void BM_CommandTextFromStream(benchmark::State& state) {
  const std::string& text = command_text();
  Tokenizer t = command_tokenizer();
  for (auto _ : state) {
    std::istringstream in(text);
    t.clear();
    t.set_input_stream(&in);
    benchmark::DoNotOptimize(drain(t));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CommandTextFromStream)->Unit(benchmark::kMillisecond);

void BM_SentenceText(benchmark::State& state) {
  const std::string& text = sentence_text();
  Tokenizer t = sentence_tokenizer();
  for (auto _ : state) {
    t.clear();
    t.set_string_input(text.data(), static_cast<std::ptrdiff_t>(text.size()));
    benchmark::DoNotOptimize(drain(t));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SentenceText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
