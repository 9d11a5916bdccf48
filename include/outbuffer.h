// OutBuffer: a buffered writer of count-file lines ("text<TAB>number") to a
// raw descriptor.
//
// Pending output is kept in an arena and written whenever it exceeds the
// flush threshold, on flush() and on close().  The writer owns the
// descriptor it opened; the standard descriptors 0, 1 and 2 are never
// closed.  Destruction closes (and so flushes) the writer.
#ifndef LORVAN_INCLUDE_OUTBUFFER_H_
#define LORVAN_INCLUDE_OUTBUFFER_H_

#include <cstddef>

#include "strbufs.h"

namespace lorvan {

class OutBuffer {
 public:
  static constexpr std::size_t kDefaultThreshold = 1 << 16;

  // A writer with no descriptor yet; output() before open() is discarded at
  // the next flush.
  explicit OutBuffer(std::size_t threshold = kDefaultThreshold);
  ~OutBuffer();

  OutBuffer(const OutBuffer&) = delete;
  OutBuffer& operator=(const OutBuffer&) = delete;

  // Closes the current descriptor and opens `path` with openOutputFile()
  // ("-", "" or null: standard output).  Returns false on failure.
  bool open(const char* path);

  // Appends `text`, a tab, `number` in "%.2f" form and a newline; writes
  // everything pending when it exceeds the threshold.
  void output(double number, const char* text);

  // Writes everything pending.
  void flush();
  // Flushes, then closes the descriptor unless it is 0, 1 or 2.
  void close();

 private:
  int fd_ = -1;
  std::size_t threshold_;
  StrBufs pending_;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_OUTBUFFER_H_
