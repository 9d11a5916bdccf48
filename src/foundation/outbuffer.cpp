// Buffered writer of count-file lines over a raw descriptor.
#include "outbuffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "filestreams.h"

namespace lorvan {
namespace {

constexpr std::size_t kPendingBlock = 4096;

// Writes all n bytes unless the descriptor fails.
void write_all(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    data += put;
    n -= static_cast<std::size_t>(put);
  }
}

}  // namespace

OutBuffer::OutBuffer(std::size_t threshold)
    : threshold_(threshold), pending_(kPendingBlock) {}

OutBuffer::~OutBuffer() { close(); }

bool OutBuffer::open(const char* path) {
  close();
  const int fd = openOutputFile(path);
  if (fd < 0) return false;
  fd_ = fd;
  return true;
}

void OutBuffer::output(double number, const char* text) {
  // "%f" of the largest double needs a little over 300 characters.
  char formatted[400];
  std::snprintf(formatted, sizeof formatted, "\t%.2f\n", number);
  pending_.push(text);
  pending_.push(formatted);
  if (pending_.length() > threshold_) flush();
}

void OutBuffer::flush() {
  if (fd_ >= 0) write_all(fd_, pending_.str(), pending_.length());
  pending_.clear();
}

void OutBuffer::close() {
  flush();
  if (fd_ > 2) closeFile(fd_);
  fd_ = -1;
}

}  // namespace lorvan
