#include "lexicon/lex_file_utils.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "expr/lexp.h"
#include "lexical/tokenizer.h"
#include "lexicon/lex_entry.h"
#include "lexicon/lexicon.h"
#include "lexicon/phrase.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Where the key of an item starts: just after its opening parenthesis.
const char* after_open(const char* item) {
  while (is_blank(*item)) ++item;
  return *item == '(' ? item + 1 : item;
}

// The end of the key: past the closing quote of a quoted key, at the first
// '(' or ')' of a plain one.
const char* after_key(const char* item) {
  const char* p = after_open(item);
  if (*p == '"') {
    for (++p; *p != '\0' && *p != '"'; ++p) {
      if (*p == '\\' && p[1] != '\0') ++p;
    }
    return *p == '"' ? p + 1 : p;
  }
  while (*p != '\0' && *p != '(' && *p != ')') ++p;
  return p;
}

// Calls fn(text) for every parenthesised item inside an entry after its key.
template <class Fn>
void for_each_meaning_item(const char* entry, StrBufs& arena, Fn fn) {
  const char* cursor = after_key(entry);
  while (const char* item = arena.next_item(cursor)) fn(item);
}

// Compares two texts ignoring blanks and ASCII letter case.
bool same_without_blanks(const char* a, const char* b) {
  for (;;) {
    while (is_blank(*a)) ++a;
    while (is_blank(*b)) ++b;
    if (*a == '\0' || *b == '\0') return *a == *b;
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) {
      return false;
    }
    ++a;
    ++b;
  }
}

void write_prefixed(std::ostream& out, const char* text, const char* prefix) {
  for (;;) {
    const char* end = std::strchr(text, '\n');
    out << prefix;
    if (end == nullptr) {
      out << text << '\n';
      return;
    }
    out.write(text, end - text);
    out << '\n';
    text = end + 1;
  }
}

// One input of a walk: the pending item and its key.
class ItemReader {
 public:
  explicit ItemReader(std::istream& in) : in_(in) { next(); }
  // Reads the next item; false at the end.
  bool next() {
    arena_.clear();
    item_ = arena_.next_item(in_);
    if (item_ != nullptr) get_key(item_, key_);
    return item_ != nullptr;
  }
  const char* item() const { return item_; }
  const char* key() const { return key_.c_str(); }
  bool done() const { return item_ == nullptr; }

 private:
  std::istream& in_;
  StrBufs arena_{4096};
  const char* item_ = nullptr;
  std::string key_;
};

// Walks two sorted inputs in step.  on_first / on_second get an item found
// only in that input, with the flag telling whether the other input has
// ended; on_both gets two items with equal keys.
template <class First, class Second, class Both>
void walk_sorted(std::istream& a, std::istream& b, First on_first, Second on_second, Both on_both) {
  ItemReader first(a);
  ItemReader second(b);
  while (!first.done() && !second.done()) {
    int r = strcasecmp(first.key(), second.key());
    if (r < 0) {
      on_first(first.item(), false);
      first.next();
    } else if (r > 0) {
      on_second(second.item(), false);
      second.next();
    } else {
      on_both(first.item(), second.item());
      first.next();
      second.next();
    }
  }
  for (; !first.done(); first.next()) on_first(first.item(), true);
  for (; !second.done(); second.next()) on_second(second.item(), true);
}

void write_line(std::ostream& out, const char* item) { out << item << '\n'; }

// "(" key "\n", the meaning items, " )" and a line end.
class EntryWriter {
 public:
  EntryWriter(std::ostream& out, const char* key) : out_(out) { out_ << '(' << key << '\n'; }
  ~EntryWriter() { out_ << " )\n"; }
  void meaning(const char* item) { out_ << ' ' << item << '\n'; }

 private:
  std::ostream& out_;
};

}  // namespace

const char* get_key(const char* item, std::string& key) {
  key.clear();
  const char* p = after_open(item);
  if (*p == '"') {
    for (++p; *p != '\0' && *p != '"'; ++p) {
      if (*p == '\\' && p[1] != '\0') ++p;
      key.push_back(*p);
    }
    return key.c_str();
  }
  bool gap = false;
  for (; *p != '\0' && *p != '(' && *p != ')'; ++p) {
    if (is_blank(*p) || *p == '|') {
      gap = true;
      continue;
    }
    if (gap && !key.empty()) key.push_back(' ');
    gap = false;
    key.push_back(*p);
  }
  return key.c_str();
}

void lex_diff(std::istream& first, std::istream& second, std::ostream& out) {
  auto only = [&out](const char* prefix) {
    return [&out, prefix](const char* item, bool other_ended) {
      write_prefixed(out, item, prefix);
      if (!other_ended) out << '\n';
    };
  };
  walk_sorted(first, second, only("< "), only("> "), [&out](const char* a, const char* b) {
    if (same_without_blanks(a, b)) return;
    write_prefixed(out, a, "< ");
    write_prefixed(out, b, "> ");
    out << '\n';
  });
}

