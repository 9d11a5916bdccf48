#include "token/output_buffer.h"

#include <charconv>

namespace lorvan::token {

OutputBuffer::OutputBuffer(ByteWriter& writer)
    : writer_(writer), block_(kCapacity) {}

void OutputBuffer::put_number(std::uint64_t value) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

bool OutputBuffer::flush() {
  if (used_ > 0 && !failed_) failed_ = !writer_.write(block_.data(), used_);
  used_ = 0;
  return !failed_;
}

void OutputBuffer::put_long(std::string_view text) {
  flush();
  if (text.size() >= kCapacity) {
    if (!failed_) failed_ = !writer_.write(text.data(), text.size());
    return;
  }
  std::memcpy(block_.data(), text.data(), text.size());
  used_ = text.size();
}

}  // namespace lorvan::token
