// Lexicon speed at the size of a real English lexicon: loading a generated
// 150,000-entry lexicon file (entries per second), then looking up every
// word, absent words and inflected words (time per look-up).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lconst.h"
#include "expr/lexp_init.h"
#include "features/features_commands.h"
#include "lexicon/ending_table.h"
#include "lexicon/lexicon.h"
#include "lexicon/lexicon_init.h"

namespace lorvan {
namespace {

constexpr int kEntries = 150000;
constexpr unsigned kBuckets = 150001;

void set_up_modules() {
  static bool done = false;
  if (done) return;
  done = true;
  new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  objfact_init();
  lexicon_init();
  lexp_init();
  attvec_init();
  lconst_init();
  CmdInterpreter::the_interpreter->interpret(
      "(def-att-list bench-syn (defattribute cat DisjAtt (allowable-values n v adj adv))"
      " (defattribute num DisjAtt (allowable-values sg pl)))"
      "(make-avmeaning-proto bench-syn avm)"
      "(make-str-meaning-proto gloss)");
}

// Word-like keys: distinct, 3 to 12 letters.
std::string make_word(std::mt19937& rng, int i) {
  static const char kLetters[] = "etaoinshrdlucmfwypvbgkqjxz";
  std::string w;
  int length = 3 + static_cast<int>(rng() % 8);
  for (int k = 0; k < length; ++k) w += kLetters[rng() % 26 < 20 ? rng() % 12 : rng() % 26];
  return w + std::to_string(i);
}

struct Corpus {
  std::string path;
  std::vector<std::string> words;   // every single-word key
  std::vector<std::string> absent;  // words with no entry
  std::vector<std::string> inflected;
};

const Corpus& corpus() {
  static const Corpus c = [] {
    Corpus out;
    out.path = (std::filesystem::temp_directory_path() /
                ("bench_lexicon_" + std::to_string(::getpid()) + ".lex"))
                   .string();
    std::mt19937 rng(7);
    std::ofstream file(out.path);
    static const char* const kMeanings[] = {
        "(avm ((cat n) (num sg))) (freq N 10 V 2)",
        "(avm ((cat v))) (avm ((cat n) (num pl)))",
        "(gloss a word of the bench) (freq ADJ 3)",
        "(avm ((cat adv)))",
    };
    for (int i = 0; i < kEntries; ++i) {
      std::string w = make_word(rng, i);
      if (i % 10 == 9) {
        // A phrase entry anchored at the previous word.
        file << '(' << out.words.back() << ' ' << w << " (avm ((cat n))))\n";
        continue;
      }
      out.words.push_back(w);
      file << '(' << w << ' ' << kMeanings[i % 4] << ")\n";
    }
    for (int i = 0; i < 4096; ++i) out.absent.push_back("zq" + make_word(rng, i) + "x");
    for (int i = 0; i < 4096; ++i) out.inflected.push_back(out.words[(i * 37) % out.words.size()] + "s");
    return out;
  }();
  return c;
}

void BM_LoadLexicon(benchmark::State& state) {
  set_up_modules();
  const Corpus& c = corpus();
  for (auto _ : state) {
    auto lexicon = std::make_unique<Lexicon>(kBuckets, nullptr);
    std::ifstream in(c.path);
    lexicon->load(in, true);
    benchmark::DoNotOptimize(lexicon->size());
    // A program keeps its lexicons to the end; freeing is not loading.
    state.PauseTiming();
    lexicon.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.counters["entries/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kEntries),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadLexicon)->Unit(benchmark::kMillisecond)->Iterations(3);

// The lexicon of the look-up benchmarks, loaded once.
Lexicon& loaded() {
  static Lexicon* lexicon = [] {
    set_up_modules();
    auto* l = new Lexicon(kBuckets, nullptr);
    std::ifstream in(corpus().path);
    l->load(in, true);
    auto t = make_command_tokenizer();
    auto defs = make_irslist("((p s plural) (p ed past) (p \"\" bare))", t.get());
    auto* table = new EndingTable;
    table->init(defs.get());
    l->own_ending_table(std::unique_ptr<EndingTable>(table));
    std::filesystem::remove(corpus().path);
    return l;
  }();
  return *lexicon;
}

// Looks up the words in turn; every other one in upper case.
void look_up(benchmark::State& state, const std::vector<std::string>& words) {
  Lexicon& lexicon = loaded();
  std::vector<std::string> upper = words;
  for (std::string& w : upper) {
    for (char& ch : w) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& w = (i & 1) ? upper[i % words.size()] : words[i % words.size()];
    benchmark::DoNotOptimize(lexicon.search_entry(w.c_str()));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_LookUpPresent(benchmark::State& state) { look_up(state, corpus().words); }
BENCHMARK(BM_LookUpPresent);

void BM_LookUpAbsent(benchmark::State& state) { look_up(state, corpus().absent); }
BENCHMARK(BM_LookUpAbsent);

void BM_MorphSearch(benchmark::State& state) {
  Lexicon& lexicon = loaded();
  const auto& words = corpus().inflected;
  std::vector<MorphReading> readings;
  std::size_t i = 0;
  for (auto _ : state) {
    readings.clear();
    lexicon.morphSearch(words[i++ % words.size()].c_str(), readings);
    benchmark::DoNotOptimize(readings.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MorphSearch);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
