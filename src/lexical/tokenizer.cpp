#include "lexical/tokenizer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

namespace lorvan {

namespace {

unsigned char byte_of(char c) { return static_cast<unsigned char>(c); }

bool equal_ignoring_case(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(byte_of(a[i])) != std::tolower(byte_of(b[i]))) return false;
  }
  return true;
}

// Bytes in a UTF-8 sequence that starts with `lead` (1 for a byte that
// starts none).
int utf8_sequence_length(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  if ((lead & 0xFC) == 0xF8) return 5;
  if ((lead & 0xFE) == 0xFC) return 6;
  return 1;
}

bool is_continuation_byte(char c) { return (byte_of(c) & 0xC0) == 0x80; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// ---- LongQuoteRecognizer ----

LongQuoteRecognizer::LongQuoteRecognizer(const char* start, const char* end)
    : start_(start != nullptr ? start : ""), end_(end != nullptr ? end : "") {}

bool LongQuoteRecognizer::isStart(std::string_view text) const {
  return !start_.empty() && text.size() >= start_.size() &&
         equal_ignoring_case(text.data(), start_.data(), start_.size());
}

bool LongQuoteRecognizer::isEnd(const char* data, std::size_t len) const {
  return len >= end_.size() &&
         equal_ignoring_case(data + len - end_.size(), end_.data(), end_.size());
}

// ---- Construction ----

TokenizerBase::TokenizerBase(const char* white, const char* start,
                             const char* middle, const char* quotes,
                             char escape, char comment,
                             std::size_t arena_block_size,
                             std::size_t input_size)
    : white_(white),
      middle_(middle),
      start_(start),
      escape_(escape),
      comment_(comment),
      encoding_(defaultEncoding),
      arena_block_size_(arena_block_size),
      arena_(arena_block_size),
      input_capacity_(std::max<std::size_t>(input_size, 1)) {
  start_.add(white_);
  parse_quotes(quotes);
  if (comment_ != 0) open_quote(comment_).set('\n');
  update_word_classes();
}

TokenizerBase::TokenizerBase(const char* separator,
                             std::size_t arena_block_size,
                             std::size_t input_size)
    : encoding_(defaultEncoding),
      arena_block_size_(arena_block_size),
      arena_(arena_block_size),
      input_capacity_(std::max<std::size_t>(input_size, 1)) {
  if (separator != nullptr) separator_ = separator;
  update_word_classes();
}

TokenizerBase::TokenizerBase(const TokenizerBase& other)
    : separator_(other.separator_),
      white_(other.white_),
      middle_(other.middle_),
      start_(other.start_),
      closing_(copy_table(other.closing_)),
      stop_(copy_table(other.stop_)),
      escape_(other.escape_),
      comment_(other.comment_),
      encoding_(other.encoding_),
      arena_block_size_(other.arena_block_size_),
      arena_(other.arena_block_size_),
      input_capacity_(other.input_capacity_) {
  update_word_classes();
}

TokenizerBase::~TokenizerBase() = default;

TokenizerBase::QuoteTable TokenizerBase::copy_table(const QuoteTable& table) {
  QuoteTable copy;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] != nullptr) copy[i] = std::make_unique<CharSet>(*table[i]);
  }
  return copy;
}

CharSet& TokenizerBase::open_quote(char open) {
  closing_[byte_of(open)] = std::make_unique<CharSet>();
  stop_[byte_of(open)] = std::make_unique<CharSet>();
  start_.set(open);
  return *closing_[byte_of(open)];
}

// Quote groups are separated by white bytes.  In "<> &;." the first byte
// of each ('<', '&') opens, the others close; "^x" makes x a stop byte; a
// lone opener closes itself.  A '^' that ends a group is an
// ordinary closing byte.
void TokenizerBase::parse_quotes(const char* quotes) {
  if (quotes == nullptr) return;
  const char* p = quotes;
  auto ends_group = [this](char c) { return c == '\0' || is_white(c); };
  while (*p != '\0') {
    if (is_white(*p)) {
      ++p;
      continue;
    }
    const char open = *p++;
    CharSet& closing = open_quote(open);
    CharSet& stop = *stop_[byte_of(open)];
    if (ends_group(*p)) closing.set(open);
    for (; !ends_group(*p); ++p) {
      if (*p == '^' && !ends_group(p[1])) {
        stop.set(*++p);
      } else {
        closing.set(*p);
      }
    }
  }
}

