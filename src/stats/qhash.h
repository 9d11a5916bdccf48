// QHash: a hash file of variable-length records with chained buckets, on a
// QFile.
//
// After the QFile header come the bucket count N (position 12), the table
// of N bucket heads (position 16; each the position of the first record of
// its chain, 0 for none), the length and name of the comparison function
// and padding up to a multiple of 4 (copies of the name's first byte); the
// data area follows.  A record is an item whose data is the position of
// the next record of its bucket (0 for the last) followed by the payload,
// which begins with its NUL-terminated key.  A key lives in bucket
// hashpjw(key) mod N; keys are compared with the named comparison function
// ("strcmp", "strcasecmp", "str_to_upper_cmp": named objects of type
// "function").
//
// A database is linked to its data file through a header file: the data
// file name (relative to the header file's directory unless it begins with
// "/"), the block size, the bucket count and the comparison function name,
// separated by blanks; ';' starts a comment.  An existing data file keeps
// its own block size, bucket count and function.
//
// Like QFile, nothing reaches the disk before saveHeader().  Not
// thread-safe.
#ifndef LORVAN_STATS_QHASH_H_
#define LORVAN_STATS_QHASH_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stats/qfile.h"
#include "strbufs.h"

namespace lorvan {

class Tokenizer;

// Finds the header file `header` on the search path and gives `open` the
// directory it was found in and a tokenizer reading it (blanks " \t\n\r",
// start and middle characters ";,", quote '"', escape '\\', comment ';').
// -1 when the file is not found, otherwise what `open` returns.
int read_header_file(const char* header,
                     const std::function<int(const char* directory, Tokenizer&)>& open);

class QHash : public QFile {
 public:
  using CompareFn = int (*)(const char*, const char*);
  static constexpr std::uint32_t kTablePosition = 16;
  static constexpr std::uint32_t kMaxBuckets = 1u << 26;
  static constexpr std::uint32_t kMaxFunctionName = 255;

  explicit QHash(std::ios::openmode mode);
  ~QHash() override;

  // Opens the header file on the search path and reads it; -1 when it is
  // not found, otherwise as initAux().
  int init(const char* header);
  // Reads the four header tokens and opens the data file: 1 for an existing
  // file, 0 for a new one, 0 with ok() false after a failure (a missing
  // token is reported).
  virtual int initAux(const char* directory, Tokenizer& tokenizer);
  // Opens `path` as QFile::init does and reads or lays out the bucket table.
  // A new file whose function is not registered prints "The function '"
  // name "' is not registered as a named object" and ends the program with
  // status 1; an existing file naming an unknown function is not opened.
  int init(const char* path, long block_size, long bucket_count, const char* function_name);

  std::uint32_t bucket_count() const { return bucket_count_; }
  const std::string& function_name() const { return function_name_; }
  // The head of bucket i (0 for an empty or unknown bucket).
  std::uint32_t bucket(std::uint32_t i);

  // The position of the record for `key`, with its payload in `buffer`
  // (buffer.str()[0 .. length()-1]); 0 when there is none.
  std::uint32_t fetch(const char* key, StrBufs& buffer);
  // The same without reading the payload.
  std::uint32_t getPosition(const char* key);
  // Appends a new record for the payload (which must hold its key's NUL)
  // to the end of its key's bucket; its position, 0 when nothing was
  // written (read-only or full file).
  std::uint32_t insert_new(const char* payload, std::uint32_t length);
  // Rewrites the record at `position` with a new payload; with flag 0 the
  // link is kept, otherwise `next` becomes the link.  Its position, or 0.
  std::uint32_t store(std::uint32_t position, const char* payload, std::uint32_t length,
                      std::uint32_t next, int flag);

  // Walks every chain; prints "out of bound" or "invalid header" (and a
  // line end) for the first faulty record and stops.  True when sound.
  bool validate();
  // Chain-length histogram (limit classes) on the error stream.
  void show_profile(int limit);
  // Relinks every chain in ascending position order, then saveHeader().
  void sort_links();

  // The link and the payload of the record at `position` (the payload
  // replaces buffer's contents); false for a damaged record.
  bool read_record(std::uint32_t position, std::uint32_t& next, StrBufs& buffer);
  // The positions of the records of bucket i in chain order; false when the
  // chain is damaged (the sound part is returned).
  bool chain(std::uint32_t i, std::vector<std::uint32_t>& positions);

 private:
  int open_new_file(const char* function_name, long bucket_count);
  int open_existing_file();
  // The record for `key` and its item, or 0.
  std::uint32_t find_record(const char* key, ItemInfo& info);
  bool write_record(std::uint32_t& position, std::uint32_t next, const char* payload,
                    std::uint32_t length);

  CompareFn compare_ = nullptr;
  std::string function_name_;
  std::uint32_t bucket_count_ = 0;
  std::vector<char> scratch_;  // key comparisons
  StrBufs record_{256};        // records being written
};

// Walks the records of a QHash bucket by bucket, each chain in order:
//   QHashIterator it(file);
//   while (StrBufs* payload = it.next()) use(payload->str(), payload->length());
// The file must not change during the walk.  A damaged chain is reported
// and the walk goes on with the next bucket.
class QHashIterator {
 public:
  explicit QHashIterator(QHash& file) : file_(file) {}

  // The next record's payload (valid until the next call), or null at the
  // end.
  StrBufs* next();
  void reset();
  // The position of the record next() returned last.
  std::uint32_t position() const { return current_; }

 private:
  QHash& file_;
  std::uint32_t bucket_ = 0;
  std::uint32_t next_position_ = 0;
  std::uint32_t steps_ = 0;
  std::uint32_t current_ = 0;
  StrBufs buffer_{20000};
};

}  // namespace lorvan

#endif  // LORVAN_STATS_QHASH_H_
