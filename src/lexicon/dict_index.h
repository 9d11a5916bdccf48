// DictIndex: the hash index of a dictionary text file, read from its index
// file to find the entries whose head word may be a given word.
//
// Index file layout (every number 4 bytes, most significant byte first):
//   - a bucket table of N words, N being the header's bucket count; bucket
//     b covers the entries whose head word w has dict_bucket(w, N) == b;
//   - then the lists of the buckets with several entries, in bucket order,
//     the first at offset 4N, each the candidates of its bucket in
//     dictionary order followed by a 0 word.
// A bucket word is 0 for an empty bucket, kSingleEntry | candidate for a
// bucket of exactly one entry (so no list is read for it), and otherwise
// the byte offset of the bucket's list.  A candidate is the entry's
// position + 1: the byte offset in the dictionary at which reading for the
// entry starts (just after the previous entry), plus one, so it is never 0.
//
// The index file is untrusted: open() checks its whole layout against the
// bucket count and the dictionary's size before anything is looked up, and
// look-ups stay safe even if the file changes afterwards.  The object owns
// its open index stream.
#ifndef LORVAN_LEXICON_DICT_INDEX_H_
#define LORVAN_LEXICON_DICT_INDEX_H_

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

namespace lorvan {

// The bucket of head word `word` in an index of `buckets` buckets.
std::uint32_t dict_bucket(const char* word, std::uint32_t buckets);

class DictIndex {
 public:
  static constexpr std::uint32_t kSingleEntry = 0x80000000u;

  // Opens and checks the index file at `path` for a dictionary of
  // `dictionary_size` bytes.  Prints "Cannot open the index file: '" path
  // "'" when it cannot be opened, or "The index file '" path "' is damaged
  // (" what "); remove it to have it rebuilt" when its layout is wrong, and
  // returns null in both cases.
  static std::unique_ptr<DictIndex> open(const std::string& path, std::uint32_t buckets,
                                         std::uint64_t dictionary_size);

  // Starts the candidates of `word` (not null).
  void start(const char* word);
  // The next candidate (position + 1) of the started word in dictionary
  // order, or 0 when there is none left.
  std::uint32_t next();

 private:
  // A look-up reads one bucket word and usually a short list: a small
  // buffer keeps each read from copying more of the file than that.
  static constexpr std::size_t kReadBufferSize = 64;

  explicit DictIndex(std::uint32_t buckets) : buckets_(buckets) {}

  char read_buffer_[kReadBufferSize];  // outlives in_, which uses it
  std::ifstream in_;
  std::uint32_t buckets_;
  std::uint32_t single_ = 0;  // a pending single candidate
  bool in_list_ = false;      // whether in_ stands inside a list
};

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_INDEX_H_
