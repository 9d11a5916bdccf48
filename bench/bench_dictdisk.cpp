// Dictionaries on disk at 200,000 entries: building the index, linking
// (opening and checking the index), and look-ups per second with the files
// in the page cache (warm) and with their pages dropped from it before
// every look-up (cold), for words present and absent.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lexicon/dict_on_disk.h"

namespace lorvan {
namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 200000;
constexpr unsigned kBuckets = 200003;

std::string word(int i) {
  std::string w;
  for (int n = i + 26 * 26; n > 0; n /= 26) w.insert(w.begin(), static_cast<char>('a' + n % 26));
  return w;
}

// The generated dictionary, its header and (once built) its index, in a
// folder of their own for the whole run.
class Fixture {
 public:
  static Fixture& get() {
    static Fixture fixture;
    return fixture;
  }
  std::string header() const { return (dir_ / "words.hdr").string(); }
  std::string dictionary() const { return (dir_ / "words.lex").string(); }
  std::string index() const { return (dir_ / "words.idx").string(); }
  const std::vector<std::string>& words() const { return words_; }

  // Opens a dictionary with the build messages kept off the terminal.
  std::unique_ptr<DictOnDisk> open() const {
    std::ostringstream quiet;
    std::streambuf* saved = std::cerr.rdbuf(quiet.rdbuf());
    auto dict = std::make_unique<DictOnDisk>(header().c_str());
    std::cerr.rdbuf(saved);
    return dict;
  }

 private:
  Fixture() : dir_(fs::temp_directory_path() / ("bench_dictdisk_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    std::ofstream lex(dictionary());
    for (int i = 0; i < kEntries; ++i) {
      words_.push_back(word(i));
      lex << '(' << words_.back() << " (noun (num sg)) (freq N " << i % 97 << "))\n";
    }
    std::ofstream(header()) << "words.lex " << kBuckets << " words.idx ( )\n";
  }
  ~Fixture() { fs::remove_all(dir_); }

  fs::path dir_;
  std::vector<std::string> words_;
};

void drop_from_page_cache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

void BM_BuildIndex(benchmark::State& state) {
  Fixture& f = Fixture::get();
  for (auto _ : state) {
    fs::remove(f.index());
    benchmark::DoNotOptimize(f.open()->ok());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

void BM_LinkWithBuiltIndex(benchmark::State& state) {
  Fixture& f = Fixture::get();
  f.open();  // builds the index when missing
  for (auto _ : state) benchmark::DoNotOptimize(f.open()->ok());
}
BENCHMARK(BM_LinkWithBuiltIndex)->Unit(benchmark::kMillisecond);

// Arg 0: present words, 1: absent ones.  Arg 1 of the pair: 1 drops the
// pages of both files before every look-up.
void BM_LookUp(benchmark::State& state) {
  Fixture& f = Fixture::get();
  std::unique_ptr<DictOnDisk> dict = f.open();
  if (!dict->ok()) {
    state.SkipWithError("dictionary not usable");
    return;
  }
  const bool absent = state.range(0) == 1;
  const bool cold = state.range(1) == 1;
  std::vector<std::string> probes;
  std::mt19937 rng(7);
  for (int i = 0; i < 4096; ++i) {
    const std::string& w = f.words()[rng() % f.words().size()];
    probes.push_back(absent ? w + "9" : w);  // no head word has a digit
  }
  std::size_t i = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      drop_from_page_cache(f.dictionary());
      drop_from_page_cache(f.index());
      state.ResumeTiming();
    }
    const char* entry = dict->search(probes[i++ % probes.size()].c_str());
    if ((entry == nullptr) != absent) {
      state.SkipWithError("wrong look-up result");
      break;
    }
    benchmark::DoNotOptimize(entry);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookUp)
    ->ArgNames({"absent", "cold"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1});

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
