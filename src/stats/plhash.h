// PLHash: a persistent, string-keyed database of entries -- an in-memory
// table that works as a write-back cache over an optional QHash file.
//
// A key not in memory is looked up in the file and its entry unpacked into
// memory; keys found in neither are remembered (the absent-key set) until
// the next sync().  New and changed entries go back to the file at sync(),
// which then empties the memory, so the memory only ever holds what was
// used since the last sync.  Each kind of database derives from PLHash (in
// practice from TPLHash<Entry>) and supplies the packed form of its entries
// (v_pack_entry / v_unpack_entry) and their printed form (print_entry);
// packed entries begin with the NUL-terminated key.
//
// Global information: the total count (a float, kept with a pending sum so
// that many small additions are not lost) and whatever a kind adds, stored
// as an item at the start of the data area.
//
// Linking: open_file() attaches a file named by a header file (see QHash)
// read-only or read-write.  A damaged file, or one written by another kind
// of database, is reported and not linked.  Every sync() is atomic on disk
// (see JournaledFile).
//
// Ownership: the database owns its entries (destroyed with the entry
// deleter given at construction), the absent-key set and the file.
// Destroying a database does not synchronise it.  Named objects of every
// kind are registered as PLHash* under a type string ending in "/PLHash".
// Not thread-safe.
#ifndef LORVAN_STATS_PLHASH_H_
#define LORVAN_STATS_PLHASH_H_

#include <cstdint>
#include <functional>
#include <ios>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "hashtable.h"
#include "llist.h"
#include "stats/qhash.h"
#include "strbufs.h"

namespace lorvan {

class Tokenizer;

class PLHashEntry : public Llink {
 public:
  explicit PLHashEntry(const char* key);
  virtual ~PLHashEntry();
  PLHashEntry(const PLHashEntry&) = delete;
  PLHashEntry& operator=(const PLHashEntry&) = delete;

  const char* key() const { return key_.get(); }
  // 0: no record yet; p > 0: unchanged record at p; -p: changed since read.
  std::int32_t position() const { return position_; }
  void set_position(std::int32_t position) { position_ = position; }
  std::uint32_t record() const {
    return static_cast<std::uint32_t>(position_ < 0 ? -position_ : position_);
  }
  // Code that changes an entry calls this.
  void mark_changed() {
    if (position_ > 0) position_ = -position_;
  }

 private:
  std::unique_ptr<char[]> key_;
  std::int32_t position_ = 0;
};

using PLHashEntryDeleter = void (*)(PLHashEntry*);

class PLHash {
 public:
  using EntryTable = TLHashTable<PLHashEntry>;
  using Place = EntryTable::Place;
  static constexpr std::size_t kGlobalInfoSize = 1024;
  static constexpr std::size_t kEntryBufferSize = 20000;
  static constexpr std::size_t kSaveBatch = 20000;
  static constexpr float kPendingLimit = 10000.0f;

  PLHash(PLHashEntryDeleter deleter, unsigned bucket_count);
  virtual ~PLHash();
  PLHash(const PLHash&) = delete;
  PLHash& operator=(const PLHash&) = delete;

  // ---- Global information ----

  // Stores the packed global information as the item at `position` (0: a
  // new item, which lands at the data start of a new file).
  virtual void save_global_info(std::uint32_t position);
  // Reads the global information from the file; false (after a message)
  // when it is missing or not of this kind.
  virtual bool load_global_info();
  // Folds the pending count into the total and packs the total.
  virtual void pack_global_info(StrBufs& out);
  // The inverse; false when `data` is not exactly a packed global record of
  // this kind.
  virtual bool unpack_global_info(const char* data, std::size_t length);

  // ---- Linking ----

  // Opens the data file named by the header tokens (see QHash::initAux);
  // `mode` is std::ios::in, with std::ios::out for read-write.  1 for an
  // existing file, 0 for a new one, -1 when nothing was linked.  A database
  // that is already linked, or that holds entries when the file already
  // exists, is not linked (after a message).
  virtual int open_file_with_tokenizer(std::ios::openmode mode, const char* directory,
                                       Tokenizer& tokenizer);
  // The same for a header file found on the search path; -1 also when it is
  // not found.
  virtual int open_file(const char* header, std::ios::openmode mode);
  // sync(), then forgets every entry, the counts and the file.
  virtual void unlink_file();

  // ---- What each kind supplies ----

  // Appends the packed entry (key and NUL first) to `out`.
  virtual void v_pack_entry(const PLHashEntry& entry, StrBufs& out) const;
  // A new entry from a packed one (the caller owns it), or null.
  virtual PLHashEntry* v_unpack_entry(const char* data, std::size_t length) const;
  // Adds the contents of `from` (an entry of this kind and this database's
  // terms) to `into`.
  virtual void combine(PLHashEntry& into, const PLHashEntry& from);
  virtual void print_entry(const PLHashEntry& entry, std::ostream& out) const;
  // Reads one entry in printed form and packs it into `out`; false at the
  // end or on failure.
  virtual bool reconstruct_entry(std::istream& in, StrBufs& out);
  virtual void populate(std::istream& in);
  // Whether entries of `source` can be copied or merged into this database.
  virtual bool accepts_entries_of(const PLHash& source) const;
  // `entry` (an entry of `source`) restated in this database's terms, as a
  // new entry the caller owns; null when it can be used as it is.
  virtual PLHashEntry* import_entry(const PLHash& source, const PLHashEntry& entry);

