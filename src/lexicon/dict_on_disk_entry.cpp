#include "lexicon/dict_on_disk_entry.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string_view>

namespace lorvan {
namespace {

constexpr int kEnd = std::streambuf::traits_type::eof();
constexpr std::size_t kShownOfUnmatched = 99;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

int DictEntryReader::get() {
  const int c = in_->sbumpc();
  if (c != kEnd) ++offset_;
  return c;
}

bool DictEntryReader::copy_quoted(StrBufs& out) {
  for (int c = get(); c != kEnd; c = get()) {
    out.push(static_cast<char>(c));
    if (c == '"') return true;
    if (c == '\\') {
      c = get();
      if (c == kEnd) return false;
      out.push(static_cast<char>(c));
    }
  }
  return false;
}

const char* DictEntryReader::next(StrBufs& out) {
  if (in_ == nullptr) return nullptr;
  const int open = static_cast<unsigned char>(brackets_.open);
  const int close = static_cast<unsigned char>(brackets_.close);
  int c = get();
  while (c != kEnd && c != open) c = get();
  if (c == kEnd) return nullptr;

  out.push(brackets_.open);
  bool complete = false;
  for (int depth = 1; !complete;) {
    c = get();
    if (c == kEnd) break;
    out.push(static_cast<char>(c));
    if (c == '"') {
      if (!copy_quoted(out)) break;
    } else if (c == open) {
      ++depth;
    } else if (c == close) {
      complete = --depth == 0;
    }
  }
  if (complete) return out.finish();

  // Binary bytes such as NUL would cut the shown text short; that is fine
  // for a diagnostic.
  const std::string_view collected(out.str(), std::min(out.length(), kShownOfUnmatched));
  std::cerr << "DictOnDisk::get_entry: unmatched parenthesis\n" << collected << std::endl;
  out.finish();
  return nullptr;
}

const char* dict_head_word(const char* entry, DictBrackets brackets, StrBufs& out) {
  if (entry == nullptr || *entry == '\0') return nullptr;
  const char* p = entry + 1;
  while (is_blank(*p)) ++p;
  if (*p == '"') {
    const char* cursor = p + 1;
    return out.get_quote(cursor, '"', '\\');
  }
  const char* end = p;
  while (*end != '\0' && *end != brackets.open && *end != brackets.close) ++end;
  if (*end == '\0') return nullptr;
  while (end > p && is_blank(end[-1])) --end;
  return out.copy(std::string_view(p, static_cast<std::size_t>(end - p)));
}

}  // namespace lorvan
