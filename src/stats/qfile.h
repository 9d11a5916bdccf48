// QFile: a block-structured database file.  Space after the file header is
// handed out in chunks of whole blocks and given back to a free list that
// is reused first fit; an item of data lives in one chunk, or in a first
// chunk and one overflow chunk when it outgrew its place.
//
// File header (every number 4 bytes, most significant byte first):
//   0: end of the used file, 4: position of the saved free list (0: none),
//   8: block size.  Derived classes lay out more header after byte 12 and
//   set the data start; every chunk lies at or after it.
// A chunk holding the start of an item begins with a ChunkHeader; a split
// chunk ends with a ChunkFooter naming its overflow chunk.  Item data runs
// on from the header to the footer and then from the start of the overflow
// chunk.
//
// Every change stays in memory until saveHeader() commits it together with
// the header and the free list (see JournaledFile), so the disk file is
// always the state of the last saveHeader().  A file that fails the checks
// made when it is opened is not opened and is never written.
//
// The QFile owns its file.  Not thread-safe.
#ifndef LORVAN_STATS_QFILE_H_
#define LORVAN_STATS_QFILE_H_

#include <cstdint>
#include <ios>
#include <iosfwd>
#include <string>
#include <vector>

#include "stats/journaled_file.h"
#include "strbufs.h"

namespace lorvan {

struct ChunkHeader {
  std::uint32_t length = 0;  // data bytes of the item
  std::uint16_t blocks = 0;  // size of this chunk in blocks
  std::uint16_t marker = 0;  // kWholeMarker or kSplitMarker
};

struct ChunkFooter {
  std::uint32_t position = 0;  // of the overflow chunk
  std::uint32_t blocks = 0;    // size of the overflow chunk in blocks
};

// A range of reusable bytes.
struct FreeRange {
  std::uint32_t position;
  std::uint32_t size;
};

class QFile {
 public:
  static constexpr std::uint16_t kWholeMarker = 0x5555;
  static constexpr std::uint16_t kSplitMarker = 0x5554;
  static constexpr std::uint32_t kChunkHeaderSize = 8;
  static constexpr std::uint32_t kChunkFooterSize = 8;
  static constexpr std::uint32_t kHeaderSize = 12;
  static constexpr std::uint32_t kMinBlockSize = 32;
  static constexpr std::uint32_t kMaxBlockSize = 1 << 20;
  static constexpr std::uint32_t kMaxChunkBlocks = 65535;
  static constexpr std::uint32_t kMinGrowth = 4096;
  // Positions are signed 32-bit numbers elsewhere: the file stays below 2 GB.
  static constexpr std::uint32_t kMaxFileSize = 0x7FFFFFFF;

  // Where an item's bytes are: its header, its footer when it is split.
  struct ItemInfo {
    std::uint32_t position = 0;
    ChunkHeader header;
    ChunkFooter footer;
    bool split() const { return (header.marker & 1) == 0; }
  };

  // `mode` is std::ios::in, optionally with std::ios::out for writing.
  explicit QFile(std::ios::openmode mode);
  virtual ~QFile();
  QFile(const QFile&) = delete;
  QFile& operator=(const QFile&) = delete;

  // Opens the file at `path` (after substitute_env_vars).  Returns 1 for an
  // existing non-empty file, 0 for a new or empty one that will be created
  // by the first saveHeader(), and 0 with ok() false after a failure, which
  // prints "Can't open " path (with the reason for a damaged file) and a
  // line end.  The block size of a new file is `block_size` raised to 32
  // and rounded up to a multiple of 4; an existing file keeps its own.
  int init(const char* path, long block_size);

  // A chunk of at least `size` bytes: its position, with its size in blocks
  // in `blocks`.  0 on a read-only file or when the file would exceed 2 GB.
  std::uint32_t alloc(std::uint32_t size, std::uint32_t& blocks);
  // Gives a chunk back; with blocks 0 its size is read from its header.
  // False (after a message) when the chunk is outside the data area or
  // overlaps free space, which only a damaged file can cause.
  bool freeChunk(std::uint32_t position, std::uint32_t blocks);

