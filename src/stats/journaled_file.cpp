#include "stats/journaled_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "byte_reader.h"
#include "strbufs.h"

namespace lorvan {
namespace {

// Journal layout, numbers most significant byte first:
//   "LVJ1", page count (4 bytes), file size after the commit (8 bytes),
//   per page: position (8 bytes), length (4 bytes), the bytes;
//   then a 64-bit FNV-1a checksum of everything before it and "LVJE".
constexpr char kJournalMagic[] = "LVJ1";
constexpr char kJournalEnd[] = "LVJE";
constexpr std::size_t kMagicLength = 4;

std::uint64_t fnv1a(const char* data, std::size_t n) {
  std::uint64_t h = 1469598103934665603ULL;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(data[i]);
    h *= 1099511628211ULL;
  }
  return h;
}

void push_u64(StrBufs& out, std::uint64_t v) {
  out.push_int(static_cast<int>(v >> 32));
  out.push_int(static_cast<int>(v & 0xFFFFFFFFu));
}

std::uint64_t get_u64(ByteReader& in) {
  std::uint64_t high = in.get_unsigned_int();
  return (high << 32) | in.get_unsigned_int();
}

std::string errno_text() { return std::strerror(errno); }

// One writer at a time: an exclusive lock on the open file, given up when
// it is closed (or the process ends).
bool lock_for_writing(int fd, std::string& error) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  error = errno == EWOULDBLOCK ? JournaledFile::kBusy : errno_text();
  return false;
}

bool file_size(int fd, std::uint64_t& size) {
  struct stat st;
  if (fstat(fd, &st) != 0) return false;
  size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

// Reads the whole file at `path` into `out`; false when it cannot be read.
bool read_whole_file(const std::string& path, std::vector<char>& out) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  std::uint64_t size = 0;
  bool ok = file_size(fd, size);
  if (ok) {
    out.resize(size);
    std::size_t done = 0;
    while (ok && done < size) {
      ssize_t got = ::read(fd, out.data() + done, size - done);
      if (got <= 0) ok = false; else done += static_cast<std::size_t>(got);
    }
  }
  ::close(fd);
  return ok;
}

bool write_all(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t put = ::write(fd, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    n -= static_cast<std::size_t>(put);
  }
  return true;
}

struct JournalPage {
  std::uint64_t position;
  const char* data;
  std::size_t length;
};

// Decodes a journal; false when it is incomplete or damaged.
bool parse_journal(const std::vector<char>& bytes, std::uint64_t& new_size,
                   std::vector<JournalPage>& pages) {
  constexpr std::size_t kTrailer = 8 + kMagicLength;
  if (bytes.size() < kMagicLength + 4 + 8 + kTrailer) return false;
  const char* data = bytes.data();
  std::size_t body = bytes.size() - kTrailer;
  if (std::memcmp(data, kJournalMagic, kMagicLength) != 0) return false;
  if (std::memcmp(data + bytes.size() - kMagicLength, kJournalEnd, kMagicLength) != 0) return false;
  ByteReader trailer(data + body, 8);
  if (get_u64(trailer) != fnv1a(data, body)) return false;
  ByteReader in(data + kMagicLength, body - kMagicLength);
  unsigned count = in.get_unsigned_int();
  new_size = get_u64(in);
  for (unsigned i = 0; i < count && in.ok(); ++i) {
    std::uint64_t position = get_u64(in);
    std::size_t length = in.get_unsigned_int();
    const char* start = in.cursor();
    if (length > JournaledFile::kPageSize || position % JournaledFile::kPageSize != 0 ||
        !in.skip(length)) {
      return false;
    }
    pages.push_back({position, start, length});
  }
  return in.ok() && in.at_end();
}

}  // namespace

JournaledFile::~JournaledFile() { close(); }

bool JournaledFile::open(const std::string& path, bool writable, std::string& error) {
  close();
  path_ = path;
  writable_ = writable;
  int flags = writable ? O_RDWR : O_RDONLY;
  fd_ = ::open(path.c_str(), flags);
  if (fd_ < 0 && errno != ENOENT) {
    error = errno_text();
    return false;
  }
  if (fd_ >= 0 && ((writable && !lock_for_writing(fd_, error)) || !file_size(fd_, disk_size_))) {
    if (error.empty()) error = errno_text();
    close();
    return false;
  }
  if (fd_ >= 0 && disk_size_ > 0) return open_existing(error);
  if (!writable) {
    error = fd_ < 0 ? "no such file" : "the file is empty";
    close();
    return false;
  }
  return start_creation(error);
}

