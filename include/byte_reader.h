// ByteReader: a bounds-checked cursor over packed binary data, for formats
// read from untrusted sources such as database files.
//
// Decodes the formats StrBufs packs (big-endian 4-byte ints and floats,
// 2-byte shorts, single bytes, NUL-terminated strings).  A read that would
// run past the end fails: it returns 0 (or null), leaves the cursor where
// it was and makes ok() false for good, so a caller may decode a whole
// record and check ok() once at the end.  The reader never owns the data,
// which must outlive it.
#ifndef LORVAN_INCLUDE_BYTE_READER_H_
#define LORVAN_INCLUDE_BYTE_READER_H_

#include <cstddef>
#include <cstring>

#include "strbufs.h"

namespace lorvan {

class ByteReader {
 public:
  ByteReader(const char* data, std::size_t length) : cursor_(data), end_(data + length) {}

  // False once any read has failed.
  bool ok() const { return ok_; }
  std::size_t remaining() const { return static_cast<std::size_t>(end_ - cursor_); }
  bool at_end() const { return cursor_ == end_; }
  const char* cursor() const { return cursor_; }
  const char* end() const { return end_; }

  int get_int() { return has(4) ? StrBufs::get_int(cursor_) : 0; }
  unsigned get_unsigned_int() { return has(4) ? StrBufs::get_unsigned_int(cursor_) : 0; }
  unsigned short get_unsigned_short() { return has(2) ? StrBufs::get_unsigned_short(cursor_) : 0; }
  float get_float() { return has(4) ? StrBufs::get_float(cursor_) : 0.0f; }
  char get_char() { return has(1) ? StrBufs::get_char(cursor_) : '\0'; }
  // The NUL-terminated string at the cursor (not copied), or null when no
  // NUL comes before the end.
  const char* get_str() {
    const void* nul = ok_ ? std::memchr(cursor_, '\0', remaining()) : nullptr;
    if (nul == nullptr) return fail<const char*>();
    const char* s = cursor_;
    cursor_ = static_cast<const char*>(nul) + 1;
    return s;
  }
  // Moves past n bytes.
  bool skip(std::size_t n) {
    if (!has(n)) return false;
    cursor_ += n;
    return true;
  }

 private:
  bool has(std::size_t n) {
    if (ok_ && remaining() >= n) return true;
    ok_ = false;
    return false;
  }
  template <class T>
  T fail() {
    ok_ = false;
    return T{};
  }

  const char* cursor_;
  const char* end_;
  bool ok_ = true;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_BYTE_READER_H_