bool TokenizerBase::multibyte() const {
  return encoding_ == kDoubleByte || encoding_ == kUtf8;
}

void TokenizerBase::update_word_classes() {
  word_end_ = start_;
  word_end_.add(white_);
  if (multibyte()) {
    for (int c = 0x80; c < 0x100; ++c) word_end_.set(c);
  }
  middle_end_ = word_end_;
  middle_end_.add(middle_);
}

void TokenizerBase::set_encoding(int encoding) {
  encoding_ = encoding;
  update_word_classes();
}

void TokenizerBase::add_long_quote(LongQuoteRecognizer recognizer) {
  long_quotes_.push_back(std::move(recognizer));
}

// ---- Input ----

void TokenizerBase::set_string_input(const char* text, std::ptrdiff_t n) {
  rollback_count_ = 0;
  if (text == nullptr) return;
  const std::size_t size =
      n < 0 ? std::strlen(text) : static_cast<std::size_t>(n);
  input_.assign(text, text + size);
  input_.erase(std::remove(input_.begin(), input_.end(), '\0'), input_.end());
  pos_ = 0;
  len_ = input_.size();
  more_input_ = len_ > 0;
}

void TokenizerBase::restart_input() {
  more_input_ = true;
  rollback_count_ = 0;
  pos_ = 0;
  len_ = 0;
}

char* TokenizerBase::input_buffer() {
  if (input_.size() < input_capacity_) input_.resize(input_capacity_);
  return input_.data();
}

void TokenizerBase::release_input_buffer() {
  std::vector<char>().swap(input_);
  pos_ = 0;
  len_ = 0;
}

bool TokenizerBase::take_input(std::size_t n, char& first) {
  char* buffer = input_buffer();
  const std::size_t kept =
      static_cast<std::size_t>(std::remove(buffer, buffer + n, '\0') - buffer);
  if (kept == 0) return false;
  pos_ = 0;
  len_ = kept;
  first = buffer[0];
  return true;
}

int TokenizerBase::end_of_input(char& first) {
  pos_ = 0;
  len_ = 0;
  first = static_cast<char>(255);
  more_input_ = false;
  return 0;
}

// ---- Character access ----

inline bool TokenizerBase::next_char(char& c) {
  if (rollback_count_ > 0) {
    c = rollback_[rollback_count_ - 1];
    return true;
  }
  if (pos_ < len_) {
    c = input_[pos_];
    return true;
  }
  if (fill_input_buffer(c) != 0) return true;
  c = 0;
  return false;
}

inline void TokenizerBase::advance() {
  if (rollback_count_ > 0) {
    --rollback_count_;
  } else {
    ++pos_;
  }
}

char TokenizerBase::peek(char& c) {
  next_char(c);
  return c;
}

void TokenizerBase::rollback(char c) {
  if (rollback_count_ == kMaxRollback) {
    std::cerr << "Tokenizer cannot rollback more than " << kMaxRollback
              << " characters\n";
    std::exit(1);
  }
  rollback_[rollback_count_++] = c;
}

// ---- Reading ----

char* TokenizerBase::get_token() {
  if (!put_back_.empty()) {
    char* token = put_back_.back();
    put_back_.pop_back();
    return token;
  }
  if (separator_) return find_separator();

  char c;
  bool have = next_char(c);
  if (have && white_.includes(c)) {
    do {
      advance();
      arena_.push(c);
    } while (next_char(c) && white_.includes(c));
    return finish_token();
  }
  if (!more_input_ || !have) return nullptr;
  advance();
  arena_.push(c);
  return read_token_from(c);
}

char* TokenizerBase::get_non_space_token() {
  char* token;
  do {
    token = get_token();
  } while (token != nullptr &&
           (is_white(token[0]) || (comment_ != 0 && token[0] == comment_)));
  return token;
}

// `first` has been consumed and appended.
char* TokenizerBase::read_token_from(char first) {
  if (multibyte() && (byte_of(first) & 0x80) != 0) {
    if (encoding_ == kUtf8) {
      read_utf8_rest(first);
    } else if (char c; next_char(c)) {
      advance();
      arena_.push(c);
    }
    return finish_token();
  }
  if (opens_quote(first)) return read_quote(first);
  if (!middle_.includes(first)) read_word_rest();
  return finish_token();
}

void TokenizerBase::read_utf8_rest(char lead) {
  const int length = utf8_sequence_length(byte_of(lead));
  char c;
  for (int i = 1; i < length && next_char(c) && is_continuation_byte(c); ++i) {
    advance();
    arena_.push(c);
  }
}

