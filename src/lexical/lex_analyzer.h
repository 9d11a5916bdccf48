// LexAnalyzer: the lexical analyzer of the current sentence.  It holds the
// sentence's words (positions 1..n-1; position 0 is a null entry), the white
// space before each word and optional part-of-speech tags, and builds from
// them a lattice of LexItems: every lexicon meaning of every word, items for
// the lexicon phrases found in the sentence, or -- with a word-sequence
// counter instead of a lexicon -- items for the known word sequences,
// weighted by their counts; an optional rule list then edits the lattice.
//
// Use, once per sentence:
//
//   analyzer.clear();
//   analyzer.add_tokens(tokenizer);   // or add_space()/add_word(), init()
//   analyzer.lexical_search();
//   for (LexAnalyzerIterator it(&analyzer); !it.finished(); it.next())
//     use(it.current());
//
// The lattice.  Items are filed by position: the end list of p holds the
// items whose high is p, by decreasing low (shortest first); the start list
// of p holds those whose low is p, by decreasing high (longest first); among
// items of one span the most recently added comes first.  Items are found
// through these lists only, never by scanning all items.
//
// Markers.  With a focus marker set, a word that begins with it is stored
// without it and its position joins foci().  With a part-of-speech marker
// set, a word holding it is cut there and the rest becomes the word's tag;
// lexical_search() then keeps, at each tagged word, only its items of that
// category when it has any.
//
// Ownership and lifetime: the analyzer owns its items and two arenas; words,
// spaces, tags, roots and items handed out stay valid until the next
// clear(), a words() result only until the next words() call.  The
// lexicon, word-sequence counter and rule list are named objects of their
// own and are not owned; the hook and meaning selector are.  Items,
// arrays, position lists and arenas are reused from sentence to sentence,
// so a steady stream of sentences allocates nothing per word.
//
// Positions are 16-bit: only words below position 32768 are analysed.
//
// Not thread-safe (nothing in the program is).
#ifndef LORVAN_LEXICAL_LEX_ANALYZER_H_
#define LORVAN_LEXICAL_LEX_ANALYZER_H_

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include "expr/lexp.h"
#include "lbitset.h"
#include "lexical/lex_item.h"
#include "strbufs.h"

namespace lorvan {

class IRSlist;
class LexEntry;
class LexRuleList;
class Lexicon;
class Meaning;
struct MorphReading;
class TokenizerBase;
class WordSeqCounter;

// While non-zero, lexical_search() leaves sentence-final punctuation on the
// last word (see removePunctuationMarks).  Set by not-to-remove-punc-marks.
extern unsigned char NOT_TO_REMOVE_PUNC_MARKS;
// While non-zero, lexical_search() ends by printing every item on
// std::cerr.
extern int DEBUG_LEX_RULES;

class LexAnalyzer {
 public:
  // The items of one position, in lattice order.
  using ItemList = std::vector<LexItem*>;
  // Positions at and beyond this one are never analysed.
  static constexpr int kPositionLimit = 32768;

  // Room for sentences of `length` words (a hint; longer ones work too),
  // items for six times as many.  No lexicon, word list, rules, markers,
  // hook or selector.
  explicit LexAnalyzer(int length);
  // A new analyzer with the same sentence-length hint, lexicon, word list
  // and rule list and copies of the hook and selector; no markers and no
  // sentence.
  LexAnalyzer(const LexAnalyzer& other);
  LexAnalyzer& operator=(const LexAnalyzer&) = delete;
  virtual ~LexAnalyzer();

  // ---- Configuration ----

  Lexicon* lexicon() const { return lexicon_; }
  void set_lexicon(Lexicon* lexicon) { lexicon_ = lexicon; }
  // Used when there is no lexicon.
  WordSeqCounter* wordList() const { return word_list_; }
  void set_word_list(WordSeqCounter* counter) { word_list_ = counter; }
  LexRuleList* rules() const { return rules_; }
  void set_rules(LexRuleList* rules) { rules_ = rules; }
  // Evaluated on every item as it enters the lattice (input "LexItem*"),
  // then on its sub-items; results are ignored.
  void set_hook(std::unique_ptr<LExp> hook) { hook_ = std::move(hook); }
  const LExp* hook() const { return hook_.get(); }
  // Decides which lexicon meanings become items: evaluated on each meaning
  // (input "Meaning*"), non-zero admits it.
  void set_meaning_selector(std::unique_ptr<LExp> selector) { selector_ = std::move(selector); }
  const LExp* meaning_selector() const { return selector_.get(); }
  // One character each; 0 for none.
  char focus_marker() const { return focus_marker_; }
  void focus_marker(char c) { focus_marker_ = c; }
  char pos_marker() const { return pos_marker_; }
  void pos_marker(char c) { pos_marker_ = c; }
  int sentence_length_hint() const { return length_; }

