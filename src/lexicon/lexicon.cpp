#include "lexicon/lexicon.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <new>

#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending.h"
#include "lexicon/ending_table.h"
#include "strfuncs.h"

namespace lorvan {

namespace {

void delete_entry(LexEntry* e) { delete e; }

int encoding_of(const char* name) {
  if (name == nullptr || strcasecmp(name, "ASCII") == 0) return Lexicon::kAscii;
  if (strcasecmp(name, "DoubleByte") == 0) return Lexicon::kDoubleByte;
  if (strcasecmp(name, "UTF8") == 0) return Lexicon::kUtf8;
  std::cerr << "Unknown character encoding encountered in Lexicon::Lexicon(): " << name << '\n';
  return Lexicon::kAscii;
}

// Reports an entry that cannot be added because it has no key.
void report_keyless(const IRSlist& entry) {
  std::cerr << "Lexicon: an entry must be a list beginning with its key: ";
  if (entry.is_list()) {
    std::cerr << '(';
    entry.print_line(std::cerr);
    std::cerr << ')';
  } else {
    irslist_print_root(&entry, std::cerr);
  }
  std::cerr << '\n';
}

unsigned char lower_ascii(unsigned char c) {
  return c < 128 ? static_cast<unsigned char>(std::tolower(c)) : c;
}

// Matches one token of a sentence at the cursor in a phrase text and moves
// the cursor past it.  A token may end inside a phrase word where the
// tokenizer splits words: before an apostrophe or hyphen, after one, or
// before a byte >= 128.  A comma right after the word is passed over.
bool same_word(const char*& cursor, const char* word) {
  if (cursor == nullptr || word == nullptr) return cursor == nullptr && word == nullptr;
  const char* p = cursor;
  const char* w = word;
  while (*p != '\0' && *w != '\0' &&
         lower_ascii(static_cast<unsigned char>(*p)) == lower_ascii(static_cast<unsigned char>(*w))) {
    ++p;
    ++w;
  }
  if (*p == '\0' && *w == '\0') {
    cursor = p;
    return true;
  }
  char before = p > cursor ? p[-1] : '\0';
  if (*p == ',') ++p;
  char ch = *p;
  bool boundary = ch == '\0' || ch == ' ' || ch == '\'' || ch == '-' ||
                  static_cast<unsigned char>(ch) >= 128 || before == '-' || before == '\'';
  if (!boundary || *w != '\0') return false;
  if (ch == ' ') ++p;
  cursor = p;
  return true;
}

const char* skip_commas_and_blanks(const char* p) {
  while (*p == ',' || *p == ' ') ++p;
  return p;
}

}  // namespace

Lexicon::Lexicon(unsigned size, const char* encoding)
    : entries_(size, &lorvan::strcasecmp, &delete_entry),
      absent_(size, &hashpjw, &lorvan::strcasecmp, false),
      absent_arena_(1024),
      key_buffer_(256),
      encoding_(encoding_of(encoding)) {}

Lexicon::~Lexicon() = default;

// ---- Look-up ----

LexEntry* Lexicon::find_in_memory(const char* word) const {
  return word != nullptr ? entries_.search(word) : nullptr;
}

bool Lexicon::is_absent(const char* word) const {
  return word != nullptr && absent_.find(word) != nullptr;
}

void Lexicon::remember_absent(const char* word) {
  absent_.insert(absent_arena_.copy(word));
}

LexEntry* Lexicon::search_entry(const char* word) {
  if (word == nullptr) return nullptr;
  if (LexEntry* e = entries_.search(word)) return e;
  // Without disk dictionaries there is nothing a remembered miss could
  // save, so unknown words are not collected.
  if (disks_.empty() || is_absent(word)) return nullptr;
  LexEntry* e = search_disk(word);
  if (e == nullptr) remember_absent(word);
  return e;
}

LexEntry* Lexicon::search_disk(const char* word) {
  LexEntry* found = nullptr;
  bool first = true;
  for (const auto& disk : disks_) {
    const char* text = disk->search(word);
    if (text == nullptr) continue;
    IRSlistInputIterator reader(text);
    if (LexEntry* e = add_entry(reader.current(), first)) found = e;
    first = false;
  }
  return found;
}

LexEntry* Lexicon::insert(const char* word, bool try_disk) {
  if (word == nullptr) return nullptr;
  if (LexEntry* e = entries_.search(word)) return e;
  if (try_disk) {
    if (LexEntry* e = search_disk(word)) return e;
  }
  LexEntry* e = new_entry(word);
  entries_.enter(e);
  return e;
}

void* Lexicon::EntryArena::allocate(std::size_t n) {
  constexpr std::size_t align = alignof(LexEntry);
  n = (n + align - 1) / align * align;
  if (n > kBlockSize - used_) {
    blocks_.push_back(std::make_unique<std::byte[]>(n > kBlockSize ? n : kBlockSize));
    used_ = 0;
  }
  void* p = blocks_.back().get() + used_;
  used_ += n;
  return p;
}

LexEntry* Lexicon::new_entry(const char* word) {
  std::size_t length = std::strlen(word);
  auto* memory = static_cast<std::byte*>(arena_.allocate(sizeof(LexEntry) + length + 1));
  char* key = reinterpret_cast<char*>(memory + sizeof(LexEntry));
  std::memcpy(key, word, length + 1);
  auto* e = ::new (memory) LexEntry(key, this);
  e->in_arena_ = true;
  return e;
}

void Lexicon::del_entry(const char* word) {
  if (word != nullptr) delete entries_.remove(word);
}

void Lexicon::morphSearch(const char* word, std::vector<MorphReading>& out) {
  if (word == nullptr) return;
  if (ending_table_ == nullptr) {
    if (LexEntry* e = search_entry(word)) out.push_back({e, nullptr});
    return;
  }
  ending_table_->for_each_root(word, [&](const char* root, Ending* ending) {
    if (LexEntry* e = search_entry(root)) out.push_back({e, ending});
    return false;
  });
}

const char* Lexicon::getRoot(const char* word) {
  if (word == nullptr || ending_table_ == nullptr) return word;
  const char* found = word;
  ending_table_->for_each_root(word, [&](const char* root, Ending*) {
    LexEntry* e = search_entry(root);
    if (e != nullptr) found = e->key();
    return e != nullptr;
  });
  return found;
}

bool Lexicon::contain_phrase(const char* const* words, int count, int i,
                             const Phrase& phrase) const {
  int before = phrase.before();
  int after = phrase.after();
  if (i - before < 0 || i + after >= count) return false;
  const char* text = phrase.text();
  const char* cursor = text;
  auto high = [](char c) { return static_cast<unsigned char>(c) >= 128; };
  if (encoding_ == kDoubleByte) {
    for (int k = 0; k < 2 && *cursor != '\0'; ++k) ++cursor;
    cursor = skip_commas_and_blanks(cursor);
  } else if (encoding_ == kUtf8 && high(*cursor)) {
    ++cursor;
    while ((static_cast<unsigned char>(*cursor) & 0xC0) == 0x80) ++cursor;
    cursor = skip_commas_and_blanks(cursor);
  } else {
    // ASCII, and UTF-8 text whose first word is ASCII: the first word ends
    // at the first blank.
    const char* blank = std::strchr(cursor, ' ');
    cursor = blank != nullptr ? blank + 1 : cursor + std::strlen(cursor);
  }
  for (int k = i + 1; k <= i + after; ++k) {
    if (!same_word(cursor, words[k])) return false;
  }
  for (int k = i - before; k < i; ++k) {
    if (!same_word(cursor, words[k])) return false;
  }
  return true;
}

// ---- Building ----

LexEntry* Lexicon::add_entry(IRSlist* entry, bool report_duplicates) {
  if (entry == nullptr || (!entry->is_list() && entry->val() == nullptr)) return nullptr;
  key_buffer_.clear();
  int words = 0;
  const char* key = entry->is_list()
                        ? entry_key(*entry, TokenizerBase::defaultEncoding, key_buffer_, words)
                        : nullptr;
  if (key == nullptr) {
    report_keyless(*entry);
    return nullptr;
  }
  LexEntry* e = entries_.search(key);
  bool is_new = e == nullptr;
  if (is_new) {
    e = new_entry(key);
    entries_.enter(e);
  } else if (report_duplicates && e->meaning_count() > 0) {
    // An entry without meanings (made as the anchor of a phrase, say) is
    // no duplicate: the entry written for the word fills it.
    std::cerr << "Duplicate entry: " << key << '\n';
    return e;
  }
  e->make_meanings(entry);
  if (is_new && words > 1) {
    std::unique_ptr<Phrase> phrase = Phrase::from_words(*entry, TokenizerBase::defaultEncoding);
    insert(entry->first()->val(), true)->add_phrase(std::move(phrase));
  }
  return e;
}

LexEntry* Lexicon::add_entry_if_absent(IRSlist* entry) {
  if (entry != nullptr && entry->is_list()) {
    key_buffer_.clear();
    int words = 0;
    if (const char* key = entry_key(*entry, TokenizerBase::defaultEncoding, key_buffer_, words)) {
      LexEntry* e = words > 1 ? entries_.search(key) : search_entry(key);
      if (e != nullptr && e->meaning_count() > 0) return e;
    }
  }
  return add_entry(entry, true);
}

LexEntry* Lexicon::make_entry(const char* text) {
  if (text == nullptr) return nullptr;
  IRSlistInputIterator reader(text);
  return add_entry(reader.current(), true);
}

void Lexicon::load(std::istream& in, bool report_duplicates) {
  IRSlistInputIterator reader(in);
  for (IRSlist* e = reader.current(); e != nullptr; e = reader.next()) add_entry(e, report_duplicates);
}

void Lexicon::merge(std::istream& in) {
  IRSlistInputIterator reader(in);
  for (IRSlist* e = reader.current(); e != nullptr; e = reader.next()) add_entry_if_absent(e);
}

bool Lexicon::link_disk(std::unique_ptr<DiskDictionary> dict) {
  if (dict == nullptr || !dict->ok()) return false;
  disks_.push_back(std::move(dict));
  return true;
}

void Lexicon::own_ending_table(std::unique_ptr<EndingTable> table) {
  own_table_ = std::move(table);
  ending_table_ = own_table_.get();
}

void Lexicon::clear() {
  entries_.clear();
  absent_.clear();
  arena_.clear();
  absent_arena_.clear();
}

// ---- Printing ----

std::vector<const LexEntry*> Lexicon::sorted_entries() const {
  std::vector<const LexEntry*> v;
  v.reserve(static_cast<std::size_t>(entries_.size()));
  entries_.for_each([&v](const LexEntry* e) { v.push_back(e); });
  std::stable_sort(v.begin(), v.end(), [](const LexEntry* a, const LexEntry* b) {
    return strcasecmp(a->key(), b->key()) < 0;
  });
  return v;
}

void Lexicon::print_head_words(std::ostream& out) const {
  for (const LexEntry* e : sorted_entries()) out << e->key() << '\n';
}

void Lexicon::print(std::ostream& out) const {
  for (const LexEntry* e : sorted_entries()) e->print(out);
}

void Lexicon::print_no_sorting(std::ostream& out) const {
  entries_.for_each([&out](const LexEntry* e) { e->print(out); });
}

void Lexicon::print_entry(std::ostream& out, const LexEntry* entry) const {
  if (entry != nullptr) entry->print(out);
}

void prlex(const Lexicon* lexicon) {
  if (lexicon != nullptr) lexicon->print(std::cout);
}

void delLexicon(void* lexicon) { delete static_cast<Lexicon*>(lexicon); }

}  // namespace lorvan
