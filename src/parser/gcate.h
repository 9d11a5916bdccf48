// GCate: a grammatical category -- an ordered list of modifier positions
// around a head position, each with the relations (DepRel) whose modifiers
// may fill it, position flags (repeatable, necessary, minimal,
// skip-adjunct), completeness conditions, percolation sets and the
// coordination set-up; and the category's part of the chart: the headed
// items by position and last word, the queue of complete items waiting to
// be offered to the relations in which this category is a modifier.
//
// A category has at most 32 positions (the flags are 32-bit sets).
// Buckets for a last word are made on first use and are emptied, not freed,
// by reset(), so a steady stream of sentences allocates nothing here.
//
// Ownership: a category belongs to its parser's category table (or, for the
// empty category, to the parser directly).  It owns the relations whose
// modifiee it is, its conditions and its chart lists; it does not own the
// items on them (the parser's pool does) nor the modifier categories.
#ifndef LORVAN_PARSER_GCATE_H_
#define LORVAN_PARSER_GCATE_H_

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "expr/lexp.h"
#include "lbitset.h"
#include "parser/dep_rel.h"
#include "sbitset.h"

namespace lorvan {

class AttVec;
class IRSlist;
class LexItem;
class PItem;
class VanticParser;

class GCate {
 public:
  // The category whose definition is being read, or null.
  static GCate* the_category;

  GCate(VanticParser* parser, const char* name);
  ~GCate();
  GCate(const GCate&) = delete;
  GCate& operator=(const GCate&) = delete;

  VanticParser* parser() const { return parser_; }
  const char* name() const { return name_.c_str(); }

  // ---- Relations ----
  // A new relation from this category to `modifier`, owned by this one.
  DepRel* new_relation(GCate* modifier);
  // Relations whose modifier is this category, by ascending weight.
  const std::vector<DepRel*>& modifiee_relations() const { return modifiees_; }
  void add_modifiee(DepRel* rel);
  // Takes rel out of the relations offered this category's items.
  void remove_modifiee(DepRel* rel);
  // Moves rel to its place by weight after its weight changed.
  void resort_modifiee(DepRel* rel);
  // The relations at position p (0..num_positions()); empty otherwise.
  const std::vector<DepRel*>& modifiers(int p) const;
  // Sets rel's position to p and appends it there; at the head position
  // rel's percolating attributes become the modifier's visible attributes.
  void add_modifier(DepRel* rel, int p);

  // ---- Positions ----
  int num_positions() const { return num_positions_; }
  int head() const { return head_; }
  void head(int p) { head_ = p; }
  // Replaces the position lists by n + 1 empty ones; flags are cleared and
  // the relations of the old positions are no longer offered items.
  void reset_positions(int n);
  // Reads the position elements of def-modifiers / def-subcat.
  void def_modifiers(IRSlist* positions);
  // Positions from a lexical vector's "args" (k arguments).
  void make_args(const AttVec& vec);
  bool is_repeatable(int p) const { return in_range(p) && repeatable_.test(p); }
  bool is_necessary(int p) const { return in_range(p) && necessary_.test(p); }
  bool is_minimal(int p) const { return in_range(p) && minimal_.test(p); }
  bool is_skip_adjunct(int p) const { return in_range(p) && skip_adjunct_.test(p); }
  SBitSet is_necessary() const { return necessary_; }
  void set_repeatable(int p, bool on);
  void set_necessary(int p, bool on);
  void set_minimal(int p) { minimal_.set(p); }
  void set_skip_adjunct(int p) { skip_adjunct_.set(p); }
  // True when some position i with from <= i < to is necessary.
  bool include_necessary_modifier(int from, int to) const;

