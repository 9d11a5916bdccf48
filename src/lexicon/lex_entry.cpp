#include "lexicon/lex_entry.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "command/irslist.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan {

LexEntry::~LexEntry() = default;

Meaning* LexEntry::make_meaning(IRSlist* m) {
  if (Meaning::maker() == nullptr) {
    std::cerr << "lexicon: needs maker for Meaning\n";
    return nullptr;
  }
  Meaning* meaning = Meaning::make_meaning(m);
  if (meaning == nullptr) return nullptr;
  meaning->set_owner(this);
  meaning->initialize(m);
  add_meaning(meaning);
  return meaning;
}

void LexEntry::add_meaning(Meaning* m) {
  m->set_owner(this);
  meanings_.emplace_back(m);
}

Meaning* LexEntry::get_meaning(const char* type) const {
  for (const auto& m : meanings_) {
    if (std::strcmp(m->type_name(), type) == 0) return m.get();
  }
  return nullptr;
}

void LexEntry::del_meaning(Meaning* m) {
  auto it = std::find_if(meanings_.begin(), meanings_.end(),
                         [m](const std::unique_ptr<Meaning>& x) { return x.get() == m; });
  if (it != meanings_.end()) meanings_.erase(it);
}

void LexEntry::add_phrase(std::unique_ptr<Phrase> p) {
  if (p == nullptr) return;
  for (const auto& q : phrases_) {
    if (strcasecmp(q->text(), p->text()) == 0) return;
  }
  phrases_.push_back(std::move(p));
}

namespace {

// The words of a phrase text, split at blanks, each quoted when needed.
void print_phrase_words(std::ostream& out, const char* text) {
  bool first = true;
  const char* p = text;
  while (*p != '\0') {
    while (*p == ' ') ++p;
    if (*p == '\0') break;
    const char* end = std::strchr(p, ' ');
    if (end == nullptr) end = p + std::strlen(p);
    std::string word(p, end);
    if (!first) out << ' ';
    out << StrBufs::quote_white(word.c_str());
    first = false;
    p = end;
  }
}

}  // namespace

void LexEntry::print(std::ostream& out) const {
  out << '(' << StrBufs::quote_white(word_) << '\n';
  for (const auto& m : meanings_) {
    out << ' ';
    m->print(out);
    out << '\n';
  }
  if (!phrases_.empty()) {
    out << " (phrases";
    for (const auto& p : phrases_) {
      out << " (";
      print_phrase_words(out, p->text());
      out << ')';
    }
    out << ")\n";
  }
  out << " )\n";
}

}  // namespace lorvan
