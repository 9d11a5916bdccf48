// In-memory streams for driving the word tokenizer in tests, and scan(),
// which runs a whole input through a TokenScanner.
#ifndef LORVAN_TESTS_TOKEN_STRING_STREAMS_H_
#define LORVAN_TESTS_TOKEN_STRING_STREAMS_H_

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "token/byte_stream.h"
#include "token/scanner.h"

namespace lorvan::token::testing {

// Serves `text` in reads of at most `chunk` bytes, so tests can put block
// boundaries anywhere.
class StringReader : public ByteReader {
 public:
  explicit StringReader(std::string text, std::size_t chunk = std::string::npos)
      : text_(std::move(text)), chunk_(chunk) {}

  long read(char* dst, std::size_t capacity) override {
    std::size_t n = std::min({capacity, chunk_, text_.size() - pos_});
    std::memcpy(dst, text_.data() + pos_, n);
    pos_ += n;
    return static_cast<long>(n);
  }

 private:
  std::string text_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

class StringWriter : public ByteWriter {
 public:
  bool write(const char* src, std::size_t size) override {
    text.append(src, size);
    return true;
  }
  std::string text;
};

struct ScanResult {
  std::string out;
  std::string err;
  int status = -1;
};

inline ScanResult scan(std::string input, TokenScanner::Mode mode,
                       std::size_t chunk = std::string::npos) {
  StringReader in(std::move(input), chunk);
  StringWriter out, err;
  ScanResult result;
  result.status = TokenScanner(in, out, err, mode).run();
  result.out = std::move(out.text);
  result.err = std::move(err.text);
  return result;
}

// One segment as the examples write it: marker, text, newline, end marker.
inline std::string segment(std::string_view text) {
  return "^ " + std::string(text) + "\n$$EOF$$";
}

}  // namespace lorvan::token::testing

#endif  // LORVAN_TESTS_TOKEN_STRING_STREAMS_H_
