// InBuffer: reads count files -- lines of the form "text<TAB>number" --
// through a raw descriptor, one line at a time.
//
// The reader owns the descriptor it opened (standard input, descriptor 0, is
// never closed) and the storage of the current line, which stays valid only
// until the next call of next(), open() or setInput().
//
//   InBuffer in("counts.txt");
//   while (in.next()) use(in.current(), in.count());
#ifndef LORVAN_INCLUDE_INBUFFER_H_
#define LORVAN_INCLUDE_INBUFFER_H_

#include <cstddef>
#include <vector>

#include "strbufs.h"

namespace lorvan {

class InBuffer {
 public:
  static constexpr std::size_t kReadSize = 4096;

  // A reader with no input: next() returns 0.
  InBuffer();
  // Opens `path` with openInputFile() ("-", "" or null: standard input).  A
  // file that cannot be opened reads as empty.
  explicit InBuffer(const char* path);
  ~InBuffer();

  InBuffer(const InBuffer&) = delete;
  InBuffer& operator=(const InBuffer&) = delete;

  // Closes the current input and opens `path` as the constructor does.
  // Returns false when the file cannot be opened.
  bool open(const char* path);
  // Reads the `length` bytes of `text` instead (a negative length means
  // strlen(text)); the text is copied.  A null text reads as empty.
  void setInput(const char* text, int length);

  // Advances to the next non-empty line.  When the line contains a tab, the
  // text after its last tab is converted with strtod() into the line's
  // number and the line is cut at that tab; otherwise the number is 0.
  // Returns 1 with a line, 0 at the end of the input.
  int next();

  // The current line (without its newline) and its number.
  const char* current() const { return line_; }
  double count() const { return count_; }

 private:
  // Closes a descriptor this reader opened.
  void close_input();
  // Refills the buffer from the descriptor; false at the end of the input.
  bool fill();
  // Appends the bytes up to the next newline to the current line; false
  // when the input ended before any byte of a new line was seen.
  bool read_line();

  int fd_ = -1;  // -1: no descriptor (string input or nothing)
  std::vector<char> buffer_;
  std::size_t length_ = 0;  // bytes filled
  std::size_t pos_ = 0;     // next byte to read
  StrBufs arena_{256};      // holds the current line
  const char* line_ = nullptr;
  double count_ = 0;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_INBUFFER_H_