  // ---- Flags and conditions ----
  int is_subcat() const { return subcat_; }
  void is_subcat(int flag) { subcat_ = flag; }
  LExp* full_pitem_cond() const { return full_cond_.get(); }
  void full_pitem_cond(std::unique_ptr<LExp> e) { full_cond_ = std::move(e); }
  LExp* minimal_modifier_cond() const { return minimal_cond_.get(); }
  void minimal_modifier_cond(std::unique_ptr<LExp> e) { minimal_cond_ = std::move(e); }
  // Appends the skip-word condition of the next position (may be null).
  void add_skip_word_cond(std::unique_ptr<LExp> e);
  // True when position p has a skip-word condition whose result on `word`
  // is not null.
  bool skip_word(int p, const char* word) const;
  bool monitor() const { return monitor_; }
  void toggle_monitor() { monitor_ = !monitor_; }

  // ---- Attribute sets ----
  const LBitSet& visible_atts() const { return visible_; }
  void visible_atts(const LBitSet& s) { visible_ = s; }
  const LBitSet& subcat_atts() const { return subcat_atts_; }
  void subcat_atts(const LBitSet& s) { subcat_atts_ = s; }
  // Makes the coordination relation (type "conj") with the two sets,
  // replacing an earlier one.
  void conj_atts(const LBitSet& identical, const LBitSet& consistent);
  DepRel* conj_rel() const { return conj_rel_; }
  const LBitSet& identical_conj_atts() const { return identical_; }
  const LBitSet& consistent_conj_atts() const { return consistent_; }
  DepRel* guest_rel() const { return guest_rel_; }

  // ---- Chart ----
  // The items at position p ending at h (made on demand); p must be in
  // 0..num_positions() and h not negative.
  ItemList& headed_items(int p, int h);
  // The same without making anything: null when absent or out of range.
  const ItemList* find_headed_items(int p, int h) const;
  bool exist_headed_item(int h) const { return h >= 0 && exist_.test(h); }
  // Empties the chart for a sentence of n words.
  void reset(int n);

  // ---- Parsing ----
  PItem* make_pitem(PItem* item, const LBitSet* atts);
  PItem* make_pitem(LexItem* lexitem);
  void select(PItem* item, DepRel* rel);
  void select_full(PItem* item, DepRel* rel);
  bool merge_premodifiers(PItem* item, int a);
  void merge_postmodifiers(PItem* item, DepRel* rel);
  int adjacent(int p, int j, PItem* item, PItem*& guest);
  PItem* merge(PItem* m, PItem* h, PItem* guest);
  int insert_headed_item(PItem* item, int p);
  void handle_conjunction(PItem* item, int p);
  bool compatible_conjunction(PItem* left, PItem* right) const;

 private:
  bool in_range(int p) const { return p >= 0 && p < 32; }
  bool skippable(int j) const;
  void print_select(PItem* item, DepRel* rel) const;
  void drain_complete_items();
  bool is_complete(PItem* item, int p, int& lo, int& hi);
  bool pack(PItem* item, int lo, int hi);
  bool conjoin_at(PItem* item, int p, int q, int k);
  void def_position(int p, IRSlist* element);
  void read_position_flag(int p, const char* flag);
  void def_relation(int p, IRSlist* category_list);

  VanticParser* parser_;
  std::string name_;
  std::deque<std::unique_ptr<DepRel>> relations_;  // those whose modifiee this is
  std::vector<DepRel*> modifiees_;
  std::vector<std::vector<DepRel*>> modifiers_;
  int num_positions_ = 1;
  int head_ = 0;
  int subcat_ = 0;
  SBitSet repeatable_;
  SBitSet necessary_;
  SBitSet minimal_;
  SBitSet skip_adjunct_;
  SubExp full_cond_;
  SubExp minimal_cond_;
  std::vector<SubExp> skip_word_conds_;
  DepRel* conj_rel_ = nullptr;
  LBitSet identical_;
  LBitSet consistent_;
  DepRel* guest_rel_ = nullptr;
  LBitSet visible_;
  LBitSet subcat_atts_;
  std::vector<std::vector<ItemList>> buckets_;  // [last word][position]
  LBitSet exist_;
  std::vector<PItem*> queue_;  // complete items; drained from queue_head_
  std::size_t queue_head_ = 0;
  bool monitor_ = false;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_GCATE_H_
