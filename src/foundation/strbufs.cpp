#include "strbufs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <iostream>

#include "strfuncs.h"

namespace lorvan {

StrBufs::StrBufs(std::size_t size) { reset(size); }

StrBufs::~StrBufs() = default;

void StrBufs::set_current(Block& b, std::size_t used) {
  start_ = b.data.get() + used;
  pos_ = start_;
  end_ = b.data.get() + b.size;
}

void StrBufs::reset(std::size_t size) {
  size = std::max<std::size_t>(size, 1);
  blocks_.clear();
  blocks_.push_back(Block{std::make_unique<char[]>(size), size, 0});
  set_current(blocks_.back(), 0);
}

void StrBufs::clear() {
  blocks_.resize(1);
  set_current(blocks_.front(), 0);
}

std::size_t StrBufs::totalSize() const {
  std::size_t total = 0;
  for (std::size_t i = 0; i + 1 < blocks_.size(); ++i) total += blocks_[i].used;
  return total + static_cast<std::size_t>(pos_ - blocks_.back().data.get());
}

void StrBufs::grow(std::size_t n) {
  Block& old = blocks_.back();
  const std::size_t len = length();
  std::size_t size = std::max(old.size, n);
  if (len == old.size) {
    size *= 2;
  } else if (len + n > size) {
    size += n;
  }
  Block fresh{std::make_unique<char[]>(size), size, 0};
  if (len != 0) std::memcpy(fresh.data.get(), start_, len);
  if (start_ == old.data.get()) {
    old = std::move(fresh);  // the old block held nothing but this string
  } else {
    old.used = static_cast<std::size_t>(start_ - old.data.get());
    blocks_.push_back(std::move(fresh));
  }
  set_current(blocks_.back(), 0);
  pos_ = start_ + len;
}

void StrBufs::push(const char* a, const char* b, const char* c, const char* d,
                   const char* e) {
  for (const char* s : {a, b, c, d, e}) push(s);
}

char* StrBufs::concat(const char* a, const char* b, const char* c, const char* d,
                      const char* e) {
  push(a, b, c, d, e);
  return finish();
}

void StrBufs::push(double x) {
  char text[400];  // "%f" of the largest double needs 316 bytes
  // Only a text of digits and one point loses its trailing zeros, so a
  // value with a minus sign keeps its six decimals.
  if (std::signbit(x)) {
    std::snprintf(text, sizeof text, "%f", x);
  } else {
    ftoa(x, text, sizeof text);
  }
  push(text);
}

void StrBufs::push_u32(unsigned n) {
  char* p = allocate(4);
  p[0] = static_cast<char>(n >> 24);
  p[1] = static_cast<char>(n >> 16);
  p[2] = static_cast<char>(n >> 8);
  p[3] = static_cast<char>(n);
}

void StrBufs::push_short(int n) {
  char* p = allocate(2);
  p[0] = static_cast<char>(n >> 8);
  p[1] = static_cast<char>(n);
}

void StrBufs::push_float(float x) {
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  push_u32(bits);
}

unsigned StrBufs::get_u32(const char*& cursor) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(cursor);
  cursor += 4;
  return (unsigned{p[0]} << 24) | (unsigned{p[1]} << 16) | (unsigned{p[2]} << 8) | p[3];
}

unsigned short StrBufs::get_unsigned_short(const char*& cursor) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(cursor);
  cursor += 2;
  return static_cast<unsigned short>((p[0] << 8) | p[1]);
}

float StrBufs::get_float(const char*& cursor) {
  std::uint32_t bits = get_u32(cursor);
  float x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

char* StrBufs::getline(std::istream& in, bool strip) {
  std::istream::sentry ok(in, true);
  if (!ok) return nullptr;
  std::streambuf* sb = in.rdbuf();
  bool any = false;
  for (;;) {
    int c = sb->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
      if (!any) return nullptr;
      break;
    }
    any = true;
    if (c == '\n') {
      if (!strip) push('\n');
      break;
    }
    push(static_cast<char>(c));
  }
  if (strip && length() > 0 && str()[length() - 1] == '\r') --pos_;
  return finish();
}