  // Prepares the chunks for an item of `size` data bytes at `position` (0:
  // a new item, whose position is set) and writes its chunk header; `info`
  // then tells where the bytes go.  False on a read-only file, a damaged
  // item or a full file.
  bool find_space(std::uint32_t& position, std::uint32_t size, ItemInfo& info);
  // Stores an item and returns its position, 0 on failure (a read-only file
  // prints "Trying to write read-only file!\n").
  std::uint32_t save(std::uint32_t position, const char* data, std::uint32_t length);
  // Replaces `buffer`'s contents by the data of the item at `position`
  // (buffer.str()[0 .. length()-1]); false for a damaged item.
  bool load(std::uint32_t position, StrBufs& buffer);
  // The part of the data in the first chunk, and the part in the overflow
  // chunk (nothing for a whole item), appended to `buffer`.
  bool load_front(const ItemInfo& info, StrBufs& buffer);
  bool load_rear(const ItemInfo& info, StrBufs& buffer);

  enum class ItemState { kSound, kBadMarker, kDamaged };
  // Reads and checks the chunk header (and footer) at `position` without
  // reporting anything.
  ItemState check_item(std::uint32_t position, ItemInfo& info);
  // The same, reporting a fault: a bad marker prints "Invalid magic
  // number!" and a line end, other damage "Damaged item at " position.
  bool read_item_info(std::uint32_t position, ItemInfo& info);
  // Copies data bytes [offset, offset + n) of an item into `out`.
  bool read_item_bytes(const ItemInfo& info, std::uint32_t offset, std::uint32_t n, char* out);

  // Commits every change: when the header is dirty, saves the free list and
  // writes end, free-list position and block size first.  False (after a
  // message) when the commit fails; the changes then stay pending.
  virtual bool saveHeader();
  // Appends the ranges saved at `position` and frees their chunk.
  bool loadFreeList(std::uint32_t position);
  // Saves the free list into a new chunk; its position, 0 for none.
  std::uint32_t saveFreeList();
  // "Free list:", then " (" position ", " size ")" per range, a line end.
  void printFreeList(std::ostream& out) const;

  bool ok() const { return file_.is_open(); }
  bool read_only() const { return (mode_ & std::ios::out) == 0; }
  bool dirty() const { return dirty_; }
  void set_dirty() { dirty_ = true; }
  std::uint32_t block_size() const { return block_size_; }
  std::uint32_t end() const { return end_; }
  std::uint32_t data_start() const { return data_start_; }
  const std::vector<FreeRange>& free_list() const { return free_list_; }
  const std::string& path() const { return file_.path(); }
  // How many chunks the data area can hold at most: a bound for walks.
  std::uint32_t max_chunks() const;

  // Plain numbers at fixed places (header fields, links, tables).
  bool read_word(std::uint32_t position, std::uint32_t& value);
  bool write_word(std::uint32_t position, std::uint32_t value);

 protected:
  bool read_bytes(std::uint32_t position, void* out, std::uint32_t n);
  bool write_bytes(std::uint32_t position, const void* data, std::uint32_t n);
  // Sets the data start after the derived header and checks the free list
  // against it; false (after "Can't open ...") when they do not fit.
  bool set_data_start(std::uint32_t position);
  // Prints "Can't open " path ": " reason, closes the file and gives false.
  bool reject(const std::string& reason);
  bool is_new() const { return file_.is_new(); }

 private:
  bool read_file_header();
  bool check_free_list() const;
  // Writes the chunk header and the footer of a split item.
  bool write_item_frame(const ItemInfo& info);
  // Allocates a first chunk (and an overflow chunk when the item needs more
  // than 65535 blocks) for a new item.
  bool place_new_item(std::uint32_t size, ItemInfo& info);
  // Adjusts the overflow chunk of an existing item to `size` data bytes.
  bool replace_item(std::uint32_t size, ItemInfo& info);
  std::uint32_t front_capacity(const ItemInfo& info) const;
  bool add_free_range(std::uint32_t position, std::uint32_t size);

  std::ios::openmode mode_;
  JournaledFile file_;
  std::uint32_t block_size_ = 0;
  std::uint32_t end_ = 0;
  std::uint32_t data_start_ = kHeaderSize;
  std::uint32_t saved_free_list_ = 0;  // chunk of the free list on disk
  bool dirty_ = false;
  std::vector<FreeRange> free_list_;  // ordered by position, touching ranges joined
  std::vector<char> zero_block_;
};

}  // namespace lorvan

#endif  // LORVAN_STATS_QFILE_H_
