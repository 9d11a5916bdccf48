// StrBufs: a string arena for the many short-lived strings of the program.
//
// Strings are built one after another in a chain of character blocks and
// live until the arena is cleared, reset or destroyed; nothing is freed one
// string at a time.  The arena owns all its blocks.
//
// Current-string protocol.  Every append goes to the end of the *current*
// string.  Completing it -- finish(), copy(), concat(), or pushing a '\0'
// character with push(char) -- writes its terminating NUL and marks it
// finished; the next append starts a new current string right behind it.
//   * A finished string never moves: its pointer stays valid until clear(),
//     reset() or destruction.
//   * The unfinished current string may move to a new block whenever it
//     grows, so pointers into it (str(), allocate()) are only valid until the
//     next append.  Re-read str() after appending, or keep the pointer that
//     finish() returns.
//   * Between appends the current string is not NUL-terminated.
//
// Block growth.  When an append does not fit, a new block is chained whose
// size is the larger of the previous block size and the space needed;
// doubled when the current string fills its whole block, otherwise enlarged
// by the needed space when the current string plus the request would not
// fit.  The unfinished current string is copied over, and a block that held
// nothing but that string is freed.
//
// Binary packing.  push_int/push_long write 4 bytes, push_short 2, push_float
// the 4 bytes of the IEEE single-precision value, push_char 1; multi-byte
// values most significant byte first.  Binary appends never complete the
// current string, so a packed record is str()[0 .. length()-1].  The static
// get_* readers decode the same formats from a cursor and advance it; they
// do no bounds checking, so the caller must know the record is long enough.
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_INCLUDE_STRBUFS_H_
#define LORVAN_INCLUDE_STRBUFS_H_

#include <charconv>
#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace lorvan {

class StrBufs {
 public:
  static constexpr std::size_t kDefaultBlockSize = 1024;

  // Starts with one block of `size` bytes (at least 1).
  explicit StrBufs(std::size_t size = kDefaultBlockSize);
  ~StrBufs();

  StrBufs(const StrBufs&) = delete;
  StrBufs& operator=(const StrBufs&) = delete;

  // Frees every block and starts again with one block of `size` bytes.
  void reset(std::size_t size);
  // Frees every block except the first and rewinds to its start.  Every
  // string handed out before becomes invalid.
  void clear();
  // Bytes in use over all blocks (finished strings with their NULs plus the
  // current string).
  std::size_t totalSize() const;
  // Size of the block the current string is being built in.
  std::size_t capacity() const { return blocks_.back().size; }

  // Start of the current string and its length so far.  The text is not
  // NUL-terminated until it is completed.
  char* str() const { return start_; }
  std::size_t length() const { return static_cast<std::size_t>(pos_ - start_); }

  // ---- Appending to the current string ----