bool JournaledFile::open_existing(std::string& error) {
  size_ = disk_size_;
  if (!recover(error)) {
    close();
    return false;
  }
  return true;
}

bool JournaledFile::start_creation(std::string& error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(creation_path(path_).c_str(), O_RDWR | O_CREAT, 0644);
  if (fd_ < 0 || !lock_for_writing(fd_, error) || ::ftruncate(fd_, 0) != 0) {
    if (error.empty()) error = errno_text();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return false;
  }
  ::unlink(journal_path(path_).c_str());  // left over from a removed file
  creating_ = true;
  disk_size_ = size_ = 0;
  return true;
}

bool JournaledFile::recover(std::string& error) {
  std::string journal = journal_path(path_);
  std::vector<char> bytes;
  if (!read_whole_file(journal, bytes)) return true;  // no journal
  std::uint64_t new_size = 0;
  std::vector<JournalPage> pages;
  bool complete = parse_journal(bytes, new_size, pages);
  if (!writable_) {
    // Read-only: see the finished commit without touching the file.
    if (!complete) return true;
    for (const JournalPage& p : pages) {
      Page page(new char[kPageSize]());
      std::memcpy(page.get(), p.data, p.length);
      pages_[p.position / kPageSize] = std::move(page);
    }
    size_ = std::max(size_, new_size);
    return true;
  }
  if (complete) {
    for (const JournalPage& p : pages) {
      if (!write_disk(p.position, p.data, p.length)) {
        error = "cannot finish the interrupted update: " + errno_text();
        return false;
      }
    }
    if (::fdatasync(fd_) != 0 || !file_size(fd_, disk_size_)) {
      error = "cannot finish the interrupted update: " + errno_text();
      return false;
    }
    size_ = disk_size_;
  }
  ::unlink(journal.c_str());
  return true;
}

void JournaledFile::close() {
  if (fd_ >= 0) ::close(fd_);
  if (creating_) ::unlink(creation_path(path_).c_str());
  fd_ = -1;
  creating_ = false;
  pages_.clear();
  clean_.clear();
  size_ = disk_size_ = 0;
}

bool JournaledFile::read_disk(std::uint64_t pos, char* out, std::size_t n) const {
  while (n > 0) {
    ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(pos));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    pos += static_cast<std::uint64_t>(got);
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

bool JournaledFile::write_disk(std::uint64_t pos, const char* data, std::size_t n) const {
  while (n > 0) {
    ssize_t put = ::pwrite(fd_, data, n, static_cast<off_t>(pos));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    pos += static_cast<std::uint64_t>(put);
    n -= static_cast<std::size_t>(put);
  }
  return true;
}

bool JournaledFile::read(std::uint64_t pos, void* out, std::size_t n) {
  if (fd_ < 0 || pos > size_ || n > size_ - pos) return false;
  char* dst = static_cast<char*>(out);
  while (n > 0) {
    std::uint64_t index = pos / kPageSize;
    std::size_t offset = static_cast<std::size_t>(pos % kPageSize);
    std::size_t piece = std::min(n, kPageSize - offset);
    auto pending = pages_.find(index);
    const char* page = pending != pages_.end() ? pending->second.get() : clean_page(index);
    if (page == nullptr) return false;
    std::memcpy(dst, page + offset, piece);
    dst += piece;
    pos += piece;
    n -= piece;
  }
  return true;
}

JournaledFile::Page JournaledFile::load_page(std::uint64_t index) const {
  // Bytes beyond the end of the disk file read as zeros.
  Page page(new char[kPageSize]());
  std::uint64_t start = index * kPageSize;
  if (start < disk_size_) {
    std::size_t on_disk = static_cast<std::size_t>(std::min<std::uint64_t>(kPageSize, disk_size_ - start));
    if (!read_disk(start, page.get(), on_disk)) return nullptr;
  }
  return page;
}

const char* JournaledFile::clean_page(std::uint64_t index) {
  auto found = clean_.find(index);
  if (found != clean_.end()) return found->second.get();
  Page page = load_page(index);
  if (!page) return nullptr;
  if (clean_.size() >= kMaxCleanPages) clean_.clear();
  return clean_.emplace(index, std::move(page)).first->second.get();
}

char* JournaledFile::page_for_write(std::uint64_t index) {
  auto found = pages_.find(index);
  if (found != pages_.end()) return found->second.get();
  Page page;
  auto cached = clean_.find(index);
  if (cached != clean_.end()) {
    page = std::move(cached->second);
    clean_.erase(cached);
  } else {
    page = load_page(index);
    if (!page) return nullptr;
  }
  return pages_.emplace(index, std::move(page)).first->second.get();
}

bool JournaledFile::write(std::uint64_t pos, const void* data, std::size_t n) {
  if (fd_ < 0 || !writable_) return false;
  const char* src = static_cast<const char*>(data);
  std::uint64_t end = pos + n;
  while (n > 0) {
    std::size_t offset = static_cast<std::size_t>(pos % kPageSize);
    std::size_t piece = std::min(n, kPageSize - offset);
    char* page = page_for_write(pos / kPageSize);
    if (page == nullptr) return false;
    std::memcpy(page + offset, src, piece);
    src += piece;
    pos += piece;
    n -= piece;
  }
  size_ = std::max(size_, end);
  return true;
}

std::size_t JournaledFile::page_length(std::uint64_t index) const {
  std::uint64_t start = index * kPageSize;
  return start >= size_ ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(kPageSize, size_ - start));
}

