// Entries of a dictionary text file: the balanced bracketed texts that a
// DictOnDisk reads on demand, and the head words that key them.
//
// A dictionary file is a sequence of entries, each opening with the open
// character and ending with the matching close character; text between
// entries is ignored.  Inside an entry a double-quoted string is opaque:
// brackets in it do not count, and a backslash in it takes the next
// character with it.
//
// DictEntryReader reads such entries from a stream buffer it does not own,
// one after another, and counts the bytes it consumes so that a caller
// indexing the file knows where every entry starts without asking the
// stream.  Entry texts and head words are finished strings of a StrBufs
// arena the caller passes in and owns.
#ifndef LORVAN_LEXICON_DICT_ON_DISK_ENTRY_H_
#define LORVAN_LEXICON_DICT_ON_DISK_ENTRY_H_

#include <cstdint>
#include <streambuf>

#include "strbufs.h"

namespace lorvan {

// The characters that open and close an entry; they must differ.
struct DictBrackets {
  char open = '(';
  char close = ')';
};

class DictEntryReader {
 public:
  explicit DictEntryReader(DictBrackets brackets) : brackets_(brackets) {}

  // Reads from `in` (not owned) from now on; `offset` is the byte offset in
  // the file at which `in` now stands.
  void attach(std::streambuf* in, std::uint64_t offset) {
    in_ = in;
    offset_ = offset;
  }
  // The byte offset of the next character to be read.
  std::uint64_t offset() const { return offset_; }

  // Skips to the next open character and returns the whole entry, brackets
  // included, as a finished string of `out`.  Null at the end of the input,
  // or when the input ends inside the entry: then
  // "DictOnDisk::get_entry: unmatched parenthesis", a line end, the first
  // 99 characters collected and a line end go to the error stream.
  const char* next(StrBufs& out);

 private:
  int get();
  // Copies a quoted string whose opening quote has been copied; false when
  // the input ends first.
  bool copy_quoted(StrBufs& out);

  DictBrackets brackets_;
  std::streambuf* in_ = nullptr;
  std::uint64_t offset_ = 0;
};

// The head word of `entry` (a text that starts with the open character),
// as a finished string of `out`: after the open character, blanks are
// skipped; a double-quoted head word is the quoted text (a backslash takes
// the next character literally, an unterminated quote runs to the end);
// otherwise it is the text up to the next open or close character with
// trailing blanks removed (blanks inside are kept).  Null when neither
// character follows.
const char* dict_head_word(const char* entry, DictBrackets brackets, StrBufs& out);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_ON_DISK_ENTRY_H_
