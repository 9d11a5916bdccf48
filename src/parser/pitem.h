// PItem: one parse item of the chart -- a span of the sentence analysed as
// an item of a grammatical category, with its attribute vector, its cost
// and the record of how it was made (the head item it grew from, the
// modifier attached and the relation used), so that every analysis can be
// rebuilt from the chart.  Items of equal span and equal visible
// attributes are packed into one chain of alternatives (eq_pitem()).
//
// Ownership: items live in their parser's item pool (VanticParser::
// new_pitem) and are reused after every reset; an item owns its attribute
// vector and nothing it points to (head, modifier, relation, category).
// Pointers between items stay valid until the parser's next reset.
#ifndef LORVAN_PARSER_PITEM_H_
#define LORVAN_PARSER_PITEM_H_

#include <cstdint>

#include "features/attvec.h"

namespace lorvan {

class AVList;
class DepRel;
class GCate;
class LexItem;

class PItem {
 public:
  // An empty item whose vector has the type `type`.
  explicit PItem(const AttInterpreterList* type);
  PItem(const PItem&) = delete;
  PItem& operator=(const PItem&) = delete;

  // Makes the item as new: span 0..0, no links, weight 0, empty vector.
  void init();

  // ---- Span ----
  // First and last word covered; high() < low() is an empty span.
  int low() const { return low_; }
  int high() const { return high_; }
  void low(int p) { low_ = static_cast<std::int16_t>(p); }
  void high(int p) { high_ = static_cast<std::int16_t>(p); }

  // ---- Attribute vector ----
  AttVec& attvec() { return vec_; }
  const AttVec& attvec() const { return vec_; }
  AttVal get_val(int i) const { return defined(i) ? vec_.get_val(i) : 0; }
  void set_val(int i, AttVal v) { vec_.set_val(i, v); }
  bool defined(int i) const { return i >= 0 && vec_.defined(i); }
  void undefine(int i) {
    if (i >= 0) vec_.undefine(i);
  }
  // Defined and, read as a signed number, above / below 0.
  bool positive(int i) const;
  bool negative(int i) const;
  // Defined and holding exactly `v`.
  bool val_is(int i, AttVal v) const { return defined(i) && vec_.get_val(i) == v; }
  const char* str_val(int i) const { return defined(i) ? vec_.str_val(i) : nullptr; }
  int unify(const AttVec& w, const LBitSet* mask = nullptr) { return vec_.unify(w, mask); }
  int unifiable(const AttVec& w, const LBitSet* mask = nullptr) const {
    return vec_.unifiable(w, mask);
  }
  int cmp(const AttVec& w, const LBitSet* mask = nullptr) const { return vec_.cmp(w, mask); }

  // The lexical item of "lexitem", or null.
  LexItem* lexitem() const;
  // The "move" list, or null; own_move_list() makes it private first.
  AVList* move_list() const;
  AVList* own_move_list();
  // Replaces the "move" list by `list` (the vector takes a hold).
  void set_move_list(AVList* list);

  // ---- Packing ----
  // The next equivalent alternative, or null.
  PItem* eq_pitem() const { return eq_; }
  // Inserts x directly after this item in the chain.
  void eq_pitem(PItem* x);
  // True when other is on this item's chain or this item on other's.
  bool is_equal_to(const PItem* other) const;

  // ---- Derivation ----
  PItem* head() const { return head_; }
  void head(PItem* h) { head_ = h; }
  // The modifier attached when this item was made; null without a head.
  PItem* modifier() const { return head_ != nullptr ? modifier_ : nullptr; }
  void modifier(PItem* m) { modifier_ = m; }
  DepRel* deprel() const { return deprel_; }
  void deprel(DepRel* r) { deprel_ = r; }

  // ---- Cost ----
  float weight() const { return weight_; }
  void weight(float w) { weight_ = w; }
  void add_weight(float x) { weight_ += x; }

  // ---- Category and head ----
  // The modifiee of the relation, else the head's location, else the
  // stored category.
  GCate* location() const;
  // Stores the category; ignored when the item has a relation or a head.
  void location(GCate* c);
  // The position of the head word: along head() links, the head position
  // of the first "lexitem" found; else the low() of the last item visited.
  int head_index() const;
  // low() for a "cat" p item; else the head of its "lexitem", or low().
  int head_position() const;
  // The word text of the head (root form when `root`); defined with the
  // weights, which are its users.
  const char* head_word(bool root);

  // ---- Movements ----
  // Discharges movement i: "trace" takes the movement's trace, the
  // movement leaves the (private) list, and an emptied list undefines
  // "move".  An index out of range does nothing.
  void remove_movement(int i);

 private:
  std::int16_t low_ = 0;
  std::int16_t high_ = 0;
  float weight_ = 0.0f;
  PItem* eq_ = nullptr;
  PItem* head_ = nullptr;
  PItem* modifier_ = nullptr;
  GCate* category_ = nullptr;
  DepRel* deprel_ = nullptr;
  AttVec vec_;
};

// The first movement of `list` whose "slash" equals `kind`, with `index`
// set to its position; null (index untouched) when there is none.
AttVec* search_same_type_movement(const AVList* list, AttVal kind, int& index);

// Orders seeds by low() ascending, then weight() ascending (a strict
// less-than for std::stable_sort).
bool cmp_pitem_bounds_and_weight(const PItem* a, const PItem* b);

}  // namespace lorvan

#endif  // LORVAN_PARSER_PITEM_H_
