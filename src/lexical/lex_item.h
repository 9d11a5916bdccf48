// LexItem: one node of the lattice the lexical analyzer builds for a
// sentence -- a reading of the words low..high (inclusive word positions)
// with a root, at most one lexicon meaning, the endings by which the surface
// word was reduced to the root (affixes), a weight (lower is better), the
// position of its head word, and optionally a category, the relation it
// bears inside a larger item and sub-items (components) of its own.
//
// Items are made only by their LexAnalyzer (make_lexitem(), duplicate(),
// copy()) and belong to it: every item of a sentence is destroyed by the
// analyzer's next clear(), and nobody else deletes one.  The strings of an
// item (root, affixes, category, relation) live in the analyzer's arena,
// except the root of an item made by lexicon look-up, which may be its
// entry's key.
//
// Meanings.  An item made by lexicon look-up shares the lexicon's meaning
// for as long as nobody changes it: meaning() reads it, and
// mutable_meaning() first gives the item its own duplicate, which the item
// then owns.  A meaning handed to LexAnalyzer::make_lexitem() is always
// duplicated.  So changes made through an item never reach the lexicon, and
// the lexicon must not be cleared while items of a sentence are in use.
//
// Positions are 16-bit signed numbers; setters clamp to that range.
//
// Not thread-safe (nothing in the program is).
#ifndef LORVAN_LEXICAL_LEX_ITEM_H_
#define LORVAN_LEXICAL_LEX_ITEM_H_

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "lexicon/meaning.h"

namespace lorvan {

class LexAnalyzer;
class LexEntry;

class LexItem {
 public:
  ~LexItem();
  LexItem(const LexItem&) = delete;
  LexItem& operator=(const LexItem&) = delete;

  // ---- Span ----

  int low() const { return low_; }
  int high() const { return high_; }
  // The span may change only while the item is outside the lattice (before
  // LexAnalyzer::add() or after del()): the analyzer files items by span.
  void low(int position);
  void high(int position);
  // Position of the head word within the span; low when made.
  int head() const { return head_; }
  void head(int position);

  // ---- Contents ----

  float weight() const { return weight_; }
  void weight(float w) { weight_ = w; }
  // Null when the item has none.
  const char* root() const { return root_; }
  // Sets the root to a copy of `text` (null: none).
  void root(const char* text);
  // The meaning (null when the item has none), read-only.
  const Meaning* meaning() const { return meaning_; }
  // The meaning to change: the item's own duplicate, made on first call
  // when the item still shares the lexicon's.  Null when it has none.
  Meaning* mutable_meaning();
  // The lexicon entry the item was made from, or null.
  LexEntry* lex_entry() const { return entry_; }
  void lex_entry(LexEntry* entry) { entry_ = entry; }
  // The endings of the morphological analysis, in order.
  const std::vector<const char*>& affixes() const { return affixes_; }
  // Appends a copy of `affix` (null: nothing).
  void add_affix(const char* affix);
  // Category, or null.
  const char* cate() const { return cate_; }
  // Sets the category to a copy of `text` (null: none).
  void cate(const char* text);
  // The relation name of this item inside a larger one, or null.
  const char* relation() const { return relation_; }
  // Sets the relation to a copy of `text` (null: none).
  void relation(const char* text);
  // A free number for users of the item; 0 when made or copied.
  std::uint32_t stamp() const { return stamp_; }
  void stamp(std::uint32_t value) { stamp_ = value; }

  // ---- Place in the lattice ----

  LexAnalyzer* analyzer() const { return analyzer_; }
  // Set while the item is removed from the lattice; cleared when
  // (re)added.
  bool deleted() const { return deleted_ != 0; }
  // Whether the item is filed in the analyzer's end and start lists.
  bool in_lattice() const { return in_lattice_; }

  // ---- Sub-items ----

  // In ascending order of low.
  const std::vector<LexItem*>& components() const { return components_; }
  // Inserts `item` before the first sub-item with a larger low, else at the
  // end.  Null, the item itself, or an item that already contains this one
  // is refused (a cycle would make every walk over sub-items endless).
  // Returns whether it was added.
  bool add_component(LexItem* item);

  // ---- Copies (new items of the same analyzer) ----

  // Same root, a duplicate of the meaning, the same span, affixes and
  // weight; head (low), category, relation, sub-items and lexicon entry
  // are not carried over.
  LexItem* duplicate() const;
  // Everything carried over: span, head, weight, category, root, relation,
  // affixes, lexicon entry, a duplicate of the meaning and copies of the
  // sub-items (recursively); the copy is not in the lattice.
  LexItem* copy() const;

  // Two blanks per depth level, "[" low "," high "] ", the category and a
  // blank when set, the words of the span and a blank, the meaning, then
  // " (affixes A B)" when there are affixes, " w=" weight, " hd=" head,
  // " (root R)" when there is a root, and a line end; then every sub-item
  // at depth + 1.
  void print(std::ostream& out, int depth) const;

 private:
  friend class LexAnalyzer;

  explicit LexItem(LexAnalyzer* analyzer) : analyzer_(analyzer) {}
  // Back to a fresh item of the same analyzer, for reuse by the analyzer.
  void reset();
  // Shares `m` (which must outlive the sentence).
  void share_meaning(const Meaning* m);
  // Owns a duplicate of `m` (null: no meaning).
  void own_duplicate(const Meaning* m);
  // Gives this item a meaning like `from`'s: shared when `from` shares,
  // a duplicate when `from` owns its meaning.
  void meaning_like(const LexItem& from);
  // Whether `item` is this item or one of its sub-items, at any depth.
  bool contains(const LexItem* item) const;

  std::int16_t high_ = 0;
  std::int16_t low_ = 0;
  std::int16_t head_ = 0;
  std::int16_t deleted_ = 0;
  float weight_ = 0;
  std::uint32_t stamp_ = 0;
  const Meaning* meaning_ = nullptr;      // shared or owned_.get()
  std::unique_ptr<Meaning> owned_;       // the item's own meaning
  std::vector<const char*> affixes_;
  std::vector<LexItem*> components_;
  const char* root_ = nullptr;
  const char* relation_ = nullptr;
  const char* cate_ = nullptr;
  LexEntry* entry_ = nullptr;
  LexAnalyzer* analyzer_;
  bool in_lattice_ = false;
};

// Debugging aid: print(std::cout, 0); "nil" for null.
void prlit(const LexItem* item);

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEX_ITEM_H_
