// Line reader for count files over a raw descriptor or a string.
#include "inbuffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "filestreams.h"

namespace lorvan {

InBuffer::InBuffer() : buffer_(kReadSize) {}

InBuffer::InBuffer(const char* path) : InBuffer() { open(path); }

InBuffer::~InBuffer() { close_input(); }

void InBuffer::close_input() {
  if (fd_ > 2) closeFile(fd_);
  fd_ = -1;
  length_ = pos_ = 0;
}

bool InBuffer::open(const char* path) {
  close_input();
  const int fd = openInputFile(path);
  if (fd < 0) return false;
  fd_ = fd;
  return true;
}

void InBuffer::setInput(const char* text, int length) {
  close_input();
  if (text == nullptr) return;
  const std::size_t n = length < 0 ? std::strlen(text)
                                   : static_cast<std::size_t>(length);
  if (buffer_.size() < n) buffer_.resize(n);
  if (n != 0) std::memcpy(buffer_.data(), text, n);
  length_ = n;
}

bool InBuffer::fill() {
  if (fd_ < 0) return false;
  ssize_t got;
  do {
    got = ::read(fd_, buffer_.data(), buffer_.size());
  } while (got < 0 && errno == EINTR);
  pos_ = 0;
  length_ = got > 0 ? static_cast<std::size_t>(got) : 0;
  return length_ != 0;
}

bool InBuffer::read_line() {
  bool saw_input = false;
  for (;;) {
    if (pos_ == length_ && !fill()) return saw_input;
    saw_input = true;
    const char* from = buffer_.data() + pos_;
    const std::size_t avail = length_ - pos_;
    const void* newline = std::memchr(from, '\n', avail);
    if (newline != nullptr) {
      const std::size_t n =
          static_cast<std::size_t>(static_cast<const char*>(newline) - from);
      arena_.push(from, n);
      pos_ += n + 1;
      return true;
    }
    arena_.push(from, avail);
    pos_ = length_;
  }
}

int InBuffer::next() {
  arena_.clear();
  line_ = nullptr;
  count_ = 0;
  do {
    if (!read_line()) return 0;
  } while (arena_.length() == 0);
  char* line = arena_.finish();
  if (char* tab = std::strrchr(line, '\t')) {
    count_ = std::strtod(tab + 1, nullptr);
    *tab = '\0';
  }
  line_ = line;
  return 1;
}

}  // namespace lorvan
