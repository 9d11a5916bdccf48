#include "lexicon/dict_index.h"

#include <iostream>

#include "binio.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

constexpr std::uint64_t kWordSize = 4;

bool read_word(std::istream& in, std::uint32_t& out) {
  out = read_unsigned_long(in);
  return !in.fail();
}

// Walks the bucket table and the lists side by side, as they were written,
// and says what is wrong with the file (null when nothing is).
class LayoutCheck {
 public:
  LayoutCheck(const std::string& path, std::uint32_t buckets, std::uint64_t dictionary_size)
      : table_(path, std::ios::in | std::ios::binary),
        lists_(path, std::ios::in | std::ios::binary),
        buckets_(buckets),
        dictionary_size_(dictionary_size) {}

  const char* run() {
    if (!table_.seekg(0, std::ios::end)) return "it cannot be read";
    const std::uint64_t size = static_cast<std::uint64_t>(table_.tellg());
    const std::uint64_t table_size = kWordSize * buckets_;
    if (size % kWordSize != 0) return "its size is not a multiple of 4";
    if (size < table_size) return "it is shorter than its bucket table";
    table_.seekg(0);
    lists_.seekg(static_cast<std::streamoff>(table_size));
    next_list_ = table_size;
    for (std::uint32_t b = 0; b < buckets_; ++b) {
      std::uint32_t word;
      if (!read_word(table_, word)) return "its bucket table cannot be read";
      if (const char* fault = check_bucket(word)) return fault;
    }
    if (next_list_ != size) return "it has data after its last list";
    return nullptr;
  }

 private:
  bool valid_candidate(std::uint32_t c) const { return c != 0 && c <= dictionary_size_; }

  const char* check_bucket(std::uint32_t word) {
    if (word == 0) return nullptr;
    if ((word & DictIndex::kSingleEntry) != 0) {
      return valid_candidate(word & ~DictIndex::kSingleEntry) ? nullptr
                                                              : "an entry position is out of range";
    }
    if (word != next_list_) return "a bucket list is out of place";
    int count = 0;
    for (std::uint32_t c;; ++count) {
      if (!read_word(lists_, c)) return "a bucket list runs past the end";
      next_list_ += kWordSize;
      if (c == 0) break;
      if (!valid_candidate(c)) return "an entry position is out of range";
    }
    return count == 0 ? "a bucket list is empty" : nullptr;
  }

  std::ifstream table_;
  std::ifstream lists_;
  std::uint32_t buckets_;
  std::uint64_t dictionary_size_;
  std::uint64_t next_list_ = 0;
};

}  // namespace

std::uint32_t dict_bucket(const char* word, std::uint32_t buckets) {
  return hashpjw(word) % buckets;
}

std::unique_ptr<DictIndex> DictIndex::open(const std::string& path, std::uint32_t buckets,
                                           std::uint64_t dictionary_size) {
  std::unique_ptr<DictIndex> index(new DictIndex(buckets));
  index->in_.rdbuf()->pubsetbuf(index->read_buffer_, kReadBufferSize);
  index->in_.open(path, std::ios::in | std::ios::binary);
  if (!index->in_.is_open()) {
    std::cerr << "Cannot open the index file: '" << path << "'" << std::endl;
    return nullptr;
  }
  if (const char* fault = LayoutCheck(path, buckets, dictionary_size).run()) {
    std::cerr << "The index file '" << path << "' is damaged (" << fault
              << "); remove it to have it rebuilt" << std::endl;
    return nullptr;
  }
  return index;
}

void DictIndex::start(const char* word) {
  single_ = 0;
  in_list_ = false;
  in_.clear();
  std::uint32_t bucket_word;
  if (!in_.seekg(static_cast<std::streamoff>(kWordSize * dict_bucket(word, buckets_))) ||
      !read_word(in_, bucket_word) || bucket_word == 0) {
    return;
  }
  if ((bucket_word & kSingleEntry) != 0) {
    single_ = bucket_word & ~kSingleEntry;
    return;
  }
  in_list_ = static_cast<bool>(in_.seekg(bucket_word));
}

std::uint32_t DictIndex::next() {
  if (single_ != 0) {
    const std::uint32_t c = single_;
    single_ = 0;
    return c;
  }
  std::uint32_t c = 0;
  if (in_list_ && (!read_word(in_, c) || c == 0)) c = 0;
  in_list_ = c != 0;
  return c;
}

}  // namespace lorvan