  // Appends one character; pushing '\0' completes the current string.
  void push(char c) {
    if (pos_ == end_) grow(1);
    *pos_++ = c;
    if (c == '\0') start_ = pos_;
  }
  // Appends s; a null s appends nothing.
  void push(const char* s) {
    if (s != nullptr) push_bytes(s, std::strlen(s));
  }
  // Appends up to five strings; null pointers are skipped.
  void push(const char* a, const char* b, const char* c = nullptr,
            const char* d = nullptr, const char* e = nullptr);
  void push(std::string_view s) { push_bytes(s.data(), s.size()); }
  // Appends the decimal text of an integer of any width (char itself is
  // appended as a character, see above).
  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, bool>)
  void push(T n) {
    char text[kMaxIntegerText];
    char* end = std::to_chars(text, text + kMaxIntegerText, n).ptr;
    push_bytes(text, static_cast<std::size_t>(end - text));
  }
  // Appends x in "%f" form.  When that text is only digits and one point,
  // trailing zeros after the point are removed, then the point itself if no
  // decimals remain (2.5 -> "2.5", 3.0 -> "3"); a negative value keeps all
  // six decimals (-1.5 -> "-1.500000").
  void push(double x);
  // Appends n raw bytes (which may include NULs; they do not complete).
  void push(const void* bytes, std::size_t n) {
    push_bytes(static_cast<const char*>(bytes), n);
  }
  // Reserves n bytes at the end of the current string and returns them
  // (contents unspecified).  Valid until the next append.
  char* allocate(std::size_t n) {
    reserve(n);
    char* p = pos_;
    pos_ += n;
    return p;
  }

  // ---- Completing ----

  // Writes the terminating NUL and returns the finished string.
  char* finish() {
    if (pos_ == end_) grow(1);
    char* s = start_;
    *pos_++ = '\0';
    start_ = pos_;
    return s;
  }
  // Appends s (null counts as empty) and completes.
  char* copy(const char* s) {
    push(s);
    return finish();
  }
  char* copy(std::string_view s) {
    push_bytes(s.data(), s.size());
    return finish();
  }
  // Appends up to five strings (nulls skipped) and completes.
  char* concat(const char* a, const char* b = nullptr, const char* c = nullptr,
               const char* d = nullptr, const char* e = nullptr);

  // ---- Big-endian binary packing (never completes) ----

  void push_int(int n) { push_u32(static_cast<unsigned>(n)); }
  void push_long(long n) { push_u32(static_cast<unsigned>(n)); }  // 4 bytes
  void push_short(int n);                                          // 2 bytes
  void push_float(float x);
  void push_char(char c) { push_bytes(&c, 1); }

  // ---- Readers over a cursor: decode and advance ----

  static int get_int(const char*& cursor) { return static_cast<int>(get_u32(cursor)); }
  static long get_long(const char*& cursor) { return static_cast<int>(get_u32(cursor)); }
  static short get_short(const char*& cursor) {
    return static_cast<short>(get_unsigned_short(cursor));
  }
  static unsigned get_unsigned_int(const char*& cursor) { return get_u32(cursor); }
  static unsigned long get_unsigned_long(const char*& cursor) { return get_u32(cursor); }
  static unsigned short get_unsigned_short(const char*& cursor);
  static char get_char(const char*& cursor) { return *cursor++; }
  static unsigned char get_unsigned_char(const char*& cursor) {
    return static_cast<unsigned char>(*cursor++);
  }
  static float get_float(const char*& cursor);
  // Returns the NUL-terminated string at the cursor (not copied) and moves
  // the cursor past its NUL.
  static const char* get_str(const char*& cursor) {
    const char* s = cursor;
    cursor += std::strlen(s) + 1;
    return s;
  }
  // Copies n bytes from the cursor to dst and advances.
  static void get_fixed(const char*& cursor, void* dst, std::size_t n) {
    std::memcpy(dst, cursor, n);
    cursor += n;
  }

  // ---- Reading into finished strings of this arena ----

  // Reads one line.  With strip, the newline is dropped and a trailing
  // carriage return removed; otherwise the newline stays.  Returns nullptr
  // when the stream is already at its end (and sets eof/fail on it).
  char* getline(std::istream& in, bool strip = true);
  // Reads the rest of the stream (possibly nothing).
  char* getall(std::istream& in);
  // Takes characters up to the first byte in `delimiters` or the end of the
  // text; the cursor moves past that one delimiter.  Returns nullptr when
  // the cursor is already at the end of the text, so "a,,b" yields "a", ""
  // and "b".
  char* get_token(const char*& cursor, const char* delimiters);
  // Skips bytes in `skip`; returns nullptr at the end of the text.  Then
  // takes at least one character and continues up to a byte in
  // `delimiters`, then skips `skip` bytes again.  The delimiter is not
  // consumed unless it is also in `skip`.
  char* get_tok(const char*& cursor, const char* delimiters, const char* skip);
  // Takes characters up to `close` (the cursor usually stands just after the
  // opening quote); `escape` makes the next character literal and is itself
  // dropped.  The cursor moves past the closing character; an unterminated
  // quote yields the text up to the end.
  char* get_quote(const char*& cursor, char close, char escape);

  // Skips to the next '(' and takes the whole balanced parenthesised item,
  // treating double-quoted text as opaque (a backslash inside quotes escapes
  // the next character).  Returns nullptr when no '(' is left; on reaching
  // the end inside the item prints "next_item: unmatched parenthesis" on the
  // error stream and returns nullptr.  The cursor / stream is left just
  // after the item (or at the end).
  char* next_item(const char*& cursor);
  char* next_item(std::istream& in);

  // ---- Quoting ----

  // Returns s itself unless s is empty or contains a byte >= 128, a tab,
  // newline, carriage return, space, '"', '(', ')', ',', ';' or '\\';
  // otherwise a copy wrapped in double quotes in which every '"' and '\\' is
  // preceded by a backslash.  The copy lives in a small process-wide ring of
  // buffers: it stays valid until quote_white() has made 16 further copies,
  // so several results may be used in one output statement; copy it to keep
  // it longer.  A null s is quoted like the empty string.
  static const char* quote_white(const char* s);
  // Form-encodes s: ' ' becomes '+'; '*', '-', '.', '@', '_', digits and
  // ASCII letters stay; every other byte becomes '%' and two upper-case hex
  // digits.  A null s gives the empty string.
  static std::string quote_for_html(const char* s);

 private:
  static constexpr std::size_t kMaxIntegerText = 24;  // 64-bit with sign

  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t size;
    std::size_t used;  // valid for blocks other than the current (last) one
  };

  void reserve(std::size_t n) {
    if (static_cast<std::size_t>(end_ - pos_) < n) grow(n);
  }
  void push_bytes(const char* p, std::size_t n) {
    reserve(n);
    if (n != 0) std::memcpy(pos_, p, n);
    pos_ += n;
  }
  void push_u32(unsigned n);
  static unsigned get_u32(const char*& cursor);
  // Makes room for n more bytes of the current string in a new block.
  void grow(std::size_t n);
  // Drops the unfinished current string.
  void discard() { pos_ = start_; }
  void set_current(Block& b, std::size_t used);
  // Appends the rest of a balanced item whose '(' has just been read;
  // `next` yields the next byte or -1 at the end.  Returns false on an
  // unmatched parenthesis.
  template <class Next>
  bool take_item(Next next);

  std::vector<Block> blocks_;  // the last one is the current block
  char* start_ = nullptr;      // start of the current string
  char* pos_ = nullptr;        // next byte to write
  char* end_ = nullptr;        // end of the current block
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_STRBUFS_H_
