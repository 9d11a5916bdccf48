// The header file of a dictionary on disk: a small text file, found on the
// search path, that names the dictionary text file, the bucket count of its
// hash index, the index file and the characters that bracket an entry.
//
// Its non-blank tokens, in order (';' starts a comment that runs to the end
// of the line; a file name may be written in double quotes):
//   dictionary-file  bucket-count  index-file  open-char  close-char
// e.g.   words.lex 20011 words.idx ( )
// Relative file names are taken relative to the directory in which the
// header file was found; absolute ones are used as they are.
#ifndef LORVAN_LEXICON_DICT_ON_DISK_HEADER_H_
#define LORVAN_LEXICON_DICT_ON_DISK_HEADER_H_

#include <cstdint>
#include <optional>
#include <string>

#include "lexicon/dict_on_disk_entry.h"

namespace lorvan {

struct DictHeader {
  // The most buckets an index may have: its bucket table of 4-byte words
  // must leave room for list offsets below 2^31.
  static constexpr std::uint32_t kMaxBuckets = (1u << 29) - 1;

  std::string dictionary_path;
  std::string index_path;
  std::uint32_t buckets = 0;  // 1 .. kMaxBuckets
  DictBrackets brackets;
};

// Locates `name` on the search path and reads it.  Returns nothing when it
// cannot be found or read (reported by the search path) or is malformed:
// a missing or unreadable token, a bucket count outside 1 .. kMaxBuckets,
// or brackets that are equal or a double quote; each is reported on the
// error stream as "Bad dictionary header <path>: <what>".
std::optional<DictHeader> read_dict_header(const char* name);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_ON_DISK_HEADER_H_
