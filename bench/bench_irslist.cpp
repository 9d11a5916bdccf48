// Reading a large generated command file into S-expressions, from a stream
// (line-by-line refills) and from an in-memory text.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "command/irslist.h"

namespace lorvan {
namespace {

// About `bytes` of command-language text: nested lists, keywords, numbers,
// quoted strings with escapes, and comments.
std::string make_command_file(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 256);
  for (unsigned i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i * 2654435761u % 100003);
    text += "; entry " + n + "\n";
    text += "(def-entry \"word" + n + "\" :pos noun :freq " + n +
            "\n  (meaning (cat n) (sem \"thing, \\\"object\\\"\" 0.25))\n"
            "  (forms word" + n + "s word" + n + "'s) :flag)\n";
  }
  return text;
}

void BM_ReadCommandStream(benchmark::State& state) {
  const std::string text = make_command_file(static_cast<std::size_t>(state.range(0)));
  std::size_t expressions = 0;
  for (auto _ : state) {
    std::istringstream in(text);
    IRSlistInputIterator it(in);
    for (IRSlist* e = it.current(); e != nullptr; e = it.next()) {
      benchmark::DoNotOptimize(e->first());
      ++expressions;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["exprs"] = benchmark::Counter(
      static_cast<double>(expressions), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadCommandStream)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

void BM_ReadCommandText(benchmark::State& state) {
  const std::string text = make_command_file(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    IRSlistInputIterator it(text.c_str());
    for (IRSlist* e = it.current(); e != nullptr; e = it.next()) {
      benchmark::DoNotOptimize(e->first());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadCommandText)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Printing one expression back in one-line form, as error messages and
// the echo of commands do.
void BM_PrintOneLine(benchmark::State& state) {
  auto tokenizer = make_command_tokenizer();
  auto node = make_irslist(
      "(def-entry \"word 1\" :pos noun (meaning (cat n) (sem \"a, b\" 0.25)))",
      tokenizer.get());
  StrBufs out(4096);
  for (auto _ : state) {
    node->print(out);
    benchmark::DoNotOptimize(out.finish());
    out.clear();
  }
}
BENCHMARK(BM_PrintOneLine);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
