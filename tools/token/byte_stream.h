// ByteReader and ByteWriter: the raw byte streams the word tokenizer reads
// and writes, with implementations over POSIX file descriptors.
//
// The scanner never touches a descriptor itself, so tests can hand it
// in-memory streams.  An FdReader/FdWriter does not own its descriptor.
#ifndef LORVAN_TOOLS_TOKEN_BYTE_STREAM_H_
#define LORVAN_TOOLS_TOKEN_BYTE_STREAM_H_

#include <cstddef>
#include <string>

namespace lorvan::token {

class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Reads at most `capacity` bytes into `dst`.  Returns the number of bytes
  // read, 0 at the end of the input, or -1 on failure (see error()).
  virtual long read(char* dst, std::size_t capacity) = 0;
  // A description of the last failure.
  virtual std::string error() const { return "read failed"; }
};

class ByteWriter {
 public:
  virtual ~ByteWriter() = default;
  // Writes all `size` bytes of `src`; false when that failed.
  virtual bool write(const char* src, std::size_t size) = 0;
};

// Reads a descriptor, retrying interrupted calls.
class FdReader : public ByteReader {
 public:
  explicit FdReader(int fd) : fd_(fd) {}
  long read(char* dst, std::size_t capacity) override;
  std::string error() const override;

 private:
  int fd_;
  int errno_ = 0;
};

// Writes a descriptor, retrying interrupted calls and short writes.
class FdWriter : public ByteWriter {
 public:
  explicit FdWriter(int fd) : fd_(fd) {}
  bool write(const char* src, std::size_t size) override;

 private:
  int fd_;
};

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_BYTE_STREAM_H_
