// Lexicon: a named, in-memory hash table of LexEntry objects mapping words
// and multi-word phrases (case-insensitively) to their meanings.
//
// Entries come from lexicon text (load(), merge(), add_entry(), the lex and
// load-lex commands): a sequence of S-expressions, one per entry,
//
//   (book (noun (num sg)) (freq N 10 V 2))
//   (New York (noun))            ; phrase "New York", anchored at New
//   (ago , long (adv))           ; phrase "long ago", anchored at ago
//
// whose leading atoms form the key (see entry_key() in phrase.h) and whose
// list elements are meanings (see meaning.h).  A phrase entry also records
// a Phrase in the entry of its first atom, so the lexical analyzer finds it
// from the anchor word (contain_phrase()).
//
// Look-up.  search_entry() probes the table once; on a miss it asks the
// linked disk dictionaries, in link order, for the word's entry text and
// loads what they give into memory.  A word found nowhere is remembered as
// absent and the disk is not asked for it again until clear().  With an
// ending table, morphSearch() and getRoot() find inflected words through
// their roots.
//
// Disk dictionaries.  A DiskDictionary is what the lexicon needs of an
// indexed lexicon file: ok() and search(word) -> entry text.  DictOnDisk
// (dict_on_disk.h) implements it; add_disk_file(header), defined beside
// DictOnDisk, makes one from a header file name and hands it to
// link_disk().  The absent-word memory lives here, in search_entry().
//
// Ownership: the lexicon owns its entries (and through them their meanings
// and phrases), kept with their words in one arena, the absent-word copies
// and the linked disk dictionaries.  The ending table is a named object of its own
// and not owned, unless it was made for this lexicon (own_ending_table()).
// A lexicon is a named object of type "Lexicon" (kTypeName); the lexical
// analyzer holds pointers to its entries and meanings during a sentence, so
// it must not be cleared while such items are in use.
//
// Not thread-safe: look-ups use the ending table's and the disk
// dictionaries' scratch buffers.
#ifndef LORVAN_LEXICON_LEXICON_H_
#define LORVAN_LEXICON_LEXICON_H_

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <vector>

#include "hashtable.h"
#include "lexicon/lex_entry.h"
#include "strbufs.h"

namespace lorvan {

class Ending;
class EndingTable;
class IRSlist;

// An indexed lexicon file searched when a word is not in memory.
class DiskDictionary {
 public:
  virtual ~DiskDictionary() = default;
  // Whether the dictionary can be searched.
  virtual bool ok() const = 0;
  // The text of the entry whose head word equals `word` case-insensitively
  // (the first in file order), or null; valid until the next search.  A
  // null word gives null.
  virtual const char* search(const char* word) = 0;
};

// One morphological reading of a word: the entry of its root and the
// ending that led there (null: the word itself).
struct MorphReading {
  LexEntry* entry;
  const Ending* ending;
};

class Lexicon {
 public:
  enum Encoding : int { kAscii = 0, kDoubleByte = 1, kUtf8 = 2 };
  // The named-object type of lexicons.
  static constexpr const char* kTypeName = "Lexicon";

  // Both the entry table and the absent-word table get `size` buckets.
  // `encoding`: null or "ASCII" -> ASCII, "DoubleByte", "UTF8" (any letter
  // case); anything else prints "Unknown character encoding encountered in
  // Lexicon::Lexicon(): " encoding and uses ASCII.
  Lexicon(unsigned size, const char* encoding);
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // ---- Virtual operations ----

  // The entry loaded from the first disk dictionary that has `word`, with
  // the meanings of the later ones that have it too; null when none has.
  virtual LexEntry* search_disk(const char* word);
  // Adds every entry read from `in` with add_entry(e, report_duplicates).
  virtual void load(std::istream& in, bool report_duplicates);
  // Adds every entry read from `in` with add_entry_if_absent().
  virtual void merge(std::istream& in);
  // A new entry for a copy of `word`, both in the lexicon's arena, not
  // inserted (dispose of it with delete when it is not kept).
  virtual LexEntry* new_entry(const char* word);
  // Adds `entry` unless its key already has an entry with meanings: in
  // memory for a phrase key, through search_entry() (memory or disk) for a
  // single word.  Returns the added or the existing entry.
  virtual LexEntry* add_entry_if_absent(IRSlist* entry);
  // Adds the entry written as `entry` (see the header comment):
  //   - an empty or missing list gives null;
  //   - a key already in memory with meanings prints "Duplicate entry: "
  //     key (and gives the existing entry untouched) when
  //     report_duplicates is set; otherwise, and always for an entry
  //     without meanings (a phrase's anchor), the meanings are appended;
  //   - a new phrase entry also records its Phrase in the entry of its
  //     first atom (found or created, searching the disk).
  virtual LexEntry* add_entry(IRSlist* entry, bool report_duplicates);
  // The keys sorted case-insensitively, one per line.
  virtual void print_head_words(std::ostream& out) const;
  // Every entry sorted by key (case-insensitive), with LexEntry::print.
  virtual void print(std::ostream& out) const;
  // Every entry in table order.
  virtual void print_no_sorting(std::ostream& out) const;
  // LexEntry::print; nothing for null.
  virtual void print_entry(std::ostream& out, const LexEntry* entry) const;
  virtual ~Lexicon();

