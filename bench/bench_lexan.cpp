// Lexical analysis throughput (words per second): every sentence of the
// English dev treebank (its "# text = " lines) is fed to one analyzer and
// looked up in a generated 150,000-entry lexicon with an ending table and
// phrases -- once through the parser's default tokenizer, once from
// ready-made word lists.  Heap allocations per word in the steady state are
// reported beside the rate.
//
// The treebank is the first program argument left after the benchmark
// flags, else $LORVAN_DEV_TREEBANK, else
// <repo>/../shared/ud-english-ewt/en_ewt-ud-dev.conllu.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "lexical/lex_analyzer.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending_table.h"
#include "lexicon/lexicon.h"
#include "lexicon/lexicon_init.h"
#include "lexicon/str_meaning.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Counts every allocation.  Kept out of line, so that the compiler does not
// pair the malloc and free inside them with the calls it sees.
[[gnu::noinline]] void* operator new(std::size_t n) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n != 0 ? n : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace lorvan {
namespace {

constexpr int kLexiconSize = 150000;
constexpr int kPhrases = 3000;

std::string treebank_path;

// The default tokenizer of the parser.
std::unique_ptr<Tokenizer> sentence_tokenizer() {
  return std::make_unique<Tokenizer>(" \t\n", "(){}[];!?$`'\"-", "(){}[];,:?!@`\"-", "<> &;.",
                                     0, 0, 4096, 512);
}

struct Corpus {
  std::vector<std::string> sentences;
  std::vector<std::vector<std::string>> words;  // tokens of each sentence
  long word_count = 0;
};

const Corpus& corpus() {
  static const Corpus c = [] {
    Corpus out;
    std::ifstream in(treebank_path);
    if (!in) std::cerr << "bench_lexan: cannot read " << treebank_path << '\n';
    const std::string prefix = "# text = ";
    auto t = sentence_tokenizer();
    for (std::string line; std::getline(in, line);) {
      if (line.compare(0, prefix.size(), prefix) != 0) continue;
      out.sentences.push_back(line.substr(prefix.size()));
      t->clear();
      t->set_string_input(out.sentences.back().c_str());
      std::vector<std::string> tokens;
      while (const char* token = t->get_token()) {
        if (!t->is_white(*token)) tokens.emplace_back(token);
      }
      out.word_count += static_cast<long>(tokens.size());
      out.words.push_back(std::move(tokens));
    }
    return out;
  }();
  return c;
}

// An entry key safe to write unquoted: letters and digits only.
bool plain(const std::string& w) {
  if (w.empty()) return false;
  for (unsigned char ch : w) {
    if (!std::isalnum(ch)) return false;
  }
  return true;
}

// A synthetic word for entry number i.
std::string synthetic(int i) {
  std::string w = "zq";
  for (; i > 0; i /= 26) w += static_cast<char>('a' + i % 26);
  return w;
}

struct Setup {
  Lexicon lexicon{200003, nullptr};
  EndingTable endings;
};

Setup& setup() {
  static Setup* s = [] {
    new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    objfact_init();
    lexicon_init();
    make_str_meaning_proto("pos");
    auto* out = new Setup;
    auto t = make_command_tokenizer();
    std::unique_ptr<IRSlist> defs = make_irslist(
        "((p s noun) (e es noun \"\" sxz) (d ed verb) (p ed verb) (p ing verb) (p \"\"))", t.get());
    out->endings.init(defs.get());
    out->lexicon.set_ending_table(&out->endings);

    // The corpus' words, then its most frequent word pairs as phrases,
    // then synthetic words up to the size.
    std::map<std::string, int> pairs;
    auto add = [&](const std::string& key, const char* meanings) {
      std::string text = "(" + key + " " + meanings + ")";
      out->lexicon.make_entry(text.c_str());
    };
    for (const auto& sentence : corpus().words) {
      for (std::size_t i = 0; i < sentence.size(); ++i) {
        if (!plain(sentence[i])) continue;
        if (out->lexicon.find_in_memory(sentence[i].c_str()) == nullptr) {
          add(sentence[i], out->lexicon.size() % 3 == 0 ? "(pos noun) (pos verb)" : "(pos noun)");
        }
        if (i + 1 < sentence.size() && plain(sentence[i + 1])) {
          std::string pair = sentence[i] + " " + sentence[i + 1];
          for (char& ch : pair) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
          ++pairs[pair];
        }
      }
    }
    std::vector<std::pair<int, std::string>> by_count;
    for (const auto& [pair, n] : pairs) by_count.emplace_back(-n, pair);
    std::sort(by_count.begin(), by_count.end());
    for (int i = 0; i < kPhrases && i < static_cast<int>(by_count.size()); ++i) {
      add(by_count[static_cast<std::size_t>(i)].second, "(pos phrase)");
    }
    for (int i = 1; out->lexicon.size() < kLexiconSize; ++i) add(synthetic(i), "(pos noun)");
    return out;
  }();
  return *s;
}

// Runs `feed` on every sentence, then the search; reports words/s and
// allocations per word.
template <class Feed>
void run_corpus(benchmark::State& state, Feed feed) {
  Setup& s = setup();
  const Corpus& c = corpus();
  LexAnalyzer analyzer(64);
  analyzer.set_lexicon(&s.lexicon);
  auto one_pass = [&] {
    long items = 0;
    for (std::size_t i = 0; i < c.sentences.size(); ++i) {
      analyzer.clear();
      feed(analyzer, i);
      analyzer.lexical_search();
      items += analyzer.item_count();
    }
    return items;
  };
  // Warms up the pools, arenas and absent-word memory.
  const long items = one_pass();
  const long before = allocations.load();
  long passes = 0;
  for (auto _ : state) {
    one_pass();
    ++passes;
  }
  const double words = static_cast<double>(c.word_count) * static_cast<double>(passes);
  state.counters["words/s"] = benchmark::Counter(words, benchmark::Counter::kIsRate);
  state.counters["allocs/word"] =
      words > 0 ? static_cast<double>(allocations.load() - before) / words : 0;
  state.counters["items/word"] =
      c.word_count > 0 ? static_cast<double>(items) / static_cast<double>(c.word_count) : 0;
}

void BM_LexicalSearchFromText(benchmark::State& state) {
  auto t = sentence_tokenizer();
  run_corpus(state, [&](LexAnalyzer& a, std::size_t i) {
    t->clear();
    t->set_string_input(corpus().sentences[i].c_str());
    a.add_tokens(*t);
  });
}
BENCHMARK(BM_LexicalSearchFromText)->Unit(benchmark::kMillisecond);

void BM_LexicalSearchFromWords(benchmark::State& state) {
  std::vector<const char*> words;
  run_corpus(state, [&](LexAnalyzer& a, std::size_t i) {
    words.clear();
    for (const std::string& w : corpus().words[i]) words.push_back(w.c_str());
    a.add_words(words);
  });
}
BENCHMARK(BM_LexicalSearchFromWords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lorvan

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string repo = __FILE__;
  repo = repo.substr(0, repo.rfind("/bench/"));
  if (argc > 1) {
    lorvan::treebank_path = argv[1];
  } else if (const char* env = std::getenv("LORVAN_DEV_TREEBANK")) {
    lorvan::treebank_path = env;
  } else {
    lorvan::treebank_path = repo + "/../shared/ud-english-ewt/en_ewt-ud-dev.conllu";
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
