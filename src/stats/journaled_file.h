// JournaledFile: a disk file read and written by byte position whose writes
// are held in memory until commit() puts all of them on disk at once.
//
// Crash safety.  Whatever happens to the process during commit(), the file
// is later found either as it was before the commit or with every write of
// it.  commit() writes pages that lie wholly beyond the committed end of
// the file straight into it (nothing refers to them yet), then copies the
// other changed pages into a journal file beside it (path + ".journal")
// closed by a checksum, syncs the journal, writes those pages into the file,
// syncs it and removes the journal.  open() finishes a journal that is
// complete and throws away one that is not.  A file that does not exist yet
// (or is empty) is written whole under a temporary name (path + ".new") and
// renamed into place by its first commit, so it either appears complete or
// not at all.
//
// Only one JournaledFile at a time may have a file open for writing (an
// advisory lock, also between processes); readers take no lock.
//
// Reads see the uncommitted writes.  Uncommitted writes are dropped when the
// object is closed or destroyed.  Pages read from disk are kept in a
// bounded cache (the file is taken to change only through this object).
// The object owns its descriptor and its pages.  Not thread-safe.
#ifndef LORVAN_STATS_JOURNALED_FILE_H_
#define LORVAN_STATS_JOURNALED_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lorvan {

class JournaledFile {
 public:
  static constexpr std::size_t kPageSize = 4096;
  // Pages read from disk that are kept (16 MB); the cache starts afresh
  // when it is full.
  static constexpr std::size_t kMaxCleanPages = 4096;
  // The reason open() gives when another writer has the file.
  static constexpr const char* kBusy = "the file is being written by another user";

  JournaledFile() = default;
  ~JournaledFile();
  JournaledFile(const JournaledFile&) = delete;
  JournaledFile& operator=(const JournaledFile&) = delete;

  // Opens `path` for reading, and with `writable` also for writing.  A
  // missing or empty file is created (by the first commit) when `writable`
  // is set; read-only it is an error.  Recovers an interrupted commit as
  // described above (read-only: its complete journal is only applied in
  // memory).  On failure returns false with the reason in `error`.
  bool open(const std::string& path, bool writable, std::string& error);
  // Drops uncommitted writes and releases the file.
  void close();

  bool is_open() const { return fd_ >= 0; }
  // True when the file is still to be created by the first commit.
  bool is_new() const { return creating_; }
  const std::string& path() const { return path_; }
  // The size of the file including uncommitted writes.
  std::uint64_t size() const { return size_; }
  // Whether there are uncommitted writes.
  bool dirty() const { return !pages_.empty(); }

  // Copies n bytes at `pos` into `out`; false when they are not all inside
  // the file or the read fails.
  bool read(std::uint64_t pos, void* out, std::size_t n);
  // Records n bytes at `pos` (the file grows as needed); false on a
  // read-only file or when the old contents cannot be read.
  bool write(std::uint64_t pos, const void* data, std::size_t n);
  // Puts every pending write on disk as described above.  On failure
  // returns false with the reason in `error`; the pending writes are kept,
  // so a later commit may try again.
  bool commit(std::string& error);

  static std::string journal_path(const std::string& path) { return path + ".journal"; }
  static std::string creation_path(const std::string& path) { return path + ".new"; }

 private:
  using Page = std::unique_ptr<char[]>;

  bool open_existing(std::string& error);
  bool start_creation(std::string& error);
  // Applies (or with read-only, loads into memory) a complete journal and
  // removes a broken one.
  bool recover(std::string& error);
  bool read_disk(std::uint64_t pos, char* out, std::size_t n) const;
  // Page `index` as it is on disk, from the cache or read into it; null on
  // a read error.
  const char* clean_page(std::uint64_t index);
  // A new page holding the disk contents of page `index`, or null.
  Page load_page(std::uint64_t index) const;
  bool write_disk(std::uint64_t pos, const char* data, std::size_t n) const;
  // The pending page `index`, read from disk first when it is new.
  char* page_for_write(std::uint64_t index);
  // Bytes of page `index` that lie inside the file.
  std::size_t page_length(std::uint64_t index) const;
  std::vector<std::uint64_t> sorted_page_indexes() const;
  bool commit_creation(std::string& error);
  bool commit_journaled(std::string& error);
  bool write_journal(const std::vector<std::uint64_t>& pages, std::string& error) const;
  void finish_commit();

  std::string path_;
  int fd_ = -1;
  bool writable_ = false;
  bool creating_ = false;               // the first commit creates the file
  std::uint64_t size_ = 0;       // including pending writes
  std::uint64_t disk_size_ = 0;  // bytes on disk as of the last commit
  std::unordered_map<std::uint64_t, Page> pages_;  // pending pages by index
  std::unordered_map<std::uint64_t, Page> clean_;  // cached disk pages
};

}  // namespace lorvan

#endif  // LORVAN_STATS_JOURNALED_FILE_H_
