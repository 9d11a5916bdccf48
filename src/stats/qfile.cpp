#include "stats/qfile.h"

#include <algorithm>
#include <iostream>

#include "byte_reader.h"
#include "searchpath.h"

namespace lorvan {
namespace {

constexpr std::uint32_t kEndField = 0;
constexpr std::uint32_t kFreeListField = 4;
constexpr std::uint32_t kBlockSizeField = 8;
constexpr std::uint32_t kRangeSize = 8;

void put_u32(char* out, std::uint32_t v) {
  out[0] = static_cast<char>(v >> 24);
  out[1] = static_cast<char>(v >> 16);
  out[2] = static_cast<char>(v >> 8);
  out[3] = static_cast<char>(v);
}

std::uint32_t new_block_size(long requested) {
  long size = std::max<long>(requested, QFile::kMinBlockSize);
  return static_cast<std::uint32_t>((size + 3) / 4 * 4);
}

}  // namespace

QFile::QFile(std::ios::openmode mode) : mode_(mode) {}

QFile::~QFile() = default;

int QFile::init(const char* path, long block_size) {
  const char* substituted = substitute_env_vars(path);
  std::string name = substituted != nullptr ? substituted : (path != nullptr ? path : "");
  std::string error;
  data_start_ = kHeaderSize;
  free_list_.clear();
  saved_free_list_ = 0;
  if (substituted == nullptr || !file_.open(name, !read_only(), error)) {
    std::cerr << "Can't open " << name << (error == JournaledFile::kBusy ? ": " + error : "") << "\n";
    file_.close();
    return 0;
  }
  dirty_ = true;
  if (!file_.is_new()) return read_file_header() ? 1 : 0;
  if (block_size > static_cast<long>(kMaxBlockSize)) {
    reject("the block size must be at most " + std::to_string(kMaxBlockSize));
    return 0;
  }
  block_size_ = new_block_size(block_size);
  zero_block_.assign(block_size_, '\0');
  end_ = kHeaderSize;
  return 0;
}

bool QFile::read_file_header() {
  if (file_.size() < kHeaderSize + 4) return reject("the file is truncated");
  std::uint32_t end = 0, free_list = 0, block_size = 0;
  read_word(kEndField, end);
  read_word(kFreeListField, free_list);
  read_word(kBlockSizeField, block_size);
  if (block_size < kMinBlockSize || block_size > kMaxBlockSize || block_size % 4 != 0) {
    return reject("not a database file (bad block size)");
  }
  if (end > file_.size()) return reject("the file is truncated");
  if (end < kHeaderSize + 4 || end > kMaxFileSize) return reject("not a database file (bad end)");
  if (free_list != 0 && (free_list < kHeaderSize || free_list >= end)) {
    return reject("the free list position is out of range");
  }
  block_size_ = block_size;
  end_ = end;
  zero_block_.assign(block_size_, '\0');
  if (free_list != 0 && !loadFreeList(free_list)) return reject("the free list is damaged");
  return true;
}

bool QFile::reject(const std::string& reason) {
  std::cerr << "Can't open " << file_.path() << ": " << reason << "\n";
  file_.close();
  free_list_.clear();
  return false;
}

bool QFile::set_data_start(std::uint32_t position) {
  data_start_ = position;
  if (is_new()) {
    end_ = std::max(end_, position);
    return true;
  }
  if (position > end_) return reject("the file is truncated");
  if (!check_free_list()) return reject("the free list is damaged");
  return true;
}

bool QFile::check_free_list() const {
  std::uint64_t previous_end = data_start_;
  for (const FreeRange& r : free_list_) {
    if (r.position < previous_end || r.size == 0 ||
        std::uint64_t{r.position} + r.size > end_) {
      return false;
    }
    previous_end = std::uint64_t{r.position} + r.size;
  }
  return true;
}

std::uint32_t QFile::max_chunks() const {
  return end_ > data_start_ ? (end_ - data_start_) / block_size_ + 1 : 1;
}

// ---- Plain reads and writes ----

bool QFile::read_bytes(std::uint32_t position, void* out, std::uint32_t n) {
  return file_.read(position, out, n);
}

bool QFile::write_bytes(std::uint32_t position, const void* data, std::uint32_t n) {
  return file_.write(position, data, n);
}

bool QFile::read_word(std::uint32_t position, std::uint32_t& value) {
  char bytes[4];
  if (!read_bytes(position, bytes, 4)) return false;
  const char* cursor = bytes;
  value = StrBufs::get_unsigned_int(cursor);
  return true;
}

bool QFile::write_word(std::uint32_t position, std::uint32_t value) {
  char bytes[4];
  put_u32(bytes, value);
  return write_bytes(position, bytes, 4);
}

// ---- Allocation ----

std::uint32_t QFile::alloc(std::uint32_t size, std::uint32_t& blocks) {
  if (!ok() || read_only()) return 0;
  std::uint64_t count = (std::max<std::uint32_t>(size, 1) - 1) / block_size_ + 1;
  std::uint64_t needed = count * block_size_;
  dirty_ = true;
  for (auto r = free_list_.begin(); r != free_list_.end(); ++r) {
    if (r->size < needed) continue;
    std::uint32_t position = r->position;
    if (r->size == needed) {
      free_list_.erase(r);
    } else {
      r->position += static_cast<std::uint32_t>(needed);
      r->size -= static_cast<std::uint32_t>(needed);
    }
    blocks = static_cast<std::uint32_t>(count);
    return position;
  }
  std::uint64_t grow = std::max<std::uint64_t>(needed, kMinGrowth);
  grow = (grow + block_size_ - 1) / block_size_ * block_size_;
  if (end_ + grow > kMaxFileSize) {
    std::cerr << "The database file " << path() << " is full\n";
    return 0;
  }
  std::uint32_t position = end_;
  for (std::uint64_t written = 0; written < grow; written += block_size_) {
    if (!write_bytes(static_cast<std::uint32_t>(position + written), zero_block_.data(), block_size_)) {
      return 0;
    }
  }
  end_ = static_cast<std::uint32_t>(position + grow);
  if (grow > needed) {
    add_free_range(static_cast<std::uint32_t>(position + needed), static_cast<std::uint32_t>(grow - needed));
  }
  blocks = static_cast<std::uint32_t>(count);
  return position;
}

bool QFile::freeChunk(std::uint32_t position, std::uint32_t blocks) {
  if (blocks == 0) {
    ItemInfo info;
    if (!read_item_info(position, info)) return false;
    blocks = info.header.blocks;
  }
  std::uint64_t size = std::uint64_t{blocks} * block_size_;
  dirty_ = true;
  if (position < data_start_ || position + size > end_) {
    std::cerr << "QFile: cannot free the chunk at " << position << "\n";
    return false;
  }
  return add_free_range(position, static_cast<std::uint32_t>(size));
}

bool QFile::add_free_range(std::uint32_t position, std::uint32_t size) {
  auto next = std::upper_bound(free_list_.begin(), free_list_.end(), position,
                               [](std::uint32_t p, const FreeRange& r) { return p < r.position; });
  bool joins_next = next != free_list_.end() && position + size == next->position;
  if ((next != free_list_.end() && position + size > next->position) ||
      (next != free_list_.begin() && std::prev(next)->position + std::prev(next)->size > position)) {
    // Already free: freeing it twice would hand the space out twice.
    std::cerr << "QFile: the chunk at " << position << " is already free\n";
    return false;
  }
  if (next != free_list_.begin()) {
    FreeRange& previous = *std::prev(next);
    if (previous.position + previous.size == position) {
      previous.size += size + (joins_next ? next->size : 0);
      if (joins_next) free_list_.erase(next);
      return true;
    }
  }
  if (joins_next) {
    next->position = position;
    next->size += size;
  } else {
    free_list_.insert(next, FreeRange{position, size});
  }
  return true;
}

// ---- Items ----

std::uint32_t QFile::front_capacity(const ItemInfo& info) const {
  std::uint32_t chunk = std::uint32_t{info.header.blocks} * block_size_;
  return chunk - (info.split() ? kChunkHeaderSize + kChunkFooterSize : kChunkHeaderSize);
}

QFile::ItemState QFile::check_item(std::uint32_t position, ItemInfo& info) {
  char bytes[kChunkHeaderSize];
  info.position = position;
  if (position < data_start_ || std::uint64_t{position} + kChunkHeaderSize > end_ ||
      !read_bytes(position, bytes, kChunkHeaderSize)) {
    return ItemState::kDamaged;
  }
  const char* cursor = bytes;
  info.header.length = StrBufs::get_unsigned_int(cursor);
  info.header.blocks = StrBufs::get_unsigned_short(cursor);
  info.header.marker = StrBufs::get_unsigned_short(cursor);
  if ((info.header.marker & 0x7FFE) != kSplitMarker) return ItemState::kBadMarker;
  std::uint64_t chunk = std::uint64_t{info.header.blocks} * block_size_;
  if (info.header.blocks == 0 || position + chunk > end_) return ItemState::kDamaged;
  if (!info.split()) {
    return info.header.length <= chunk - kChunkHeaderSize ? ItemState::kSound : ItemState::kDamaged;
  }
  std::uint32_t footer_at = static_cast<std::uint32_t>(position + chunk - kChunkFooterSize);
  if (!read_word(footer_at, info.footer.position) || !read_word(footer_at + 4, info.footer.blocks)) {
    return ItemState::kDamaged;
  }
  std::uint64_t overflow = std::uint64_t{info.footer.blocks} * block_size_;
  std::uint64_t front = chunk - kChunkHeaderSize - kChunkFooterSize;
  bool sound = info.footer.position >= data_start_ && info.footer.blocks > 0 &&
               info.footer.position + overflow <= end_ && info.header.length > front &&
               info.header.length - front <= overflow;
  return sound ? ItemState::kSound : ItemState::kDamaged;
}

bool QFile::read_item_info(std::uint32_t position, ItemInfo& info) {
  switch (check_item(position, info)) {
    case ItemState::kSound:
      return true;
    case ItemState::kBadMarker:
      std::cerr << "Invalid magic number!\n";
      return false;
    case ItemState::kDamaged:
      break;
  }
  std::cerr << "Damaged item at " << position << "\n";
  return false;
}

bool QFile::read_item_bytes(const ItemInfo& info, std::uint32_t offset, std::uint32_t n, char* out) {
  if (std::uint64_t{offset} + n > info.header.length) return false;
  std::uint32_t front = std::min(info.header.length, front_capacity(info));
  if (offset < front) {
    std::uint32_t piece = std::min(n, front - offset);
    if (!read_bytes(info.position + kChunkHeaderSize + offset, out, piece)) return false;
    out += piece;
    offset += piece;
    n -= piece;
  }
  return n == 0 || read_bytes(info.footer.position + (offset - front), out, n);
}

bool QFile::load(std::uint32_t position, StrBufs& buffer) {
  buffer.clear();
  ItemInfo info;
  if (!read_item_info(position, info)) return false;
  return read_item_bytes(info, 0, info.header.length, buffer.allocate(info.header.length));
}

bool QFile::load_front(const ItemInfo& info, StrBufs& buffer) {
  std::uint32_t front = std::min(info.header.length, front_capacity(info));
  return read_item_bytes(info, 0, front, buffer.allocate(front));
}

bool QFile::load_rear(const ItemInfo& info, StrBufs& buffer) {
  std::uint32_t front = std::min(info.header.length, front_capacity(info));
  std::uint32_t rear = info.header.length - front;
  return read_item_bytes(info, front, rear, buffer.allocate(rear));
}

bool QFile::place_new_item(std::uint32_t size, ItemInfo& info) {
  std::uint64_t needed = std::uint64_t{size} + kChunkHeaderSize;
  std::uint32_t blocks = 0;
  if ((needed - 1) / block_size_ + 1 <= kMaxChunkBlocks) {
    info.position = alloc(static_cast<std::uint32_t>(needed), blocks);
    info.header.blocks = static_cast<std::uint16_t>(blocks);
    info.header.marker = kWholeMarker;
    return info.position != 0;
  }
  // Too big for one chunk: the largest first chunk and an overflow chunk.
  info.position = alloc(kMaxChunkBlocks * block_size_, blocks);
  if (info.position == 0) return false;
  info.header.blocks = static_cast<std::uint16_t>(blocks);
  info.header.marker = kSplitMarker;
  std::uint32_t rest = size - front_capacity(info);
  info.footer.position = alloc(rest, info.footer.blocks);
  return info.footer.position != 0;
}

bool QFile::replace_item(std::uint32_t size, ItemInfo& info) {
  std::int64_t chunk = std::int64_t{info.header.blocks} * block_size_;
  std::int64_t excess = std::int64_t{size} - (chunk - kChunkHeaderSize);
  if (excess <= 0) {
    if (info.split()) freeChunk(info.footer.position, info.footer.blocks);
    info.header.marker = kWholeMarker;
    return true;
  }
  std::uint32_t overflow_needed = static_cast<std::uint32_t>(excess + kChunkFooterSize);
  if (info.split()) {
    if (overflow_needed <= std::uint64_t{info.footer.blocks} * block_size_) return true;
    freeChunk(info.footer.position, info.footer.blocks);
  }
  info.header.marker = kSplitMarker;
  info.footer.position = alloc(overflow_needed, info.footer.blocks);
  return info.footer.position != 0;
}

bool QFile::write_item_frame(const ItemInfo& info) {
  char bytes[kChunkHeaderSize];
  put_u32(bytes, info.header.length);
  bytes[4] = static_cast<char>(info.header.blocks >> 8);
  bytes[5] = static_cast<char>(info.header.blocks);
  bytes[6] = static_cast<char>(info.header.marker >> 8);
  bytes[7] = static_cast<char>(info.header.marker);
  if (!write_bytes(info.position, bytes, kChunkHeaderSize)) return false;
  if (!info.split()) return true;
  std::uint32_t footer_at = info.position + std::uint32_t{info.header.blocks} * block_size_ - kChunkFooterSize;
  return write_word(footer_at, info.footer.position) && write_word(footer_at + 4, info.footer.blocks);
}

bool QFile::find_space(std::uint32_t& position, std::uint32_t size, ItemInfo& info) {
  if (!ok() || read_only()) return false;
  bool placed = position == 0 ? place_new_item(size, info)
                              : read_item_info(position, info) && replace_item(size, info);
  if (!placed) return false;
  position = info.position;
  info.header.length = size;
  return write_item_frame(info);
}

std::uint32_t QFile::save(std::uint32_t position, const char* data, std::uint32_t length) {
  if (ok() && read_only()) {
    std::cerr << "Trying to write read-only file!\n";
    return 0;
  }
  ItemInfo info;
  if (!find_space(position, length, info)) return 0;
  std::uint32_t front = std::min(length, front_capacity(info));
  if (!write_bytes(position + kChunkHeaderSize, data, front)) return 0;
  if (length > front && !write_bytes(info.footer.position, data + front, length - front)) return 0;
  return position;
}

// ---- Header and free list ----

bool QFile::saveHeader() {
  if (!ok() || read_only()) return true;
  if (dirty_) {
    if (saved_free_list_ != 0) freeChunk(saved_free_list_, 0);
    saved_free_list_ = saveFreeList();
    write_word(kEndField, end_);
    write_word(kFreeListField, saved_free_list_);
    write_word(kBlockSizeField, block_size_);
    dirty_ = false;
  }
  std::string error;
  if (file_.commit(error)) return true;
  std::cerr << "Cannot write the database file " << path() << ": " << error << "\n";
  dirty_ = true;
  return false;
}

std::uint32_t QFile::saveFreeList() {
  if (free_list_.empty() || !ok() || read_only()) return 0;
  // The allocation below adds at most one range; a list too long for one
  // chunk keeps its first ranges on disk (the rest is merely not reused).
  std::uint32_t most = (kMaxChunkBlocks * block_size_ - kChunkHeaderSize) / kRangeSize;
  std::uint32_t wanted = std::min<std::uint32_t>(static_cast<std::uint32_t>(free_list_.size()) + 1, most);
  std::uint32_t blocks = 0;
  std::uint32_t position = alloc(kChunkHeaderSize + kRangeSize * wanted, blocks);
  if (position == 0) return 0;
  std::uint32_t count = std::min<std::uint32_t>(static_cast<std::uint32_t>(free_list_.size()), wanted);
  std::vector<char> data(kRangeSize * count);
  for (std::uint32_t i = 0; i < count; ++i) {
    put_u32(&data[kRangeSize * i], free_list_[i].position);
    put_u32(&data[kRangeSize * i + 4], free_list_[i].size);
  }
  ItemInfo info;
  info.position = position;
  info.header = ChunkHeader{kRangeSize * count, static_cast<std::uint16_t>(blocks), kWholeMarker};
  if (!write_item_frame(info) || (count > 0 && !write_bytes(position + kChunkHeaderSize, data.data(), kRangeSize * count))) {
    return 0;
  }
  return position;
}

bool QFile::loadFreeList(std::uint32_t position) {
  ItemInfo info;
  if (!read_item_info(position, info) || info.split() || info.header.length % kRangeSize != 0) {
    return false;
  }
  std::vector<char> data(info.header.length);
  if (!read_item_bytes(info, 0, info.header.length, data.data())) return false;
  ByteReader in(data.data(), data.size());
  while (!in.at_end()) {
    std::uint32_t p = in.get_unsigned_int();
    std::uint32_t size = in.get_unsigned_int();
    bool overlaps = !free_list_.empty() && free_list_.back().position + free_list_.back().size > p;
    if (size == 0 || std::uint64_t{p} + size > end_ || overlaps) return false;
    free_list_.push_back(FreeRange{p, size});
  }
  return freeChunk(position, info.header.blocks);
}

void QFile::printFreeList(std::ostream& out) const {
  out << "Free list:";
  for (const FreeRange& r : free_list_) out << " (" << r.position << ", " << r.size << ")";
  out << "\n";
}

}  // namespace lorvan
