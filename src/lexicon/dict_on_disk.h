// DictOnDisk: a lexicon text file on disk, searched through its hash index
// so that a large lexicon need not be loaded into memory.
//
// A dictionary is described by a header file (dict_on_disk_header.h) that
// names the dictionary text file, its index file and the index's bucket
// count.  Opening one rebuilds the index first when it is missing or older
// than the dictionary (dict_index_builder.h).  A look-up reads one bucket
// word of the index, at most one bucket list, and for each candidate seeks
// the dictionary and reads that one entry; only the last entry read is kept,
// in the object's scratch buffer.
//
// Both files are untrusted: a missing, unreadable or malformed header, a
// dictionary that cannot be opened, or an index that cannot be built or is
// damaged is reported on the error stream and leaves the object unusable
// (ok() false); nothing of it is ever overwritten except by a complete new
// index.
//
// Ownership: the object owns both open files and its buffer.  A lexicon
// that links it (Lexicon::link_disk) owns it from then on.
#ifndef LORVAN_LEXICON_DICT_ON_DISK_H_
#define LORVAN_LEXICON_DICT_ON_DISK_H_

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "lexicon/dict_index.h"
#include "lexicon/dict_on_disk_entry.h"
#include "lexicon/lexicon.h"
#include "strbufs.h"

namespace lorvan {

class DictOnDisk : public DiskDictionary {
 public:
  static constexpr std::size_t kBufferSize = 1024;

  // Reads the header file `header`, found on the search path, and opens the
  // dictionary and its index.  Prints path " does not exist" for a missing
  // dictionary and "Error openning dictionary " path for one that cannot be
  // opened or is not a regular file.
  explicit DictOnDisk(const char* header);

  // Whether both the dictionary and the index are open and sound.
  bool ok() const override { return index_ != nullptr; }

  // The entry whose head word equals `word` case-insensitively, the first
  // in dictionary order; null when there is none.  Valid until the next
  // look-up.  Null for a null word; on an unusable object prints
  // "Dictionary file or index file not openned." and gives null.
  const char* search(const char* word) override;
  // The entry read at `candidate` (position + 1) when its head word equals
  // `word` case-insensitively, else null.  Valid until the next look-up.
  const char* search(const char* word, std::uint32_t candidate);

  // The next entry from the dictionary's current position, into `buffer`;
  // null at the end.
  const char* get_entry(StrBufs& buffer) { return reader_.next(buffer); }
  // The head word of `entry`, into `buffer` (see dict_head_word()).
  const char* get_head_word(const char* entry, StrBufs& buffer) const {
    return dict_head_word(entry, brackets_, buffer);
  }
  // Rebuilds the index at `path` from the dictionary; false on failure.
  bool buildindex(const std::string& path);

 private:
  // Opens the dictionary and returns its size; false after a message.
  bool open_dictionary(const std::string& path, std::uint64_t& size);
  // Whether the index at `index_path` must be (re)built for `dictionary_path`.
  static bool index_is_stale(const std::string& dictionary_path, const std::string& index_path);

  // A look-up reads one entry, seldom longer than this; a small stream
  // buffer keeps each read from copying more of the file than that.
  static constexpr std::size_t kReadBufferSize = 1024;

  StrBufs buffer_{kBufferSize};
  char read_buffer_[kReadBufferSize];  // outlives dictionary_, which uses it
  std::ifstream dictionary_;
  std::unique_ptr<DictIndex> index_;  // null while unusable
  std::uint32_t buckets_ = 0;  // 0 until a header was read
  DictBrackets brackets_;
  DictEntryReader reader_{brackets_};
};

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_ON_DISK_H_
