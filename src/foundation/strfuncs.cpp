#include "strfuncs.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace lorvan {
namespace {

// ASCII-only lowering and upper-casing, independent of the C locale.
inline int ascii_lower(int c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
inline int ascii_upper(int c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

inline unsigned pjw_step(unsigned h, unsigned c) {
  h = (h << 4) + c;
  unsigned top = h & 0xF0000000u;
  if (top != 0) {
    h ^= top >> 24;
    h &= ~top;
  }
  return h;
}

inline bool is_tab_or_space(unsigned char c) { return c == '\t' || c == ' '; }

// Shared loop of the two upper-casing comparisons; `key` maps the bytes of
// one position to their ranks.
template <class Key>
int upper_cmp(const char* a, const char* b, Key key) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
  for (; *p != 0 && *q != 0; ++p, ++q) {
    int x = 0, y = 0;
    key(*p, *q, x, y);
    if (x != y) return x < y ? -1 : 1;
  }
  if (*p == *q) return 0;
  return *p == 0 ? -1 : 1;
}

}  // namespace

unsigned hashpjw(const char* s) {
  unsigned h = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    unsigned c = *p < 128 ? static_cast<unsigned>(ascii_lower(*p)) : *p;
    h = pjw_step(h, c);
  }
  return h;
}

unsigned hashpjw_signed(const char* s) {
  unsigned h = 0;
  for (; *s; ++s) {
    int c = static_cast<signed char>(*s);
    if (c >= 0) c = ascii_lower(c);
    h = pjw_step(h, static_cast<unsigned>(c));
  }
  return h;
}

unsigned multiplicativehash(unsigned n) {
  return static_cast<std::uint32_t>(n * 2654435767u);
}

unsigned foldhash(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
}

unsigned get_a_prime_number_larger_than(unsigned n) {
  static const unsigned kPrimes[] = {101, 1997, 9973, 19997, 29989, 59999, 89989, 99991};
  for (unsigned p : kPrimes) {
    if (p >= n) return p;
  }
  return n;
}

int strcasecmp(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int x = static_cast<signed char>(*a);
    int y = static_cast<signed char>(*b);
    if (x == 0 || y == 0) {
      // The end of a string (0) ranks above a high byte (negative) and below
      // any ASCII character.
      return ascii_lower(x) - ascii_lower(y);
    }
    if (x > 0 && y > 0) {
      x = ascii_lower(x);
      y = ascii_lower(y);
    } else if (x > 0 || y > 0) {
      return x > 0 ? 1 : -1;  // ASCII ranks above a byte >= 128
    }
    if (x != y) return x - y;
  }
}

int str_to_upper_cmp(const char* a, const char* b) {
  return upper_cmp(a, b, [](unsigned char p, unsigned char q, int& x, int& y) {
    x = ascii_upper(p);
    y = ascii_upper(q);
  });
}

int str_to_upper_cmp_up_to_tab(const char* a, const char* b) {
  return upper_cmp(a, b, [](unsigned char p, unsigned char q, int& x, int& y) {
    bool wp = is_tab_or_space(p), wq = is_tab_or_space(q);
    x = (wp && !wq) ? 0 : ascii_upper(p);
    y = (wq && !wp) ? 0 : ascii_upper(q);
  });
}

char* ftoa(double x, char* buf, std::size_t size) {
  if (size == 0) return buf;
  std::snprintf(buf, size, "%f", x);
  char* point = std::strchr(buf, '.');
  if (point != nullptr) {
    char* end = buf + std::strlen(buf);
    while (end > point + 1 && end[-1] == '0') --end;
    if (end == point + 1) --end;
    *end = '\0';
  }
  return buf;
}

}  // namespace lorvan
