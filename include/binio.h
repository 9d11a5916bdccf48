// Big-endian binary numbers on streams, for the program's persisted formats.
//
// Every 2- or 4-byte value is stored most significant byte first; "long" and
// "int" are both 4 bytes on disk, "short" is 2, a float is the 4 bytes of its
// IEEE single-precision value, and a char is 1 byte.  Arrays are stored
// element after element with no count.  Each function exists for C++
// streams and for C FILEs.
//
// Readers do not report errors: after a short read the value is unspecified
// (this implementation yields the bytes read so far, zero-filled) and the
// caller checks the stream's state (fail()/feof()).
#ifndef LORVAN_INCLUDE_BINIO_H_
#define LORVAN_INCLUDE_BINIO_H_

#include <cstdint>
#include <cstdio>
#include <istream>
#include <ostream>

namespace lorvan {

std::int32_t read_long(std::istream& in);
std::int32_t read_int(std::istream& in);
std::int16_t read_short(std::istream& in);
std::uint32_t read_unsigned_long(std::istream& in);
std::uint32_t read_unsigned_int(std::istream& in);
std::uint16_t read_unsigned_short(std::istream& in);
float read_float(std::istream& in);
char read_char(std::istream& in);
// Reads `n` values into out[0..n-1].
void read_long_array(std::istream& in, std::int32_t* out, int n);
void read_unsigned_long_array(std::istream& in, std::uint32_t* out, int n);

std::int32_t read_long(std::FILE* in);
std::int32_t read_int(std::FILE* in);
std::int16_t read_short(std::FILE* in);
std::uint32_t read_unsigned_long(std::FILE* in);
std::uint32_t read_unsigned_int(std::FILE* in);
std::uint16_t read_unsigned_short(std::FILE* in);
float read_float(std::FILE* in);
char read_char(std::FILE* in);
void read_long_array(std::FILE* in, std::int32_t* out, int n);
void read_unsigned_long_array(std::FILE* in, std::uint32_t* out, int n);

void write_long(std::ostream& out, std::int32_t v);
void write_int(std::ostream& out, std::int32_t v);
void write_short(std::ostream& out, std::int16_t v);
void write_unsigned_long(std::ostream& out, std::uint32_t v);
void write_unsigned_int(std::ostream& out, std::uint32_t v);
void write_unsigned_short(std::ostream& out, std::uint16_t v);
void write_float(std::ostream& out, float v);
void write_char(std::ostream& out, char v);
// Writes v[0..n-1].
void write_long_array(std::ostream& out, const std::int32_t* v, int n);
void write_unsigned_long_array(std::ostream& out, const std::uint32_t* v,
                               int n);

void write_long(std::FILE* out, std::int32_t v);
void write_int(std::FILE* out, std::int32_t v);
void write_short(std::FILE* out, std::int16_t v);
void write_unsigned_long(std::FILE* out, std::uint32_t v);
void write_unsigned_int(std::FILE* out, std::uint32_t v);
void write_unsigned_short(std::FILE* out, std::uint16_t v);
void write_float(std::FILE* out, float v);
void write_char(std::FILE* out, char v);
void write_long_array(std::FILE* out, const std::int32_t* v, int n);
void write_unsigned_long_array(std::FILE* out, const std::uint32_t* v, int n);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_BINIO_H_