// A middle byte joins the word only when a byte outside middle_end_ follows
// it; otherwise it goes back to the input and ends the word, so a word
// never ends in a middle byte.
void TokenizerBase::read_word_rest() {
  char c;
  while (next_char(c) && !word_end_.includes(c)) {
    advance();
    if (middle_.includes(c)) {
      char after;
      if (!next_char(after) || middle_end_.includes(after)) {
        rollback(c);
        more_input_ = true;  // the rolled-back byte is still to be read
        return;
      }
    }
    arena_.push(c);
  }
}

// `open` has been consumed and appended.
char* TokenizerBase::read_quote(char open) {
  const CharSet& closing = *closing_[byte_of(open)];
  const CharSet& stop = *stop_[byte_of(open)];
  const bool nests = nesting_.includes(open);
  const bool escapes = escape_ != 0 && open != comment_;
  int depth = 1;
  char c;
  while (next_char(c) && !stop.includes(c)) {
    advance();
    if (closing.includes(c)) {
      arena_.push(c);
      if (inside_long_quote()) continue;
      if (!nests || --depth == 0) break;
    } else if (escapes && c == escape_) {
      if (!read_escape()) break;
    } else {
      if (c == open) ++depth;
      arena_.push(c);
    }
  }
  return finish_token();
}

// The escape byte has been consumed.  Appends what the sequence stands for;
// false when the input ends right after the escape byte.  A sequence that
// stands for the byte 0 appends nothing, since tokens are NUL-terminated.
bool TokenizerBase::read_escape() {
  char c;
  if (!next_char(c)) return false;
  advance();
  char out = c;
  if (c == 't') {
    out = '\t';
  } else if (c == 'n') {
    out = '\n';
  } else if (c == 'r') {
    out = '\r';
  } else if (is_digit(c)) {
    unsigned code = static_cast<unsigned>(c - '0');
    while (next_char(c) && is_digit(c)) {
      advance();
      code = (code * 10 + static_cast<unsigned>(c - '0')) % 256;
    }
    out = static_cast<char>(code);
  }
  if (out != '\0') arena_.push(out);
  return true;
}

// Whether the token so far has opened a long quote that is not closed yet,
// so that a closing byte does not end the quoted stretch.
bool TokenizerBase::inside_long_quote() const {
  const std::string_view text = current_text();
  return std::any_of(long_quotes_.begin(), long_quotes_.end(),
                     [&](const LongQuoteRecognizer& r) {
                       return r.isStart(text) && !long_quote_closed(r);
                     });
}

// The end marker counts only once it lies wholly after the start marker, so
// that a long quote whose markers are alike ("'''") does not close at once.
bool TokenizerBase::long_quote_closed(const LongQuoteRecognizer& r) const {
  const std::size_t len = arena_.length();
  return len >= r.start().size() + r.end().size() && r.isEnd(arena_.str(), len);
}

char* TokenizerBase::finish_token() {
  const std::string_view text = current_text();
  for (const LongQuoteRecognizer& r : long_quotes_) {
    if (r.isStart(text)) return read_long_quote(r);
  }
  return arena_.finish();
}

char* TokenizerBase::read_long_quote(const LongQuoteRecognizer& r) {
  char c;
  while (!long_quote_closed(r) && next_char(c)) {
    advance();
    arena_.push(c);
  }
  return arena_.finish();
}

// An empty separator never matches: the rest of the input is one token.
char* TokenizerBase::find_separator() {
  const std::string& separator = *separator_;
  const auto found = [&] {
    const std::size_t len = arena_.length();
    return !separator.empty() && len >= separator.size() &&
           std::memcmp(arena_.str() + len - separator.size(), separator.data(),
                       separator.size()) == 0;
  };
  char c;
  while (!found() && next_char(c)) {
    advance();
    arena_.push(c);
  }
  return arena_.finish();
}

void TokenizerBase::put_back(char* token) {
  if (token != nullptr) put_back_.push_back(token);
}

void TokenizerBase::clear() {
  arena_.clear();
  put_back_.clear();
}

bool TokenizerBase::in(char c, const char* text) {
  return c != '\0' && text != nullptr && std::strchr(text, c) != nullptr;
}

void TokenizerBase::printBin(unsigned char byte) {
  for (int bit = 7; bit >= 0; --bit) std::cerr << (((byte >> bit) & 1) != 0 ? '1' : '0');
  std::cerr << '\n';
}

}  // namespace lorvan