  // ---- Feeding a sentence ----

  // Records `text` as (part of) the white space before the next word:
  // appended to what is already recorded for it.  Null only pads the
  // space array up to the words.
  void add_space(const char* text);
  // Adds a copy of `text` as the next word (see Markers above).  Null adds
  // nothing beyond the null entry at position 0.  Returns the word count
  // including position 0.
  int add_word(const char* text);
  // Every atom of `list` as a word after the space " ", or after "" when
  // the previous atom was ":nogap" (which is not a word itself).
  void init(const IRSlist& list);
  // Appends `text` to the space before word i (sets it when none); for i
  // beyond the array a new entry is appended.  Negative i does nothing.
  void insert_space(const char* text, int i);
  // Every token of `t`, read until its input ends: a token beginning with
  // a white character adds the space " ", any other is added as a word.
  void add_tokens(TokenizerBase& t);
  // Each word after the space " ".
  void add_words(std::span<const char* const> words);
  // Forgets the sentence: arena, words, spaces, tags, position sets, foci
  // and every item; the mixed-case flag becomes 1.  Markers, lexicon and
  // the other settings stay.
  virtual void clear();

  // ---- Reading the sentence ----

  // The word count including position 0.
  int sentleng() const { return static_cast<int>(words_.size()); }
  // Word i; null out of range (and for position 0).
  const char* word(int i) const;
  // The white space before word i; "" out of range or when none.
  const char* space(int i) const;
  // True when the space before word i is null, empty or begins with '<'.
  bool nogap(int i) const;
  // The part-of-speech tag of word i, or null.
  const char* tag(int i) const;
  // The length of the tag array (including position 0; 0 before the first
  // word).
  int tag_count() const { return static_cast<int>(tags_.size()); }
  // Words i..j (clamped to 1..n-1) with one blank before each later word
  // whose space is non-empty; for i == j the word itself; "" when nothing
  // is left.  Valid until the next words() call.
  const char* words(int i, int j);
  // Words i..j, each after the first preceded by its space (line ends
  // written as blanks) unless it begins with a byte >= 128.  Nothing when
  // i < 0 or j is not below the word count.
  void print_words(std::ostream& out, int i, int j) const;
  // Position of the nearest word `w` (case-insensitive) before i, passing
  // over words that begin with punctuation and stopping at any other word;
  // -1 when there is none or i is not in 2..n (n: the word count).
  int before(int i, const char* w) const;
  // The same forwards from i + 1; -1 when there is none or i < 0.
  int after(int i, const char* w) const;
  int dist(int a, int b) const { return a > b ? a - b : b - a; }
  // Sets the mixed-case flag when `flag` is 0 or 1 (any negative value
  // only reads it); returns the flag.
  int mixed_case(int flag);

  // Position sets, filled by the lexical rules' actions.  Negative
  // positions are ignored.
  bool first_conjunction(int i) const { return first_conjunctions_.test(i); }
  bool last_conjunction(int i) const { return last_conjunctions_.test(i); }
  bool is_adverb(int i) const { return adverbs_.test(i); }
  bool is_skipable(int i) const { return skipable_.test(i); }
  void flag_first_conjunction(int low, int high) { set_span(first_conjunctions_, low, high); }
  void flag_last_conjunction(int low, int high) { set_span(last_conjunctions_, low, high); }
  void flag_adverb(int low, int high) { set_span(adverbs_, low, high); }
  void skip(int i) { set_span(skipable_, i, i); }
  // Positions of the focus words.
  LBitSet& foci() { return foci_; }
  const LBitSet& foci() const { return foci_; }
  // The arena of words, spaces, roots, affixes and categories.
  StrBufs& strbufs() { return strings_; }

