// Tokenizer: splits a character source into tokens under a configurable set
// of byte classes.  One class serves every reader of the system: the command
// language, the data-file loaders and the sentence splitter of the parser.
//
// Configuration (fixed at construction):
//   white   -- white-space bytes; a run of them is a token of its own.
//   start   -- bytes that end the current word and begin a new token.  The
//              constructor adds every white byte, every quote opener and the
//              comment byte to it.
//   middle  -- bytes that may stand inside a word but never begin or end
//              one: a middle byte stays inside a word only when a byte that
//              is neither a start nor a middle byte follows it; otherwise it
//              is a token of its own.
//   quotes  -- a list of quote groups separated by white bytes.  The
//              first byte O of a group opens a quoted stretch; every
//              following byte closes it (and is kept in the token); a byte
//              preceded by '^' ends the stretch before it without being
//              consumed.  A one-byte group makes O close itself.
//              "<> &;." makes '<' ... '>' and '&' ... ';' or '.' quotes.
//   escape  -- inside quotes: \t \n \r, \<decimal digits> (code modulo 256)
//              or any other byte taken literally; 0 for none.
//   comment -- opens a stretch that runs to the end of the line, newline
//              included; 0 for none.
//   separator mode -- with a separator string every token is the text up to
//              and including the next occurrence of the separator, and the
//              byte classes are not used.
// Optional extras: quote nesting (recursiveQuote); long quotes
// (add_long_quote): a token that begins with a recognizer's start marker
// runs on, across closing bytes, until its end marker follows the start
// marker or the input ends; and the character encoding (ASCII, DoubleByte,
// UTF-8), under which every multi-byte character is a token of its own and
// ends the word before it.
//
// Ownership: every token is a NUL-terminated string in the tokenizer's own
// arena and stays valid until clear() or destruction.  The tokenizer does
// not own an input stream or descriptor it reads from; a string input is
// copied.  NUL bytes in the input are not text: they are dropped as the
// input is read.
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_LEXICAL_TOKENIZER_H_
#define LORVAN_LEXICAL_TOKENIZER_H_

#include <array>
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charset.h"
#include "strbufs.h"

namespace lorvan {

// A pair of multi-byte markers, such as "<!--" and "-->", between which
// everything is one token.  Markers compare case-insensitively (ASCII).
class LongQuoteRecognizer {
 public:
  // Either marker may be null (absent).  A recognizer without a start
  // marker never starts a long quote.
  LongQuoteRecognizer(const char* start, const char* end);

  // Whether `text` begins with the start marker.
  bool isStart(std::string_view text) const;
  // Whether the first `len` bytes of `data` end with the end marker (always
  // true for an absent end marker).
  bool isEnd(const char* data, std::size_t len) const;

  const std::string& start() const { return start_; }
  const std::string& end() const { return end_; }

 private:
  std::string start_;
  std::string end_;
};

class TokenizerBase {
 public:
  enum Encoding : int { kAscii = 0, kDoubleByte = 1, kUtf8 = 2 };
  // The encoding that newly constructed tokenizers take.
  static inline int defaultEncoding = kAscii;
  // Characters the tokenizer can hold pushed back by rollback().
  static constexpr int kMaxRollback = 10;

  // The full configuration; `white`, `start` and `middle` are CharSet
  // member strings (ranges "a-z" allowed), `quotes` is parsed as described
  // above.  Null strings count as empty.  `arena_block_size` is the first
  // block size of the token arena, `input_size` the capacity of the input
  // buffer.
  TokenizerBase(const char* white, const char* start, const char* middle,
                const char* quotes, char escape, char comment,
                std::size_t arena_block_size, std::size_t input_size);
  // Separator mode: every token ends with `separator` (included).  A null
  // separator gives a tokenizer with no classes at all; an empty one never
  // matches, so the rest of the input is one token.
  TokenizerBase(const char* separator, std::size_t arena_block_size,
                std::size_t input_size);
  // Copies the configuration: separator, white, middle and start sets, the
  // closing and stop tables, escape, comment and encoding.  The copy starts
  // with no input, no nesting, no long quotes, an empty put-back list and a
  // fresh arena and input buffer of the same sizes.
  TokenizerBase(const TokenizerBase& other);
  TokenizerBase& operator=(const TokenizerBase&) = delete;
  virtual ~TokenizerBase();

