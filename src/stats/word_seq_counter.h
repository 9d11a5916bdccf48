// WordSeqCounter: counts of word sequences (single words and phrases) in a
// persistent database (PLHash).
//
// An entry is keyed by the first word of its sequences and holds a trie of
// them: the root stands for the word itself, each edge for the id of a
// following word in the counter's own word table (a case-insensitive
// Str2Id), and a node with the end flag for a stored sequence with its
// count.  With the inverse flag sequences are stored last word first.
//
// Packed entry: the key and its NUL, then the root node: 't' or 'f' (end
// flag), the count as a big-endian float, for each child in ascending id
// order 'y', the id (4 bytes) and the child packed alike, then 'n'.  The
// global information is the total count followed by the packed word table,
// so the ids inside the records of a file always refer to the table stored
// with them; copy and merge restate ids in the target's own table.
//
// Count files hold one sequence per line: words separated by blanks up to
// the first tab after a word, then the count (a line without a tab counts
// 1).
//
// The counter owns its entries and word table.  Node references handed out
// stay valid until the entry changes or the counter is synchronised or
// cleared.  Registered as a named object of type "WordSeqCounter/PLHash"
// holding a PLHash*; find_word_seq_counter() looks one up.
#ifndef LORVAN_STATS_WORD_SEQ_COUNTER_H_
#define LORVAN_STATS_WORD_SEQ_COUNTER_H_

#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "stats/plhash.h"
#include "stats/ttrie.h"
#include "str2id.h"

namespace lorvan {

using WordSeqTrie = TTrie<int, float>;
using WordSeqNode = WordSeqTrie::Node;

class WordSeqCounterEntry : public PLHashEntry {
 public:
  explicit WordSeqCounterEntry(const char* key) : PLHashEntry(key) {}
  WordSeqTrie trie;
};

class WordSeqCounter : public TPLHash<WordSeqCounterEntry> {
 public:
  using Words = std::span<const char* const>;
  static constexpr unsigned kDefaultSize = 19997;
  // The count given to a word the counter does not know.
  static constexpr float kUnknownCount = 0.5f;

  // `size` is the entry table's bucket count.  The word table starts small;
  // setSymtable() sizes it.
  WordSeqCounter(unsigned size, bool inverse);
  ~WordSeqCounter() override;

  // Makes a fresh, empty word table of `size` buckets; meant for a counter
  // that holds no entries yet.
  void setSymtable(unsigned size);
  bool inverse() const { return inverse_; }

  // Adds `count` to the sequence (creating what is missing) and to the
  // total.  Null for no words; otherwise the entry of the first word.
  WordSeqCounterEntry* addEntry(Words words, float count);
  // The one-word form: marks the word as stored and adds `count` to it; the
  // total is not changed.  Null, creating nothing, for an unknown word and
  // a count of 0.
  WordSeqCounterEntry* addEntry(const char* word, float count);

  // The count of a stored sequence, 0 for any other.
  float getFreq(Words words);
  // The same for a text whose words are separated by single spaces (two
  // spaces make an empty word).
  float getFreq(const char* text);
  // Appends the nodes along the sequence to `nodes`; empties it when the
  // sequence is not stored.
  void searchSeq(Words words, std::vector<const WordSeqNode*>& nodes);

  // The entry of a word (loaded from the file when needed), or null.
  WordSeqCounterEntry* find_entry(const char* word);
  // The id of a following word, 0 when it never followed one.
  int getId(const char* word) { return word_ids_->get_id(word, false); }
  const char* getStr(int id) const { return word_ids_->get_str(id); }

  // Reads a count file and adds every line; then folds the pending count
  // into the total.
  void loadCounts(std::istream& in);
  // Makes each sequence of a count file have exactly its count there (its
  // words taken as written, even under the inverse flag).
  void applyCorrections(std::istream& in);

  // The cost of a sequence seen `count` times: ln(total / count).
  double weight(float count) const;

  // ---- PLHash ----
  void pack_global_info(StrBufs& out) override;
  bool unpack_global_info(const char* data, std::size_t length) override;
  void v_pack_entry(const PLHashEntry& entry, StrBufs& out) const override;
  PLHashEntry* v_unpack_entry(const char* data, std::size_t length) const override;
  void combine(PLHashEntry& into, const PLHashEntry& from) override;
  // One line per stored sequence, its words in reading order, a tab and the
  // count; the lines sorted.
  void print_entry(const PLHashEntry& entry, std::ostream& out) const override;
  bool accepts_entries_of(const PLHash& source) const override;
  PLHashEntry* import_entry(const PLHash& source, const PLHashEntry& entry) override;

 private:
  // The entry of `word`, made when missing.
  WordSeqCounterEntry* entry_for(const char* word);
  // The node of the sequence in `entry`, or kNone.
  WordSeqTrie::NodeId find_node(const WordSeqCounterEntry& entry, Words rest);
  // Splits a count-file line into words (reversed under the inverse flag
  // when `reverse` is set) and its count.
  void parse_count_line(char* line, bool reverse, std::vector<const char*>& words,
                        float& count) const;
  // Adds every stored sequence of `from` to `into`, each edge label passed
  // through map(id) first (0: leave that branch out).
  template <class Map>
  static void add_trie(WordSeqTrie& into, const WordSeqTrie& from, Map map);

  bool inverse_;
  unsigned symtable_size_;
  std::unique_ptr<Str2Id> word_ids_;
};

// Splits `text` at single spaces (two spaces make an empty word); the words
// point into `storage`, which receives a copy of the text.  A null text has
// no words.
std::vector<const char*> split_at_spaces(const char* text, std::string& storage);

// The counter registered under `name`, or null (reported when missing).
WordSeqCounter* find_word_seq_counter(const char* name);

// Entry deleter of word-sequence counters.
void delete_word_seq_entry(PLHashEntry* entry);

}  // namespace lorvan

#endif  // LORVAN_STATS_WORD_SEQ_COUNTER_H_
