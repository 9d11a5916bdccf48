// Persistent database costs at one million entries (word-sequence counter
// entries of one word each): inserting into memory, the first sync to a new
// file, and look-ups after reopening -- cold (every key read from the file,
// with the file dropped from the operating system's cache first) and warm
// (every key already in memory).  Reports rates and the file size per entry.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "stats/word_seq_counter.h"

namespace lorvan {
namespace {

constexpr int kEntries = 1000000;
constexpr unsigned kBuckets = 1000003;

// A scratch folder with a header file, removed at exit, and the keys.
struct Workspace {
  Workspace() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    namedobj_init();
    std::string pattern = (std::filesystem::temp_directory_path() / "lorvan-bench-XXXXXX").string();
    dir = mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp";
    header = dir + "/bench.hdr";
    data = dir + "/bench.db";
    FILE* out = std::fopen(header.c_str(), "w");
    std::fprintf(out, "bench.db 64 %u strcasecmp\n", kBuckets);
    std::fclose(out);
    keys.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) keys.push_back("word" + std::to_string(i));
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string dir, header, data;
  std::vector<std::string> keys;
};

Workspace& workspace() {
  static Workspace w;
  return w;
}

std::unique_ptr<WordSeqCounter> new_counter() {
  auto counter = std::make_unique<WordSeqCounter>(kBuckets, false);
  counter->setSymtable(101);
  return counter;
}

void fill(WordSeqCounter& counter) {
  const auto& keys = workspace().keys;
  for (int i = 0; i < kEntries; ++i) {
    const char* word = keys[static_cast<std::size_t>(i)].c_str();
    counter.addEntry(WordSeqCounter::Words(&word, 1), static_cast<float>(i % 97 + 1));
  }
}

// Makes the database file of kEntries entries unless it exists.
void ensure_file() {
  if (std::filesystem::exists(workspace().data)) return;
  auto counter = new_counter();
  fill(*counter);
  counter->open_file(workspace().header.c_str(), std::ios::in | std::ios::out);
  counter->sync();
}

// Drops the file's pages from the operating system's cache.
void drop_os_cache(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

int look_up_all(WordSeqCounter& counter) {
  int found = 0;
  for (const std::string& key : workspace().keys) found += counter.find_entry(key.c_str()) != nullptr;
  return found;
}

void BM_InsertInMemory(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto counter = new_counter();
    state.ResumeTiming();
    fill(*counter);
    state.PauseTiming();
    counter.reset();
    state.ResumeTiming();
  }
  state.counters["inserts/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kEntries,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InsertInMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstSync(benchmark::State& state) {
  double bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(workspace().data);
    auto counter = new_counter();
    fill(*counter);
    counter->open_file(workspace().header.c_str(), std::ios::in | std::ios::out);
    state.ResumeTiming();
    counter->sync();
    state.PauseTiming();
    bytes = static_cast<double>(std::filesystem::file_size(workspace().data));
    counter.reset();
    state.ResumeTiming();
  }
  state.counters["file bytes/entry"] = bytes / kEntries;
}
BENCHMARK(BM_FirstSync)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LookUpCold(benchmark::State& state) {
  ensure_file();
  int found = 0;
  for (auto _ : state) {
    state.PauseTiming();
    drop_os_cache(workspace().data);
    auto counter = new_counter();
    counter->open_file(workspace().header.c_str(), std::ios::in);
    state.ResumeTiming();
    found = look_up_all(*counter);
    state.PauseTiming();
    counter.reset();
    state.ResumeTiming();
  }
  if (found != kEntries) state.SkipWithError("entries are missing");
  state.counters["look-ups/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kEntries,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LookUpCold)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LookUpWarm(benchmark::State& state) {
  ensure_file();
  auto counter = new_counter();
  counter->open_file(workspace().header.c_str(), std::ios::in);
  look_up_all(*counter);  // every entry is in memory from now on
  int found = 0;
  for (auto _ : state) found = look_up_all(*counter);
  if (found != kEntries) state.SkipWithError("entries are missing");
  state.counters["look-ups/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kEntries,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LookUpWarm)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
