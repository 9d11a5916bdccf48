// InputWindow: random access to a streamed input for a scanner that needs
// look-ahead.  Bytes are addressed by their absolute offset in the input.
//
// The scanner sets a mark at the start of the match it is working on; the
// window keeps every byte from the mark on and may drop those before it.
// The window serves at most kLookahead bytes from the mark and holds at
// most that plus two read blocks, so memory stays bounded whatever the
// input.  The window does not own its reader.
//
//   InputWindow in(reader);
//   in.set_mark(p);
//   if (in.at(p) == 'x' && in.at(p + 1) == 'y') use(in.data(p), 2);
#ifndef LORVAN_TOOLS_TOKEN_INPUT_WINDOW_H_
#define LORVAN_TOOLS_TOKEN_INPUT_WINDOW_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "token/byte_stream.h"

namespace lorvan::token {

class InputWindow {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  static constexpr std::size_t kLookahead = 1024 * 1024;

  explicit InputWindow(ByteReader& reader);

  InputWindow(const InputWindow&) = delete;
  InputWindow& operator=(const InputWindow&) = delete;

  // Declares that no byte before `offset` is needed any more.  Marks only
  // move forward.
  void set_mark(std::uint64_t offset) {
    mark_ = offset;
    if (limit_ < filled_) update_limit();
  }

  // The byte (0-255) at `offset`, reading more input when needed; -1 when
  // the input ends before `offset` or `offset` lies kLookahead or more bytes
  // past the mark.  `offset` must not lie before the mark.
  int at(std::uint64_t offset) {
    std::uint64_t index = offset - base_;
    if (index < limit_) return static_cast<unsigned char>(buffer_[index]);
    return at_slow(offset);
  }

  // The bytes from `offset` on that at() can serve without reading: empty
  // when the window must read before it can serve `offset`.  Valid until
  // the next at() call that reads.
  std::string_view buffered(std::uint64_t offset) const {
    std::uint64_t index = offset - base_;
    if (index >= limit_) return {};
    return {buffer_.data() + index, static_cast<std::size_t>(limit_ - index)};
  }

  // The bytes from `offset` on; valid for as many bytes as at() has
  // returned for, until the mark moves past them.
  const char* data(std::uint64_t offset) const {
    return buffer_.data() + (offset - base_);
  }

  // True when a read failed; the input then counts as ended there.
  bool failed() const { return failed_; }
  std::string error() const { return failed_ ? reader_.error() : ""; }

 private:
  int at_slow(std::uint64_t offset);
  // Recomputes limit_ after the mark or the filled part changed.
  void update_limit();
  // Reads one block, first dropping the bytes before the mark when the
  // space behind the filled part is short of a block.
  void fill();

  ByteReader& reader_;
  std::vector<char> buffer_;
  std::uint64_t base_ = 0;   // absolute offset of buffer_[0]
  std::size_t filled_ = 0;   // bytes of buffer_ holding input
  std::size_t limit_ = 0;    // bytes of buffer_ at() may serve: the filled
                             // part, cut at kLookahead past the mark
  std::uint64_t mark_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_INPUT_WINDOW_H_
