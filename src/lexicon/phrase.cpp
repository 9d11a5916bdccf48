#include "lexicon/phrase.h"

#include <cstring>

#include "command/irslist.h"
#include "strbufs.h"

namespace lorvan {

namespace {

bool has_high_byte(const char* s) {
  for (; *s != '\0'; ++s) {
    if (static_cast<unsigned char>(*s) >= 128) return true;
  }
  return false;
}

unsigned char clamp_count(int n) {
  if (n < 0) return 0;
  return static_cast<unsigned char>(n > 255 ? 255 : n);
}

}  // namespace

int token_count(const char* word) {
  int n = 1;
  for (; *word != '\0'; ++word) {
    if (*word == '\'') n += 1;
    else if (*word == '-') n += 2;
  }
  return n;
}

const char* entry_key(const IRSlist& entry, int encoding, StrBufs& out, int& words) {
  words = 0;
  for (const IRSlist* e = entry.first(); e != nullptr && !e->is_list(); e = e->next()) {
    const char* atom = e->val();
    if (atom == nullptr) break;  // "()" ends the key like a list
    bool attach = std::strcmp(atom, ",") == 0 || (encoding != 0 && has_high_byte(atom));
    if (words > 0 && !attach) out.push(' ');
    out.push(atom);
    ++words;
  }
  if (words == 0) return nullptr;
  return out.finish();
}

Phrase::Phrase(const char* text, unsigned char before, unsigned char after)
    : text_(new char[std::strlen(text) + 1]), before_(before), after_(after) {
  std::strcpy(text_.get(), text);
}

std::unique_ptr<Phrase> Phrase::from_words(const IRSlist& words, int encoding) {
  StrBufs buffer(256);
  int n = 0;
  const char* key = entry_key(words, encoding, buffer, n);
  if (key == nullptr) return nullptr;
  int anchor_tokens = 0;
  int after_comma = 0;
  bool comma = false;
  int i = 0;
  for (const IRSlist* e = words.first(); i < n; e = e->next(), ++i) {
    const char* atom = e->val();
    if (std::strcmp(atom, ",") == 0) {
      comma = true;
    } else if (comma) {
      after_comma += token_count(atom);
    } else {
      anchor_tokens += token_count(atom);
    }
  }
  return std::make_unique<Phrase>(key, clamp_count(after_comma), clamp_count(anchor_tokens - 1));
}

}  // namespace lorvan
