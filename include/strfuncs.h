// String hashing and comparison helpers shared by every table of the program.
//
// All case-insensitive keys (command names, symbols, lexicon keys, string ids)
// are hashed with hashpjw() and compared with lorvan::strcasecmp(); the two
// agree, so equal keys that differ only in ASCII letter case land in the same
// bucket.  None of these functions allocates or keeps a pointer it is given.
//
// lorvan::strcasecmp deliberately shares its name with the C library's
// function.  Unqualified calls made inside namespace lorvan find this one
// first (the arguments are plain pointers, so argument-dependent lookup adds
// nothing); code outside the namespace should write lorvan::strcasecmp.
#ifndef LORVAN_INCLUDE_STRFUNCS_H_
#define LORVAN_INCLUDE_STRFUNCS_H_

#include <cstddef>

namespace lorvan {

// Case-insensitive string hash: ASCII bytes are lowered, bytes >= 128 are
// taken as unsigned values.  Requires s != nullptr.
unsigned hashpjw(const char* s);

// The same hash, except that every byte is taken as a signed char, so a byte
// >= 128 contributes its negative value.  Used by the intrusive LHashTable.
// Requires s != nullptr.
unsigned hashpjw_signed(const char* s);

// n * 0x9E3779B7 modulo 2^32.
unsigned multiplicativehash(unsigned n);

// The two 32-bit halves of x's bit pattern XORed together.
unsigned foldhash(double x);

// The first of 101, 1997, 9973, 19997, 29989, 59999, 89989, 99991 that is at
// least n, or n itself when n exceeds them all.
unsigned get_a_prime_number_larger_than(unsigned n);

// Case-insensitive comparison used for all keys.  Returns <0, 0 or >0.
// ASCII bytes compare by their lowered values; an ASCII byte ranks above a
// byte >= 128; two bytes >= 128 compare as signed bytes.  The end of a string
// ranks below every ASCII byte and above every byte >= 128.
// Requires a != nullptr and b != nullptr.
int strcasecmp(const char* a, const char* b);

// Compares after upper-casing ASCII letters, bytes taken as unsigned; a
// proper prefix ranks first.  Returns -1, 0 or 1.
int str_to_upper_cmp(const char* a, const char* b);

// Like str_to_upper_cmp(), except that where exactly one side has a tab or a
// space, that side's character ranks below every other character.  Keys
// followed by a tab therefore sort before longer keys ("ab\t3" < "abc\t1").
int str_to_upper_cmp_up_to_tab(const char* a, const char* b);

// Formats x with "%f" into buf (at most size bytes, always NUL-terminated
// when size > 0), then drops trailing zeros after the decimal point and the
// point itself when no decimals remain.  Returns buf.
char* ftoa(double x, char* buf, std::size_t size);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_STRFUNCS_H_