std::vector<std::uint64_t> JournaledFile::sorted_page_indexes() const {
  std::vector<std::uint64_t> indexes;
  indexes.reserve(pages_.size());
  for (const auto& entry : pages_) indexes.push_back(entry.first);
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

bool JournaledFile::commit(std::string& error) {
  if (fd_ < 0 || !writable_) {
    error = "the file is not open for writing";
    return false;
  }
  if (pages_.empty() && !creating_) return true;
  return creating_ ? commit_creation(error) : commit_journaled(error);
}

bool JournaledFile::commit_creation(std::string& error) {
  for (std::uint64_t index : sorted_page_indexes()) {
    if (!write_disk(index * kPageSize, pages_[index].get(), page_length(index))) {
      error = errno_text();
      return false;
    }
  }
  if (::fdatasync(fd_) != 0 || ::rename(creation_path(path_).c_str(), path_.c_str()) != 0) {
    error = errno_text();
    return false;
  }
  creating_ = false;
  finish_commit();
  return true;
}

bool JournaledFile::commit_journaled(std::string& error) {
  std::vector<std::uint64_t> journaled;
  bool appended = false;
  for (std::uint64_t index : sorted_page_indexes()) {
    if (index * kPageSize < disk_size_) {
      journaled.push_back(index);
      continue;
    }
    // Beyond the committed end: nothing refers to these bytes yet.
    if (!write_disk(index * kPageSize, pages_[index].get(), page_length(index))) {
      error = errno_text();
      return false;
    }
    appended = true;
  }
  if (appended && ::fdatasync(fd_) != 0) {
    error = errno_text();
    return false;
  }
  if (!journaled.empty()) {
    if (!write_journal(journaled, error)) return false;
    for (std::uint64_t index : journaled) {
      if (!write_disk(index * kPageSize, pages_[index].get(), page_length(index))) {
        error = errno_text();
        return false;
      }
    }
    if (::fdatasync(fd_) != 0) {
      error = errno_text();
      return false;
    }
    ::unlink(journal_path(path_).c_str());
  }
  finish_commit();
  return true;
}

bool JournaledFile::write_journal(const std::vector<std::uint64_t>& indexes,
                                  std::string& error) const {
  StrBufs out(kPageSize * (indexes.size() + 1));
  out.push(kJournalMagic, kMagicLength);
  out.push_int(static_cast<int>(indexes.size()));
  push_u64(out, size_);
  for (std::uint64_t index : indexes) {
    std::size_t length = page_length(index);
    push_u64(out, index * kPageSize);
    out.push_int(static_cast<int>(length));
    out.push(pages_.at(index).get(), length);
  }
  push_u64(out, fnv1a(out.str(), out.length()));
  out.push(kJournalEnd, kMagicLength);
  std::string path = journal_path(path_);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  bool ok = fd >= 0 && write_all(fd, out.str(), out.length()) && ::fdatasync(fd) == 0;
  if (!ok) error = "cannot write " + path + ": " + errno_text();
  if (fd >= 0) ::close(fd);
  return ok;
}

void JournaledFile::finish_commit() {
  // What was written is now on disk: keep it for reading when it fits.
  if (clean_.size() + pages_.size() <= kMaxCleanPages) {
    for (auto& [index, page] : pages_) clean_[index] = std::move(page);
  }
  pages_.clear();
  disk_size_ = size_;
}

}  // namespace lorvan