  // ---- The lattice ----

  // The end list / start list of position i, made empty on first use; null
  // for i < 0 or i >= kPositionLimit.
  ItemList* bucket(int i);
  ItemList* pbucket(int i);
  // A new item of this analyzer for words low..high with a copy of `root`,
  // a duplicate of `meaning` and copies of `affixes`; not yet in the
  // lattice.  Null when low or high is not a 16-bit position.
  virtual LexItem* make_lexitem(const char* root, const Meaning* meaning, int low, int high,
                                std::span<const char* const> affixes = {});
  // Enters `item` into the lattice and returns it.  With `check`, an item
  // of the same span and root whose meaning compares equal (Meaning::cmp)
  // that is already there is returned instead, and `item` stays out.  The
  // hook is evaluated on an item that enters.  Null gives null; an item
  // already in the lattice is returned as it is.
  virtual LexItem* add(LexItem* item, bool check);
  // add(item, true) for each item in order.
  void add_lex_items(std::span<LexItem* const> items);
  // Takes `item` out of the lattice and marks it deleted.
  virtual void del(LexItem* item);
  // Deletes every item inside a..b that does not cover all of it (b beyond
  // the sentence: up to its last word).  Nothing when a == b.
  virtual void del_smaller_items(int a, int b);
  // Every item of the lattice (LexAnalyzerIterator order) at depth 0.
  virtual void print(std::ostream& out);

  // Every item made for the current sentence, in the order made, whether
  // in the lattice or not.
  int item_count() const { return used_; }
  LexItem* item(int i) const;

  // ---- Lexical search ----

  // Builds the lattice of the current sentence: with a lexicon, splits
  // sentence-final punctuation off the last word (unless
  // NOT_TO_REMOVE_PUNC_MARKS) and looks up every word; without one, asks
  // the word list (retrieveWordInWordList).  Then applies the rule list,
  // the part-of-speech tags, and prints the items when DEBUG_LEX_RULES.
  // Words at positions >= kPositionLimit are not analysed (reported).
  virtual void lexical_search();
  // Items for every morphological reading of `word` (Lexicon::morphSearch)
  // and for the lexicon phrases anchored at it, spanning low..high: one
  // per meaning the selector admits (a "phrases" meaning, the record of an
  // entry's phrases, is no reading and makes none), with the entry key as
  // root ("A, B" read as "B A") and the ending's name as affix.
  virtual void look_up_word(const char* word, int low, int high);
  // Splits trailing punctuation off the last real word among 1..len
  // unless the lexicon knows the whole word: the cut-off text becomes a
  // new last word (when that word is the sentence's last) or joins the
  // space before the following word.
  void removePunctuationMarks(int len);
  // The lattice without a lexicon: one item per word (no meaning), or
  // with a word list, an item per known sequence starting at each word,
  // weighted ln(N / count), and ln(2N) for a word the list does not know.
  void retrieveWordInWordList();
  // Keeps, of the items in 1..n-1, the longer ones: items are visited by
  // decreasing length and one that overlaps an item visited before is
  // deleted.
  void removeRedundant();
  // Among the items spanning exactly i..j, deletes those whose category is
  // not `tag`, when at least one has that category.
  void posTag(int i, int j, const char* tag);
  // Applies every enabled rule of `rules` once, in list order.
  void apply_rules(LexRuleList& rules);

  // A number in [0, 2^31) from the analyzer's own generator, for random
  // tie-breaks; the same sequence for every analyzer.
  unsigned random_number();

 private:
  friend class LexItem;
  friend class LexAnalyzerIterator;
  friend void pickLexItemsWithUnigrams(LexAnalyzer& analyzer);

