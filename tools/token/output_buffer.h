// OutputBuffer: collects the tokenizer's output in a fixed block and hands
// it to a ByteWriter a block at a time, so the hot path costs a memcpy.
//
// The buffer does not own its writer.  Once a write fails the buffer drops
// everything after it and failed() stays true.
#ifndef LORVAN_TOOLS_TOKEN_OUTPUT_BUFFER_H_
#define LORVAN_TOOLS_TOKEN_OUTPUT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "token/byte_stream.h"

namespace lorvan::token {

class OutputBuffer {
 public:
  static constexpr std::size_t kCapacity = 64 * 1024;

  explicit OutputBuffer(ByteWriter& writer);

  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  void put(std::string_view text) {
    if (text.size() <= kCapacity - used_) {
      char* dst = block_.data() + used_;
      if (text.size() <= kShortText) {
        for (char c : text) *dst++ = c;  // cheaper than a call for a few bytes
      } else {
        std::memcpy(dst, text.data(), text.size());
      }
      used_ += text.size();
    } else {
      put_long(text);
    }
  }
  // Appends the decimal digits of `value`.
  void put_number(std::uint64_t value);

  // Hands the buffered bytes to the writer.  Returns !failed().
  bool flush();
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kShortText = 16;

  // put() for text that does not fit into the free part of the block.
  void put_long(std::string_view text);

  ByteWriter& writer_;
  std::vector<char> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_OUTPUT_BUFFER_H_