  // ---- Input ----

  // Reads from a private copy of the first `n` bytes of `text` (n < 0: all
  // of it).  Always forgets rolled-back characters; a null `text` changes
  // nothing else.  When the copy is used up the tokenizer refills from its
  // own source (a Tokenizer without a stream then reports the end).
  void set_string_input(const char* text, std::ptrdiff_t n = -1);

  // ---- Reading ----

  // The next token, or null at the end of input.  Pushed-back tokens come
  // first, most recent first.  In separator mode the result is never null:
  // at the end it is the remaining text, possibly empty; test finished().
  char* get_token();
  // The next token whose first byte is neither white nor the comment byte
  // (or null).
  char* get_non_space_token();
  // Pushes `token` back; get_token() returns it before reading more input.
  // The caller keeps the string alive until then (tokens of this
  // tokenizer's own arena live until clear()).
  void put_back(char* token);
  // The next input byte without consuming it, also stored in `c`; 0 when
  // the input is exhausted.  May refill the input buffer.
  char peek(char& c);
  // Pushes one byte back into the input.  Holding more than kMaxRollback
  // bytes is a program fault: a message and exit status 1.
  void rollback(char c);

  bool is_white(char c) const { return white_.includes(c); }
  // Whether `c` opens a quoted stretch (the comment byte counts as one).
  bool opens_quote(char c) const {
    return closing_[static_cast<unsigned char>(c)] != nullptr;
  }
  // Whether `c` closes a stretch opened by `open`; false when `open` opens
  // none.
  bool closes_quote(char open, char c) const {
    const std::unique_ptr<CharSet>& closers = closing_[static_cast<unsigned char>(open)];
    return closers != nullptr && closers->includes(c);
  }
  // Whether `c` occurs in `text` (null text: no; c == 0: no).
  static bool in(char c, const char* text);
  // True once a refill has found no more input.
  bool finished() const { return !more_input_; }
  // Clears the token arena and the put-back list; every token handed out
  // before becomes invalid.
  void clear();

  // ---- Configuration extras ----

  // Makes quoted stretches opened by `c` nest.
  void recursiveQuote(char c) { nesting_.set(c); }
  // Appends a long-quote recognizer; recognizers are tried in order.
  void add_long_quote(LongQuoteRecognizer recognizer);
  int encoding() const { return encoding_; }
  // Sets the encoding (one of Encoding; other values act as ASCII).
  void set_encoding(int encoding);
  bool separator_mode() const { return separator_.has_value(); }

  // Debugging aid: writes the eight bits of `byte`, most significant first,
  // and a line end on the error stream.
  static void printBin(unsigned char byte);

 protected:
  // Refills the input buffer from the source, stores its first byte in
  // `first` and returns 1; or returns end_of_input(first).
  virtual int fill_input_buffer(char& first) = 0;

  // Sets the more-input flag and forgets the current buffer contents and
  // rolled-back characters, for a newly attached source.
  void restart_input();
  // The input buffer, allocated on first use with room for
  // input_capacity() bytes.
  char* input_buffer();
  std::size_t input_capacity() const { return input_capacity_; }
  // Frees the input buffer.
  void release_input_buffer();
  // Makes the first `n` bytes of input_buffer() the input, dropping NUL
  // bytes.  Returns true and stores the first byte in `first` when any byte
  // remains; false leaves the state alone.
  bool take_input(std::size_t n, char& first);
  // End-of-input handling of fill_input_buffer: empties the buffer, stores
  // the byte 255 in `first`, clears the more-input flag and returns 0.
  int end_of_input(char& first);

 private:
  using QuoteTable = std::array<std::unique_ptr<CharSet>, 256>;
  static QuoteTable copy_table(const QuoteTable& table);

