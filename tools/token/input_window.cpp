#include "token/input_window.h"

#include <cstring>

namespace lorvan::token {

InputWindow::InputWindow(ByteReader& reader)
    : reader_(reader), buffer_(kLookahead + 2 * kBlockSize) {}

int InputWindow::at_slow(std::uint64_t offset) {
  if (offset - mark_ >= kLookahead) return -1;
  while (!ended_ && offset - base_ >= filled_) fill();
  update_limit();
  std::uint64_t index = offset - base_;
  return index < filled_ ? static_cast<unsigned char>(buffer_[index]) : -1;
}

void InputWindow::update_limit() {
  std::uint64_t window_end = mark_ - base_ + kLookahead;
  limit_ = window_end < filled_ ? static_cast<std::size_t>(window_end) : filled_;
}

void InputWindow::fill() {
  if (buffer_.size() - filled_ < kBlockSize) {
    std::size_t drop = static_cast<std::size_t>(mark_ - base_);
    std::memmove(buffer_.data(), buffer_.data() + drop, filled_ - drop);
    filled_ -= drop;
    base_ = mark_;
  }
  long n = reader_.read(buffer_.data() + filled_, kBlockSize);
  if (n > 0) {
    filled_ += static_cast<std::size_t>(n);
  } else {
    ended_ = true;
    failed_ = n < 0;
  }
}

}  // namespace lorvan::token
