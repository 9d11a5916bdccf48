#include "lexicon/lex_entry.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "command/irslist.h"
#include "lexicon/phrase_meaning.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan {

LexEntry::~LexEntry() = default;

void LexEntry::operator delete(LexEntry* e, std::destroying_delete_t) {
  bool in_arena = e->in_arena_;
  e->~LexEntry();
  if (!in_arena) ::operator delete(e);
}

Meaning* LexEntry::make_meaning(IRSlist* m) {
  if (Meaning::maker() == nullptr) {
    std::cerr << "lexicon: needs maker for Meaning\n";
    return nullptr;
  }
  Meaning* meaning = Meaning::make_meaning(m);
  if (meaning == nullptr) return nullptr;
  meaning->set_owner(this);
  meaning->initialize(m);
  // One "phrases" meaning stands for all the entry's phrases; a printed
  // entry carries it twice (the meaning and the phrases line), and keeping
  // both would add one more on every print and read.
  if (dynamic_cast<PhraseMeaning*>(meaning) != nullptr) {
    if (Meaning* held = get_meaning(PhraseMeaning::kTypeName)) {
      delete meaning;
      return held;
    }
  }
  add_meaning(meaning);
  return meaning;
}

void LexEntry::make_meanings(IRSlist* entry) {
  for (IRSlist* m = entry->first(); m != nullptr; m = m->next()) {
    if (m->is_list()) make_meaning(m);
  }
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

// The words of a phrase text, split at blanks, each quoted when needed.  A
// comma attached to a word is written as a word of its own, so that the
// phrase reads back with its anchor: "ago, long" prints as ago , long.
void print_phrase_words(std::ostream& out, const char* text) {
  bool first = true;
  std::string word;
  auto put = [&](const std::string& w) {
    if (!first) out << ' ';
    out << (w == "," ? "," : StrBufs::quote_white(w.c_str()));
    first = false;
  };
  for (const char* p = text; *p != '\0';) {
    while (*p == ' ') ++p;
    if (*p == '\0') break;
    const char* end = std::strchr(p, ' ');
    if (end == nullptr) end = p + std::strlen(p);
    word.assign(p, end);
    bool comma = word.size() > 1 && word.back() == ',';
    if (comma) word.pop_back();
    put(word);
    if (comma) put(",");
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