  void parse_quotes(const char* quotes);
  // Creates empty closing and stop sets for `open` and makes it a start
  // byte; returns the closing set.
  CharSet& open_quote(char open);
  bool multibyte() const;
  void update_word_classes();

  // The next byte without consuming it; false at the end of input.
  bool next_char(char& c);
  // Consumes the byte that next_char() gave.
  void advance();

  char* read_token_from(char first);
  void read_utf8_rest(char lead);
  void read_word_rest();
  char* read_quote(char open);
  bool read_escape();
  bool inside_long_quote() const;
  bool long_quote_closed(const LongQuoteRecognizer& recognizer) const;
  char* finish_token();
  char* read_long_quote(const LongQuoteRecognizer& recognizer);
  char* find_separator();
  std::string_view current_text() const {
    return {arena_.str(), arena_.length()};
  }

  // Configuration.
  std::optional<std::string> separator_;
  CharSet white_;
  CharSet middle_;
  CharSet start_;
  // Per opening byte: the bytes that close its stretch and the bytes before
  // which it stops; both present exactly for quote openers.
  QuoteTable closing_;
  QuoteTable stop_;
  CharSet nesting_;
  char escape_ = 0;
  char comment_ = 0;
  int encoding_ = kAscii;
  std::vector<LongQuoteRecognizer> long_quotes_;
  // Derived from the classes and the encoding: the bytes that end a word,
  // and the bytes (or the end of input) that, following a middle byte, keep
  // it out of the word.
  CharSet word_end_;
  CharSet middle_end_;

  // Tokens.
  std::vector<char*> put_back_;
  std::size_t arena_block_size_;
  StrBufs arena_;

  // Input.
  std::vector<char> input_;
  std::size_t input_capacity_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::array<char, kMaxRollback> rollback_{};
  int rollback_count_ = 0;
  bool more_input_ = true;
};

// A tokenizer over an input stream (not owned), or over a string given with
// set_string_input.  Each refill reads at most one line of the stream (up to
// the input buffer size).
class Tokenizer : public TokenizerBase {
 public:
  Tokenizer(const char* white, const char* start, const char* middle,
            const char* quotes, char escape, char comment,
            std::size_t arena_block_size, std::size_t input_size)
      : TokenizerBase(white, start, middle, quotes, escape, comment,
                      arena_block_size, input_size) {}
  Tokenizer(const char* separator, std::size_t arena_block_size,
            std::size_t input_size)
      : TokenizerBase(separator, arena_block_size, input_size) {}
  // A copy of `other`'s configuration with no stream.
  explicit Tokenizer(const TokenizerBase& other) : TokenizerBase(other) {}
  Tokenizer(const Tokenizer& other)
      : Tokenizer(static_cast<const TokenizerBase&>(other)) {}

  // Reads from `stream` (null: none) from now on.  Keeps the put-back list
  // and the arena.
  void set_input_stream(std::istream* stream);
  std::istream* input_stream() const { return stream_; }

 protected:
  int fill_input_buffer(char& first) override;

 private:
  std::istream* stream_ = nullptr;
};

// A tokenizer over a POSIX file descriptor (not owned, not closed): each
// refill is one read() of up to the input buffer size.
class SocketTokenizer : public TokenizerBase {
 public:
  SocketTokenizer(const char* white, const char* start, const char* middle,
                  const char* quotes, char escape, char comment,
                  std::size_t arena_block_size, std::size_t input_size)
      : TokenizerBase(white, start, middle, quotes, escape, comment,
                      arena_block_size, input_size) {}
  SocketTokenizer(const char* separator, std::size_t arena_block_size,
                  std::size_t input_size)
      : TokenizerBase(separator, arena_block_size, input_size) {}
  SocketTokenizer(const SocketTokenizer&) = delete;

  // Reads from descriptor `fd` (negative: none) from now on.
  void set_input_descriptor(int fd);
  int input_descriptor() const { return fd_; }

 protected:
  int fill_input_buffer(char& first) override;

 private:
  int fd_ = -1;
};

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_TOKENIZER_H_