  // ---- Whole-database operations ----

  // Reads entries in printed form into new records, then sort_links() and
  // sync().  Needs a writable file.
  virtual void reconstruct(std::istream& in);
  // Writes `entry` into the file: rewrites its record, or makes a new one
  // and records its position.  Nothing for an empty packed form.
  virtual void save_entry(PLHashEntry& entry);
  // Adds every entry of `source` (combining entries whose key is in both)
  // and its counts; then sync().  Needs a writable file.
  virtual void merge(PLHash& source);
  // Gives this database every entry and the counts of `source` (an entry
  // already here is replaced); then sync().  Needs a writable file.
  virtual void copy(PLHash& source);
  // Writes new and changed entries and the global information, commits the
  // file and empties the memory.  Without a writable file only the
  // absent-key set is emptied.
  virtual void sync();
  // Forgets every entry in memory and the absent-key set; the file is not
  // touched.
  virtual void clear();

  // ---- Entries ----

  // The entry for `key` -- from memory, or unpacked from the file into
  // memory -- or null.  `place` receives the slot for a new entry for the
  // key, to be given to add_entry().
  PLHashEntry* search_entry_and_place(const char* key, Place& place);
  // Inserts a new entry (owned by the database from now on) at `place`.
  void add_entry(Place place, PLHashEntry* entry) { entries_.insert(place, entry); }
  // Whether the key is in memory or in the file; adds nothing to memory.
  int existEntry(const char* key);
  // Saves each entry in ascending position order; destroys each afterwards
  // when `destroy` is set.  Empties the list.
  void save_entries(std::vector<PLHashEntry*>& list, bool destroy);
  void destroy_entry(PLHashEntry* entry) const { deleter_(entry); }
  int entry_count() const { return entries_.size(); }
  // Calls fn(entry) for every entry in memory.
  template <class Fn>
  void for_each_entry(Fn fn) const { entries_.for_each(fn); }

  // ---- Counts ----

  void inc_total(float amount);
  // total + pending.
  float total_count() const { return total_ + pending_; }
  void set_counts(float total, float pending) {
    total_ = total;
    pending_ = pending;
  }
  float total() const { return total_; }
  float pending() const { return pending_; }

  // ---- Plain items beside the records (nothing without a file) ----

  bool load(std::uint32_t position, StrBufs& buffer);
  std::uint32_t save(std::uint32_t position, const char* data, std::uint32_t length);

  // ---- Inspection ----

  // Prints every entry (memory and file) whose key `select` accepts (all
  // when it is empty), sorted by key.
  void dump(std::ostream& out, const std::function<bool(const char*)>& select = {});
  bool validate();
  void show_disk_profile(int limit);
  void sort_links();
  void print_free_list();

  QHash* disk_file() const { return file_.get(); }
  // A file that is open and writable.
  bool writable_file() const { return file_ && file_->ok() && !file_->read_only(); }

 protected:
  // Calls fn(entry, from_file) for every entry of the database as it now
  // stands: those in memory, then those unpacked from the records of the
  // file whose key is not in memory.  An entry from the file is destroyed
  // after the call unless fn returns true, which hands it over to fn.
  void for_each_current_entry(const std::function<bool(PLHashEntry&, bool)>& fn);

 private:
  // Calls fn(entry, packed) for every current entry of `source`, restated
  // in this database's terms and packed.
  void for_each_imported(PLHash& source,
                         const std::function<void(const PLHashEntry&, StrBufs&)>& fn);
  bool check_source(const PLHash& source, const char* operation) const;
  void clear_absent_keys() { absent_.clear(); }

  PLHashEntryDeleter deleter_;
  EntryTable entries_;
  float total_ = 0;
  float pending_ = 0;
  std::unique_ptr<QHash> file_;
  THashTableWithOrd<const char*> absent_;  // owned key copies
  StrBufs buffer_{kEntryBufferSize};       // records read and written
};

// The typed front of a database kind whose entries are of type Entry.
template <class Entry>
class TPLHash : public PLHash {
 public:
  using PLHash::PLHash;
  Entry* search_entry_and_place(const char* key, Place& place) {
    return static_cast<Entry*>(PLHash::search_entry_and_place(key, place));
  }
};

// Walks a database's entries: without a file those in memory, with one
// every record of the file in bucket order, unpacked into an entry that
// belongs to the iterator until it moves on.
class PLHashIterator {
 public:
  explicit PLHashIterator(PLHash& db);
  ~PLHashIterator();
  PLHashIterator(const PLHashIterator&) = delete;
  PLHashIterator& operator=(const PLHashIterator&) = delete;

  // The next entry, or null at the end.
  PLHashEntry* next();
  bool finished() const { return finished_; }
  void reset();
  // The raw payload of the current record (file walks only), or null.
  StrBufs* current_buffer() const { return current_buffer_; }

 private:
  void drop_current();

  PLHash& db_;
  std::unique_ptr<QHashIterator> records_;
  std::vector<PLHashEntry*> memory_;  // memory walks: the entries, in order
  std::size_t memory_next_ = 0;
  PLHashEntry* owned_ = nullptr;  // the unpacked current entry
  StrBufs* current_buffer_ = nullptr;
  bool finished_ = false;
};

// The deleter databases are registered with as named objects.
void delete_plhash(void* object);

// A count as databases print it: the text StrBufs::push(double) writes.
std::string count_text(double count);

}  // namespace lorvan

#endif  // LORVAN_STATS_PLHASH_H_
