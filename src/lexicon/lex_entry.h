// LexEntry: the entry of one word or phrase in a Lexicon -- its key, its
// meanings, and the phrases anchored at it.
//
// Printed form (print()):
//
//   (book
//    (noun (num sg))
//    (freq N 10 V 2)
//    (phrases (book shop) (ago , long))
//   )
//
// i.e. "(" key and a line end; " " meaning and a line end per meaning; when
// the entry has phrases " (phrases", " (" words ")" per phrase, ")" and a
// line end; finally " )" and a line end.  Keys and phrase words are written
// with StrBufs::quote_white.  The form reads back as an entry through the
// "phrases" meaning.
//
// Ownership: the entry owns its meanings and phrases.  Entries are owned by
// their Lexicon, which chains them into its hash table through the Llink
// base.  A lexicon makes its entries in its own arena, each with its key
// right behind it (Lexicon::new_entry); `delete` on such an entry destroys
// it and leaves the memory to the arena, so every entry, wherever it was
// made, is disposed of with `delete`.
#ifndef LORVAN_LEXICON_LEX_ENTRY_H_
#define LORVAN_LEXICON_LEX_ENTRY_H_

#include <iosfwd>
#include <memory>
#include <new>
#include <vector>

#include "lexicon/meaning.h"
#include "lexicon/phrase.h"
#include "llist.h"

namespace lorvan {

class IRSlist;
class Lexicon;

class LexEntry : public Llink {
 public:
  // An entry for `word` (not copied: it must outlive the entry) in
  // `lexicon` (may be null for a free-standing entry).
  LexEntry(const char* word, Lexicon* lexicon) : word_(word), lexicon_(lexicon) {}
  ~LexEntry();
  LexEntry(const LexEntry&) = delete;
  LexEntry& operator=(const LexEntry&) = delete;

  // Destroys the entry; frees its memory unless a lexicon's arena holds it.
  static void operator delete(LexEntry* e, std::destroying_delete_t);

  const char* key() const { return word_; }
  Lexicon* lexicon() const { return lexicon_; }
  int use_stamp() const { return use_stamp_; }
  void set_use_stamp(int stamp) { use_stamp_ = stamp; }

  // ---- Meanings ----

  // Makes the meaning written as `m` ((TYPE CONTENTS...)): duplicates the
  // prototype TYPE (removing the atom from `m`), makes this entry its owner,
  // reads the rest of `m` with initialize() and appends it.  An unknown
  // TYPE gives null without a message; without a "Meaning" maker prints
  // "lexicon: needs maker for Meaning" and gives null.
  Meaning* make_meaning(IRSlist* m);
  // make_meaning() for every list element of the entry text `entry`, in
  // order; its atoms (the key) are passed over.
  void make_meanings(IRSlist* entry);
  // Appends `m` (taking ownership) and makes this entry its owner.
  void add_meaning(Meaning* m);
  // The first meaning whose type name equals `type` (case-sensitive), or
  // null.
  Meaning* get_meaning(const char* type) const;
  // Removes and destroys `m`; nothing when `m` is not here.
  void del_meaning(Meaning* m);
  // The meanings in order.
  const std::vector<std::unique_ptr<Meaning>>& meanings() const { return meanings_; }
  int meaning_count() const { return static_cast<int>(meanings_.size()); }

  // ---- Phrases anchored here ----

  // Appends `p` (taking ownership) unless a phrase of the same text
  // (case-insensitive) is here; then `p` is destroyed.
  void add_phrase(std::unique_ptr<Phrase> p);
  const std::vector<std::unique_ptr<Phrase>>& phrases() const { return phrases_; }

  // The printed form described above.
  void print(std::ostream& out) const;

 private:
  friend class Lexicon;  // makes entries in its arena

  const char* word_;
  int use_stamp_ = 0;
  bool in_arena_ = false;
  std::vector<std::unique_ptr<Meaning>> meanings_;
  std::vector<std::unique_ptr<Phrase>> phrases_;
  Lexicon* lexicon_;
};

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEX_ENTRY_H_
