#include "lexicon/ending.h"

#include <cctype>
#include <cstring>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "expr/lexp.h"
#include "lexicon/ending_table.h"

namespace lorvan {
namespace {

// Removes the next element of `s` and stores its text in `out`; false when
// `s` has no element left or the element has no text.
bool take_atom(IRSlist* s, std::string& out) {
  if (s->first() == nullptr) return false;
  const char* text = s->get_val();
  if (text == nullptr) return false;
  out = text;
  return true;
}

bool is_vowel(char c) { return c != '\0' && std::strchr("aeiou", c) != nullptr; }

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int char_type_id() {
  static const int id = arg_type_id("char*");
  return id;
}

}  // namespace

bool Ending::match(const char* word, std::size_t length) const {
  std::size_t n = suffix_.size();
  if (n >= length) return false;
  const char* end = word + (length - n);
  for (std::size_t i = 0; i < n; ++i) {
    if (suffix_[i] != lower(end[i])) return false;
  }
  return true;
}

const char* Ending::get_root(const char* word) const {
  std::size_t length = std::strlen(word);
  if (length <= suffix_.size()) return nullptr;
  return make_root(word, length - suffix_.size(), replacement());
}

void Ending::init(IRSlist* s) {
  take_atom(s, suffix_);
  has_name_ = take_atom(s, name_);
  has_replacement_ = take_atom(s, replacement_);
  condition_ = has_name_ ? table_->getCond(name_.c_str()) : nullptr;
}

const char* Ending::make_root(const char* word, std::size_t keep, const char* tail) const {
  StrBufs& buffer = table_->getBuffer();
  buffer.push(std::string_view(word, keep));
  buffer.push(tail);
  char* root = buffer.finish();
  if (condition_ != nullptr && condition_->eval(root, char_type_id()) == nullptr) return nullptr;
  return root;
}

bool EndingDouble::match(const char* word, std::size_t length) const {
  if (!Ending::match(word, length)) return false;
  // length > suffix length, so p >= 0; p > 2 keeps p - 2 inside the word.
  std::size_t p = length - suffix_length() - 1;
  return p > 2 && word[p] == word[p - 1] && is_vowel(word[p - 2]);
}

const char* EndingDouble::get_root(const char* word) const {
  std::size_t length = std::strlen(word);
  if (length <= suffix_length() + 1) return nullptr;
  return make_root(word, length - suffix_length() - 1, nullptr);
}

bool EndingES::match(const char* word, std::size_t length) const {
  if (length <= 3 || !Ending::match(word, length) || !has_letters_) return false;
  char c = word[length - 3];
  return c != '\0' && letters_.find(c) != std::string::npos;
}

void EndingES::init(IRSlist* s) {
  Ending::init(s);
  has_letters_ = take_atom(s, letters_);
}

}  // namespace lorvan
