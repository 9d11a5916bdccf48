#include "token/byte_stream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lorvan::token {

long FdReader::read(char* dst, std::size_t capacity) {
  for (;;) {
    ssize_t n = ::read(fd_, dst, capacity);
    if (n >= 0) return static_cast<long>(n);
    if (errno != EINTR) {
      errno_ = errno;
      return -1;
    }
  }
}

std::string FdReader::error() const { return std::strerror(errno_); }

bool FdWriter::write(const char* src, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd_, src, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    src += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace lorvan::token
