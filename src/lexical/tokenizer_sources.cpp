// The input sources of the tokenizer: a stream read a line at a time and a
// POSIX descriptor read a buffer at a time.
#include <cerrno>
#include <istream>
#include <string>

#include <unistd.h>

#include "lexical/tokenizer.h"

namespace lorvan {

namespace {

// Reads bytes into `buffer` until it has stored a newline or `capacity`
// bytes, or the stream fails (the end of the stream fails it, as a
// byte-wise get() would).  Returns the number of bytes stored.
std::size_t read_line(std::istream& in, char* buffer, std::size_t capacity) {
  using traits = std::istream::traits_type;
  const std::istream::sentry ready(in, true);
  if (!ready) return 0;
  std::streambuf* source = in.rdbuf();
  std::size_t n = 0;
  while (n < capacity) {
    const traits::int_type ch = source->sbumpc();
    if (traits::eq_int_type(ch, traits::eof())) {
      in.setstate(std::ios::eofbit | std::ios::failbit);
      break;
    }
    buffer[n++] = traits::to_char_type(ch);
    if (buffer[n - 1] == '\n') break;
  }
  return n;
}

}  // namespace

void Tokenizer::set_input_stream(std::istream* stream) {
  restart_input();
  stream_ = stream;
}

int Tokenizer::fill_input_buffer(char& first) {
  if (stream_ == nullptr) {
    release_input_buffer();
    return end_of_input(first);
  }
  while (stream_->good()) {
    const std::size_t n = read_line(*stream_, input_buffer(), input_capacity());
    if (take_input(n, first)) return 1;
  }
  return end_of_input(first);
}

void SocketTokenizer::set_input_descriptor(int fd) {
  restart_input();
  fd_ = fd;
}

int SocketTokenizer::fill_input_buffer(char& first) {
  for (;;) {
    const ssize_t n = ::read(fd_, input_buffer(), input_capacity());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return end_of_input(first);
    if (take_input(static_cast<std::size_t>(n), first)) return 1;
  }
}

}  // namespace lorvan
