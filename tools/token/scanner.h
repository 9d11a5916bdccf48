// TokenScanner: the word tokenizer.  It reads a stream of segments and
// separates punctuation, quotes, brackets, currency signs, ellipses, dashes
// and clitics from the words they are attached to.
//
// Only the text after a segment marker ("^ ") is tokenized; the text before
// the first marker and after a double caret ("^^") is copied unchanged, and
// "$$EOF$$" ends the run.  In blank mode the text is copied with a blank
// inserted at every token boundary that has no white space; in span mode
// every token is written as "<w s='S' e='E'>TEXT</w>", where S and E are the
// offsets of its first and last byte in the segment (the marker's caret has
// offset 0).  White space and the copied text appear in both modes.
//
// A token still being collected when the run ends, or when "^^" ends its
// segment, is ended there like any other.
//
// The scanner reads and writes through streams it does not own; messages go
// to the error stream.  It reads the input in blocks and holds a bounded
// window of it, so any input size runs in bounded memory.  Output is
// buffered and flushed whenever the scanner is about to wait for input and
// at the end, so a reader at the other end of a pipe sees every token as
// soon as it is decided.
//
//   FdReader in(0);
//   FdWriter out(1), err(2);
//   int status = TokenScanner(in, out, err, TokenScanner::Mode::kSpans).run();
#ifndef LORVAN_TOOLS_TOKEN_SCANNER_H_
#define LORVAN_TOOLS_TOKEN_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "token/byte_stream.h"
#include "token/input_window.h"
#include "token/output_buffer.h"
#include "token/rule_matcher.h"

namespace lorvan::token {

// The exit statuses of a run.
enum ExitStatus : int {
  kSuccess = 0,
  kTokenOverflow = 1,  // span mode: a token longer than kMaxToken bytes
  kScannerError = 2,   // a match longer than kInputBufferSize, or I/O failure
};

class TokenScanner {
 public:
  enum class Mode { kBlanks, kSpans };

  // The longest token span mode can collect.
  static constexpr std::size_t kMaxToken = 1000;
  // The longest single match, right context included.
  static constexpr std::size_t kInputBufferSize = 16384;

  TokenScanner(ByteReader& in, ByteWriter& out, ByteWriter& err, Mode mode);

  TokenScanner(const TokenScanner&) = delete;
  TokenScanner& operator=(const TokenScanner&) = delete;

  // Scans the input to its end or to "$$EOF$$" and returns the exit
  // status.  A scanner is run once.
  int run();

 private:
  // Flushes the output before each read, so everything the scanner has
  // produced is out before it waits for more input.
  class FlushingReader : public ByteReader {
   public:
    FlushingReader(ByteReader& in, OutputBuffer& out) : in_(in), out_(out) {}
    long read(char* dst, std::size_t capacity) override;
    std::string error() const override { return in_.error(); }

   private:
    ByteReader& in_;
    OutputBuffer& out_;
  };

  // Performs the action of `rule` on its consumed text; false when the
  // token overflowed.
  bool act(Rule rule, std::string_view text);
  // Adds `text` to the current token: written out in blank mode, collected
  // in span mode.  False (after the message) when the token would exceed
  // kMaxToken bytes.
  bool tok(std::string_view text);
  // tok() of each byte of `text` in turn.
  bool tok_bytes(std::string_view text);
  // Ends the current token: writes its element in span mode, then `sep`.
  void etok(std::string_view sep);
  // The number of buffered bytes from `p` on, at most kRunLimit, that
  // kCopy takes outside a segment (no caret or dollar sign can start a
  // marker among them).
  std::size_t outside_run(std::uint64_t p);
  // The number of buffered white-space bytes from `p` on, at most
  // kRunLimit; in a segment kSpace takes each of them.
  std::size_t space_run(std::uint64_t p);
  // Performs kSpace on each byte of `spaces`, all white space: ends the
  // token and copies them.
  void take_spaces(std::string_view spaces);
  // Writes the message, flushes the output and returns `status`.
  int fail(int status, std::string_view message);

  static constexpr std::size_t kRunLimit = 4096;

  ByteWriter& err_;
  OutputBuffer out_;
  FlushingReader reader_;
  InputWindow in_;
  RuleMatcher matcher_;
  const bool spans_;
  StartCondition sc_ = StartCondition::kOutside;
  std::uint64_t nchars_ = 0;  // bytes of the segment scanned so far
  std::uint64_t start_ = 0;   // offset of the current token's first byte
  std::string token_;         // span mode: the current token's text
};

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_SCANNER_H_