void update_lex(std::istream& addendum, std::istream& old_dict, std::ostream& out) {
  auto copy = [&out](const char* item, bool) { write_line(out, item); };
  walk_sorted(addendum, old_dict, copy, copy,
              [&out](const char* added, const char*) { write_line(out, added); });
}

void combine_lex(std::istream& first, std::istream& second, std::ostream& out) {
  auto copy = [&out](const char* item, bool) { write_line(out, item); };
  StrBufs arena(4096);
  std::string key;
  walk_sorted(first, second, copy, copy, [&](const char* a, const char* b) {
    EntryWriter entry(out, get_key(a, key));
    arena.clear();
    for_each_meaning_item(a, arena, [&entry](const char* m) { entry.meaning(m); });
    for_each_meaning_item(b, arena, [&entry](const char* m) { entry.meaning(m); });
  });
}

void merge_entries(std::istream& in, std::ostream& out) {
  ItemReader reader(in);
  StrBufs meanings_arena(4096);
  std::vector<const char*> meanings;
  StrBufs scratch(1024);
  while (!reader.done()) {
    std::string key = reader.key();
    meanings_arena.clear();
    meanings.clear();
    for (; !reader.done() && strcasecmp(reader.key(), key.c_str()) == 0; reader.next()) {
      scratch.clear();
      for_each_meaning_item(reader.item(), scratch, [&](const char* m) {
        auto same = [m](const char* x) { return std::strcmp(x, m) == 0; };
        if (std::none_of(meanings.begin(), meanings.end(), same)) {
          meanings.push_back(meanings_arena.copy(m));
        }
      });
    }
    EntryWriter entry(out, key.c_str());
    for (const char* m : meanings) entry.meaning(m);
  }
}

void sort_lex(std::istream& in, std::ostream& out) {
  StrBufs arena(1 << 16);
  std::vector<const char*> items;
  items.reserve(120000);
  while (const char* item = arena.next_item(in)) items.push_back(item);
  std::stable_sort(items.begin(), items.end(),
                   [](const char* a, const char* b) { return strcasecmp(a, b) < 0; });
  for (const char* item : items) write_line(out, item);
}

void rm_duplicates(std::istream& in, std::ostream& out) {
  // The previous item stays in one arena while the next is read into the
  // other.
  StrBufs a(4096);
  StrBufs b(4096);
  StrBufs* current = &a;
  StrBufs* other = &b;
  const char* previous = nullptr;
  for (;;) {
    current->clear();
    const char* item = current->next_item(in);
    if (item == nullptr) return;
    if (previous == nullptr || strcasecmp(previous, item) != 0) write_line(out, item);
    previous = item;
    std::swap(current, other);
  }
}

void select_entries(LExp& test, std::istream& in, std::ostream& out) {
  StrBufs arena(4096);
  std::string flat;
  const int char_type = arg_type_id("char*");
  while (const char* item = arena.next_item(in)) {
    flat.assign(item);
    std::replace(flat.begin(), flat.end(), '\n', '|');
    if (test.eval(flat.data(), char_type) != nullptr) write_line(out, item);
    arena.clear();
  }
}

void filter_entries(std::istream& in, LExp* test, LExp* meaning_action, LExp* entry_action) {
  const int entry_type = arg_type_id("LexEntry*");
  const int meaning_type = arg_type_id("Meaning*");
  StrBufs keys(1024);
  Lexicon scratch(11, nullptr);
  IRSlistInputIterator reader(in);
  for (IRSlist* text = reader.current(); text != nullptr; text = reader.next()) {
    if (!text->is_list()) continue;
    keys.clear();
    int words = 0;
    const char* key = entry_key(*text, TokenizerBase::defaultEncoding, keys, words);
    if (key == nullptr) continue;
    LexEntry entry(key, &scratch);
    entry.make_meanings(text);
    if (test != nullptr && test->eval(&entry, entry_type) == nullptr) continue;
    if (meaning_action != nullptr) {
      std::vector<Meaning*> meanings;
      for (const auto& m : entry.meanings()) meanings.push_back(m.get());
      for (Meaning* m : meanings) {
        // An earlier action may have removed more than its own meaning.
        auto held = [m](const std::unique_ptr<Meaning>& x) { return x.get() == m; };
        if (std::any_of(entry.meanings().begin(), entry.meanings().end(), held)) {
          meaning_action->eval(m, meaning_type);
        }
      }
    }
    if (entry_action != nullptr) entry_action->eval(&entry, entry_type);
  }
}

}  // namespace lorvan
