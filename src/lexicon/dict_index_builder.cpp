#include "lexicon/dict_index_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

#include "binio.h"
#include "lexicon/dict_index.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr int kProgressEvery = 5000;
constexpr std::size_t kScratchSize = 1024;
constexpr std::uint64_t kWordSize = 4;
// Candidates and list offsets must leave the top bit of a word clear.
constexpr std::uint64_t kPositionLimit = DictIndex::kSingleEntry;

struct Slot {
  std::uint32_t bucket;
  std::uint32_t candidate;  // position + 1
  bool operator<(const Slot& other) const {
    return bucket != other.bucket ? bucket < other.bucket : candidate < other.candidate;
  }
};

// A file created beside `target` that replaces it on commit() and is
// removed otherwise.
class TempFile {
 public:
  explicit TempFile(const std::string& target) : target_(target), path_(target + ".XXXXXX") {
    const int fd = ::mkstemp(path_.data());
    if (fd < 0) {
      path_.clear();
      return;
    }
    // mkstemp makes the file private; give it the mode a new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    out_.open(path_, std::ios::out | std::ios::binary | std::ios::trunc);
  }
  ~TempFile() {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool is_open() const { return out_.is_open(); }
  std::ostream& out() { return out_; }

  // Closes the file and renames it to the target; false when writing or
  // renaming failed.
  bool commit() {
    out_.close();
    if (out_.fail() || std::rename(path_.c_str(), target_.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string target_;
  std::string path_;
  std::ofstream out_;
};

// Reads every entry and notes its bucket and candidate, in dictionary
// order; false when the dictionary is too large to index.
bool collect_slots(std::istream& dictionary, DictBrackets brackets, std::uint32_t buckets,
                   std::vector<Slot>& slots) {
  dictionary.clear();
  dictionary.seekg(0);
  DictEntryReader reader(brackets);
  reader.attach(dictionary.rdbuf(), 0);
  StrBufs scratch(kScratchSize);
  int count = 0;
  for (;;) {
    scratch.clear();
    const std::uint64_t position = reader.offset();
    const char* entry = reader.next(scratch);
    if (entry == nullptr) break;
    if (position + 1 >= kPositionLimit) {
      std::cerr << "The dictionary is too large to be indexed: entries must start before 2 GB"
                << std::endl;
      return false;
    }
    // An entry cut short by a NUL byte has no head word and cannot be found.
    const char* head = dict_head_word(entry, brackets, scratch);
    if (head == nullptr) continue;
    slots.push_back({dict_bucket(head, buckets), static_cast<std::uint32_t>(position + 1)});
    if (++count % kProgressEvery == 0) std::cerr << count << " entries" << std::endl;
  }
  std::cerr << count << " entries" << std::endl;
  return true;
}

// The number of entries of the bucket whose slots start at `from`.
std::size_t run_length(const std::vector<Slot>& slots, std::size_t from) {
  std::size_t to = from;
  while (to < slots.size() && slots[to].bucket == slots[from].bucket) ++to;
  return to - from;
}

std::uint64_t index_size(const std::vector<Slot>& slots, std::uint32_t buckets) {
  std::uint64_t size = kWordSize * buckets;
  for (std::size_t i = 0; i < slots.size();) {
    const std::size_t n = run_length(slots, i);
    if (n > 1) size += kWordSize * (n + 1);
    i += n;
  }
  return size;
}

// `slots` sorted by bucket, then candidate.
void write_index(std::ostream& out, const std::vector<Slot>& slots, std::uint32_t buckets) {
  std::uint64_t next_list = kWordSize * buckets;
  std::size_t i = 0;
  for (std::uint32_t b = 0; b < buckets; ++b) {
    if (i == slots.size() || slots[i].bucket != b) {
      write_unsigned_long(out, 0);
      continue;
    }
    const std::size_t n = run_length(slots, i);
    if (n == 1) {
      write_unsigned_long(out, slots[i].candidate | DictIndex::kSingleEntry);
    } else {
      write_unsigned_long(out, static_cast<std::uint32_t>(next_list));
      next_list += kWordSize * (n + 1);
    }
    i += n;
  }
  for (i = 0; i < slots.size();) {
    const std::size_t n = run_length(slots, i);
    if (n > 1) {
      for (std::size_t k = i; k < i + n; ++k) write_unsigned_long(out, slots[k].candidate);
      write_unsigned_long(out, 0);
    }
    i += n;
  }
}

}  // namespace

bool build_dict_index(std::istream& dictionary, DictBrackets brackets, std::uint32_t buckets,
                      const std::string& index_path) {
  std::cerr << "Making Index file " << index_path << ". Please wait." << std::endl;
  TempFile file(index_path);
  if (!file.is_open()) {
    std::cerr << "Cannot open index file " << index_path << std::endl;
    return false;
  }
  std::vector<Slot> slots;
  const bool collected = collect_slots(dictionary, brackets, buckets, slots);
  dictionary.clear();
  dictionary.seekg(0);
  if (!collected) return false;
  std::sort(slots.begin(), slots.end());
  if (index_size(slots, buckets) > kPositionLimit) {
    std::cerr << "The index file " << index_path << " would exceed 2 GB; use fewer buckets"
              << std::endl;
    return false;
  }
  write_index(file.out(), slots, buckets);
  if (!file.commit()) {
    std::cerr << "Cannot write index file " << index_path << std::endl;
    return false;
  }
  return true;
}

}  // namespace lorvan