char* StrBufs::getall(std::istream& in) {
  std::istream::sentry ok(in, true);
  if (ok) {
    std::streambuf* sb = in.rdbuf();
    char chunk[4096];
    std::streamsize n;
    while ((n = sb->sgetn(chunk, sizeof chunk)) > 0) {
      push_bytes(chunk, static_cast<std::size_t>(n));
    }
    in.setstate(std::ios::eofbit);
  }
  return finish();
}

char* StrBufs::get_token(const char*& cursor, const char* delimiters) {
  if (*cursor == '\0') return nullptr;
  std::size_t n = std::strcspn(cursor, delimiters);
  push_bytes(cursor, n);
  cursor += n;
  if (*cursor != '\0') ++cursor;
  return finish();
}

char* StrBufs::get_tok(const char*& cursor, const char* delimiters, const char* skip) {
  cursor += std::strspn(cursor, skip);
  if (*cursor == '\0') return nullptr;
  std::size_t n = 1 + std::strcspn(cursor + 1, delimiters);
  push_bytes(cursor, n);
  cursor += n;
  cursor += std::strspn(cursor, skip);
  return finish();
}

char* StrBufs::get_quote(const char*& cursor, char close, char escape) {
  for (; *cursor != '\0'; ++cursor) {
    if (*cursor == close) {
      ++cursor;
      break;
    }
    if (*cursor == escape && cursor[1] != '\0') ++cursor;
    push(*cursor);
  }
  return finish();
}

template <class Next>
bool StrBufs::take_item(Next next) {
  push('(');
  int depth = 1;
  bool quoted = false;
  while (depth > 0) {
    int c = next();
    if (c < 0) {
      discard();
      std::cerr << "next_item: unmatched parenthesis\n";
      return false;
    }
    push(static_cast<char>(c));
    if (quoted) {
      if (c == '\\') {
        int d = next();
        if (d >= 0) push(static_cast<char>(d));
      } else if (c == '"') {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    }
  }
  return true;
}

char* StrBufs::next_item(const char*& cursor) {
  const char* open = std::strchr(cursor, '(');
  if (open == nullptr) {
    cursor += std::strlen(cursor);
    return nullptr;
  }
  cursor = open + 1;
  bool ok = take_item([&cursor]() -> int {
    if (*cursor == '\0') return -1;
    return static_cast<unsigned char>(*cursor++);
  });
  return ok ? finish() : nullptr;
}

char* StrBufs::next_item(std::istream& in) {
  std::istream::sentry ok(in, true);
  if (!ok) return nullptr;
  std::streambuf* sb = in.rdbuf();
  auto next = [sb, &in]() -> int {
    int c = sb->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return -1;
    }
    return c;
  };
  int c;
  while ((c = next()) >= 0 && c != '(') {
  }
  if (c < 0) return nullptr;
  return take_item(next) ? finish() : nullptr;
}

namespace {

bool needs_quotes(const char* s) {
  if (*s == '\0') return true;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    switch (*p) {
      case '\t': case '\n': case '\r': case ' ': case '"': case '(': case ')':
      case ',': case ';': case '\\':
        return true;
      default:
        if (*p >= 128) return true;
    }
  }
  return false;
}

bool html_plain(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         c == '*' || c == '-' || c == '.' || c == '@' || c == '_';
}

}  // namespace

const char* StrBufs::quote_white(const char* s) {
  if (s == nullptr) s = "";
  if (!needs_quotes(s)) return s;
  static std::array<std::string, 16> ring;
  static std::size_t next = 0;
  std::string& out = ring[next];
  next = (next + 1) % ring.size();
  out.clear();
  out.push_back('"');
  for (; *s; ++s) {
    if (*s == '"' || *s == '\\') out.push_back('\\');
    out.push_back(*s);
  }
  out.push_back('"');
  return out.c_str();
}

std::string StrBufs::quote_for_html(const char* s) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  if (s == nullptr) return out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    if (*p == ' ') {
      out.push_back('+');
    } else if (html_plain(*p)) {
      out.push_back(static_cast<char>(*p));
    } else {
      out.push_back('%');
      out.push_back(kHex[*p >> 4]);
      out.push_back(kHex[*p & 15]);
    }
  }
  return out;
}

}  // namespace lorvan
