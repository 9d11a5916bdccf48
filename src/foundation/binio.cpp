// Big-endian numbers on C++ streams and C FILEs.  Both kinds of stream go
// through the same two byte primitives, so the encoding exists once.
#include "binio.h"

#include <bit>
#include <cstddef>

namespace lorvan {
namespace {

void get_bytes(std::istream& in, unsigned char* b, std::size_t n) {
  in.read(reinterpret_cast<char*>(b), static_cast<std::streamsize>(n));
}
void get_bytes(std::FILE* in, unsigned char* b, std::size_t n) {
  (void)std::fread(b, 1, n, in);
}
void put_bytes(std::ostream& out, const unsigned char* b, std::size_t n) {
  out.write(reinterpret_cast<const char*>(b), static_cast<std::streamsize>(n));
}
void put_bytes(std::FILE* out, const unsigned char* b, std::size_t n) {
  (void)std::fwrite(b, 1, n, out);
}

template <class In>
std::uint32_t get_u32(In& in) {
  unsigned char b[4] = {0, 0, 0, 0};
  get_bytes(in, b, 4);
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
         (std::uint32_t{b[2]} << 8) | std::uint32_t{b[3]};
}

template <class In>
std::uint16_t get_u16(In& in) {
  unsigned char b[2] = {0, 0};
  get_bytes(in, b, 2);
  return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}

template <class In>
char get_u8(In& in) {
  unsigned char b = 0;
  get_bytes(in, &b, 1);
  return static_cast<char>(b);
}

template <class Out>
void put_u32(Out& out, std::uint32_t v) {
  const unsigned char b[4] = {static_cast<unsigned char>(v >> 24),
                              static_cast<unsigned char>(v >> 16),
                              static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v)};
  put_bytes(out, b, 4);
}

template <class Out>
void put_u16(Out& out, std::uint16_t v) {
  const unsigned char b[2] = {static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v)};
  put_bytes(out, b, 2);
}

template <class Out>
void put_u8(Out& out, char v) {
  const unsigned char b = static_cast<unsigned char>(v);
  put_bytes(out, &b, 1);
}

template <class In, class T>
void get_array(In& in, T* out, int n) {
  for (int i = 0; i < n; ++i) out[i] = static_cast<T>(get_u32(in));
}

template <class Out, class T>
void put_array(Out& out, const T* v, int n) {
  for (int i = 0; i < n; ++i) put_u32(out, static_cast<std::uint32_t>(v[i]));
}

}  // namespace

// The readers and writers for one stream type, instantiated for both.
#define LORVAN_BINIO_FOR(IN, OUT)                                            \
  std::int32_t read_long(IN in) {                                            \
    return static_cast<std::int32_t>(get_u32(in));                           \
  }                                                                          \
  std::int32_t read_int(IN in) {                                             \
    return static_cast<std::int32_t>(get_u32(in));                           \
  }                                                                          \
  std::int16_t read_short(IN in) {                                           \
    return static_cast<std::int16_t>(get_u16(in));                           \
  }                                                                          \
  std::uint32_t read_unsigned_long(IN in) { return get_u32(in); }            \
  std::uint32_t read_unsigned_int(IN in) { return get_u32(in); }             \
  std::uint16_t read_unsigned_short(IN in) { return get_u16(in); }           \
  float read_float(IN in) { return std::bit_cast<float>(get_u32(in)); }      \
  char read_char(IN in) { return get_u8(in); }                               \
  void read_long_array(IN in, std::int32_t* out, int n) {                    \
    get_array(in, out, n);                                                   \
  }                                                                          \
  void read_unsigned_long_array(IN in, std::uint32_t* out, int n) {          \
    get_array(in, out, n);                                                   \
  }                                                                          \
  void write_long(OUT out, std::int32_t v) {                                 \
    put_u32(out, static_cast<std::uint32_t>(v));                             \
  }                                                                          \
  void write_int(OUT out, std::int32_t v) {                                  \
    put_u32(out, static_cast<std::uint32_t>(v));                             \
  }                                                                          \
  void write_short(OUT out, std::int16_t v) {                                \
    put_u16(out, static_cast<std::uint16_t>(v));                             \
  }                                                                          \
  void write_unsigned_long(OUT out, std::uint32_t v) { put_u32(out, v); }    \
  void write_unsigned_int(OUT out, std::uint32_t v) { put_u32(out, v); }     \
  void write_unsigned_short(OUT out, std::uint16_t v) { put_u16(out, v); }   \
  void write_float(OUT out, float v) {                                       \
    put_u32(out, std::bit_cast<std::uint32_t>(v));                           \
  }                                                                          \
  void write_char(OUT out, char v) { put_u8(out, v); }                       \
  void write_long_array(OUT out, const std::int32_t* v, int n) {             \
    put_array(out, v, n);                                                    \
  }                                                                          \
  void write_unsigned_long_array(OUT out, const std::uint32_t* v, int n) {   \
    put_array(out, v, n);                                                    \
  }

LORVAN_BINIO_FOR(std::istream&, std::ostream&)
LORVAN_BINIO_FOR(std::FILE*, std::FILE*)

#undef LORVAN_BINIO_FOR

}  // namespace lorvan