  // A pooled item reset for this sentence.
  LexItem* new_item(int low, int high);
  // An item sharing the lexicon meaning `m` with a root already in the
  // arena.
  LexItem* lexicon_item(const char* root, const Meaning* m, LexEntry* entry, int low, int high,
                        const char* affix);
  // make_lex_items: the items of every admitted meaning of `entry` and of
  // its phrases found around `low`, appended to pending_.
  void make_lex_items(LexEntry* entry, int low, int high, const char* affix);
  void make_phrase_items(LexEntry* entry, int low, const char* affix);
  // The entry key with "A, B" turned into "B A", in the arena (or the key
  // itself when it has no such comma).
  const char* remove_comma(const char* key);
  bool admits(const Meaning* m) const;
  void run_hook(LexItem* item);
  // The item of the same span and root as `item` with an equal meaning, or
  // null.
  LexItem* find_equal(const LexItem& item);
  // Word-list items for the sequences that start at j.
  void add_sequences_from(int j);
  // Takes every item but `keep` out of the lists of `position`.
  void keep_only(int position, const LexItem* keep);
  // Appends a word with the given space and no tag, no markers.
  void append_word(char* text, const char* space);
  // Puts an item into / takes it out of its end and start lists.
  void file_item(LexItem* item);
  void unfile_item(LexItem* item);
  // Deletes the items of `list` that `doomed` picks.
  template <class Pred>
  void del_from(ItemList* list, Pred doomed);
  // The list of position i of `lists` if it was made, else null.
  static ItemList* made_list(std::vector<ItemList>& lists, int i);
  static ItemList* list_at(std::vector<ItemList>& lists, int i);
  // The number of positions analysed: min(sentleng(), kPositionLimit).
  int analysed_length() const;
  // Sets low..high, limited to 0..kPositionLimit-1.
  static void set_span(LBitSet& set, int low, int high);

  int length_;
  int mixed_case_ = 1;
  std::vector<char*> words_;
  std::vector<const char*> spaces_;
  std::vector<const char*> tags_;
  char pos_marker_ = 0;
  char focus_marker_ = 0;
  LBitSet foci_;
  std::vector<std::unique_ptr<LexItem>> pool_;  // items [0, used_) are live
  int used_ = 0;
  LexRuleList* rules_ = nullptr;
  std::vector<ItemList> ends_;
  std::vector<ItemList> starts_;
  Lexicon* lexicon_ = nullptr;
  WordSeqCounter* word_list_ = nullptr;
  std::unique_ptr<LExp> hook_;
  std::unique_ptr<LExp> selector_;
  LBitSet first_conjunctions_;
  LBitSet last_conjunctions_;
  LBitSet adverbs_;
  LBitSet skipable_;
  StrBufs strings_;
  std::size_t strings_block_;  // first block size of strings_
  StrBufs words_arena_;        // the latest words() result
  std::size_t words_block_;
  std::minstd_rand random_;
  // Scratch of lexicon look-up, used as stacks so that a hook may look up
  // words while a look-up is under way.
  std::vector<MorphReading> readings_;
  std::vector<LexItem*> pending_;
  // Scratch of the word-list walk, used as a stack too: (last position,
  // count) of each stored sequence found.
  std::vector<std::pair<int, float>> sequences_;
};

// Visits every item of the lattice: the end lists from position 0 upwards,
// each in its order.
//
//   for (LexAnalyzerIterator it(&a); !it.finished(); it.next()) it.current();
//
// The lattice must not change while the walk goes on.
class LexAnalyzerIterator {
 public:
  explicit LexAnalyzerIterator(LexAnalyzer* analyzer) { reset(analyzer); }
  // Starts over on `analyzer` (null: an empty walk).
  void reset(LexAnalyzer* analyzer);
  // The current item, or null when the walk is over.
  LexItem* current() const;
  // Moves on; returns the new current item or null.
  LexItem* next();
  bool finished() const { return current() == nullptr; }

 private:
  void settle();

  LexAnalyzer* analyzer_ = nullptr;
  int position_ = 0;
  std::size_t index_ = 0;
};

// Keeps one segmentation of the sentence of minimal total weight: the
// cheapest chain of items covering 1..n-1 (ties broken at random); every
// other item is taken out of the position lists (without being marked
// deleted).
void pickLexItemsWithUnigrams(LexAnalyzer& analyzer);

// Debugging aid: print(std::cout); "nil" for null.
void prlil(LexAnalyzer* analyzer);

// The deleter of analyzers registered as named objects.
void delLexAnalyzer(void* analyzer);

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEX_ANALYZER_H_
