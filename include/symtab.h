// SymTab: a case-insensitive symbol table of (name, value, documentation).
//
// Used for the interpreter's command table and other name tables.  Names are
// hashed with hashpjw() and compared with lorvan::strcasecmp(), so look-ups
// ignore ASCII letter case; each bucket's chain is kept in ascending order.
// The table copies names and documentation strings into its own arena
// (first block 4096 bytes); it never owns the values, which are untyped
// pointers handed back as given.  Entries are never removed, and the table
// does not rehash: the bucket count is fixed when it is made.
//
// TSymTab<T> is the same table with values of pointer type T.
#ifndef LORVAN_INCLUDE_SYMTAB_H_
#define LORVAN_INCLUDE_SYMTAB_H_

#include <deque>
#include <iosfwd>
#include <vector>

#include "strbufs.h"

namespace lorvan {

class SymTab {
 public:
  struct Entry {
    const char* name;  // owned by the table
    void* value;       // not owned
    const char* doc;   // owned by the table; may be null
    Entry* next;       // next entry in the same bucket
  };
  using const_iterator = std::deque<Entry>::const_iterator;

  // `size` is the bucket count, at least 11.
  explicit SymTab(unsigned size = 11);

  SymTab(const SymTab&) = delete;
  SymTab& operator=(const SymTab&) = delete;

  // Adds an entry.  When the name exists, prints "Duplicate definition of "
  // and the name on the error stream, leaves the old entry in place and
  // returns false.
  bool enter(const char* name, void* value, const char* doc = nullptr);
  // Replaces the value and documentation of an existing entry, or adds one.
  void re_enter(const char* name, void* value, const char* doc = nullptr);

  // The entry named `name`, or nullptr.
  const Entry* find(const char* name) const;
  // The value of `name`, or nullptr when there is no such entry.
  void* lookup(const char* name) const;

  // Iteration over all entries in the order they were first entered.
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  std::size_t size() const { return entries_.size(); }
  unsigned bucket_count() const { return static_cast<unsigned>(buckets_.size()); }

  // Prints, sorted by name (case-insensitively), every entry whose name
  // starts with a non-empty match of the regular expression `pattern`
  // (anchored: a '^' is put in front unless the pattern begins with one;
  // matching is case-sensitive), or every entry when pattern is null.  Each
  // entry is written as its name, a newline, its documentation or "No
  // documentation provided", a newline and an empty line.  A pattern the
  // regular-expression engine rejects ends the program with its message.
  void list_entries(std::ostream& out, const char* pattern) const;

 private:
  // The link that holds `name`'s entry, or where it would be inserted.
  Entry** slot(const char* name);
  Entry* const* slot(const char* name) const;
  // Whether e is the entry named `name`.
  static bool holds(const Entry* e, const char* name);
  // A copy of doc in the arena, or null for a null doc.
  const char* copy_doc(const char* doc);
  // Adds a new entry at `link`, a slot() result for `name`.
  void add_at(Entry** link, const char* name, void* value, const char* doc);

  StrBufs arena_;
  std::vector<Entry*> buckets_;
  std::deque<Entry> entries_;  // stable addresses
};

template <class T>
class TSymTab : public SymTab {
 public:
  using SymTab::SymTab;
  bool enter(const char* name, T value, const char* doc = nullptr) {
    return SymTab::enter(name, to_void(value), doc);
  }
  void re_enter(const char* name, T value, const char* doc = nullptr) {
    SymTab::re_enter(name, to_void(value), doc);
  }
  // The value of `name`, or a null T.
  T val(const char* name) const { return static_cast<T>(lookup(name)); }
  static T value_of(const Entry& e) { return static_cast<T>(e.value); }

 private:
  static void* to_void(T value) { return const_cast<void*>(static_cast<const void*>(value)); }
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_SYMTAB_H_