  // ---- Look-up ----

  // The entry of `word`: memory, then (unless remembered absent) the disk
  // dictionaries; null for null or when nothing has it (the word is then
  // remembered as absent).
  LexEntry* search_entry(const char* word);
  // The entry in memory only, or null.
  LexEntry* find_in_memory(const char* word) const;
  // The entry in memory; else, with search_disk set, the disk's; else a new
  // empty entry inserted in memory.
  LexEntry* insert(const char* word, bool search_disk);
  // Removes and destroys the entry of `word`, if any.
  void del_entry(const char* word);
  // Whether `word` is remembered as absent.
  bool is_absent(const char* word) const;

  // Appends to `out` every reading of `word`: with an ending table, for
  // each ending that matches (table order) whose root has an entry, (root
  // entry, ending); without one, (entry, null) when the word has an entry.
  // `out` is not cleared.
  void morphSearch(const char* word, std::vector<MorphReading>& out);
  // Without ending table (or for null) `word` itself; otherwise the key of
  // the entry of the first ending root that has one, else `word`.
  const char* getRoot(const char* word);
  // Whether `phrase`, anchored at words[i], stands in words[0..count-1]:
  // the `before` words preceding i and the `after` words following it
  // must match the phrase text (case-insensitive for ASCII letters,
  // apostrophes and hyphens splitting tokens as the tokenizer does).
  bool contain_phrase(const char* const* words, int count, int i, const Phrase& phrase) const;

  // ---- Building ----

  // Reads one entry from `text` and adds it with add_entry(e, true).
  LexEntry* make_entry(const char* text);
  // Takes over a disk dictionary: appended to the search order when ok(),
  // destroyed otherwise.  Returns whether it was linked.
  bool link_disk(std::unique_ptr<DiskDictionary> dict);
  // Makes a DictOnDisk from the header file name and links it (defined
  // with DictOnDisk).
  void add_disk_file(const char* header);
  // Destroys every entry and forgets the absent words; disk links stay.
  void clear();

  // ---- Properties ----

  int encoding() const { return encoding_; }
  EndingTable* ending_table() const { return ending_table_; }
  // Uses `table` (not owned); null removes it.
  void set_ending_table(EndingTable* table) { ending_table_ = table; }
  // Uses `table` and owns it (a table made for this lexicon alone).
  void own_ending_table(std::unique_ptr<EndingTable> table);
  int size() const { return entries_.size(); }
  int disk_count() const { return static_cast<int>(disks_.size()); }

  // Calls fn(LexEntry*) for every entry in table order.
  template <class Fn>
  void for_each_entry(Fn fn) const {
    entries_.for_each(fn);
  }

 private:
  // The entries sorted case-insensitively by key.
  std::vector<const LexEntry*> sorted_entries() const;
  void remember_absent(const char* word);

  // Memory for entries and their keys: blocks that are only freed as a
  // whole (clear(), destruction).
  class EntryArena {
   public:
    // `n` bytes aligned for a LexEntry.
    void* allocate(std::size_t n);
    void clear() { blocks_.clear(); used_ = kBlockSize; }

   private:
    static constexpr std::size_t kBlockSize = 1 << 16;
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::size_t used_ = kBlockSize;  // bytes taken from the last block
  };

  EntryArena arena_;       // entries with their keys; outlives entries_
  TLHashTable<LexEntry> entries_;
  THashTable<const char*> absent_;
  StrBufs absent_arena_;   // copies of the absent words
  StrBufs key_buffer_;     // scratch for keys being computed
  std::vector<std::unique_ptr<DiskDictionary>> disks_;
  EndingTable* ending_table_ = nullptr;
  std::unique_ptr<EndingTable> own_table_;  // set by own_ending_table()
  int encoding_ = kAscii;
};

// Debugging aid: print() on standard output.
void prlex(const Lexicon* lexicon);

// The deleter of lexicons registered as named objects.
void delLexicon(void* lexicon);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_H_
