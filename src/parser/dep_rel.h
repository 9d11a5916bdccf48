// DepRel: a dependency relation of the grammar -- it lets a complete item of
// the modifier category attach at one position of the modifiee (head)
// category, under a weight, a maximum distance, attribute percolation,
// argument and movement checks and optional expression conditions (each
// evaluated on a PItem, input type "PItem*"; a non-null result is true).
//
// A relation also holds its part of the chart: for every sentence
// position, the complete modifier items ending there that wait for a head
// to their right (pre-modifiers).  Those lists are emptied, not freed, by
// reset(), so a steady stream of sentences allocates nothing here.
//
// Ownership: a relation is owned by its modifiee category (GCate); it
// owns its conditions and its type string and points to both categories
// and to the items on its waiting lists without owning them.
#ifndef LORVAN_PARSER_DEP_REL_H_
#define LORVAN_PARSER_DEP_REL_H_

#include <string>
#include <vector>

#include "expr/lexp.h"
#include "lbitset.h"

namespace lorvan {

class AVList;
class GCate;
class PItem;

using ItemList = std::vector<PItem*>;

class DepRel {
 public:
  // The relation whose definition is being read (set by the definition
  // commands while a relation's inner commands run), or null.
  static DepRel* the_deprel;

  DepRel(GCate* modifiee, GCate* modifier);
  DepRel(const DepRel&) = delete;
  DepRel& operator=(const DepRel&) = delete;

  GCate* modifiee() const { return modifiee_; }
  GCate* modifier() const { return modifier_; }

  // ---- Conditions ----
  LExp* modifier_cond() const { return modifier_cond_.get(); }
  LExp* modifiee_cond() const { return modifiee_cond_.get(); }
  LExp* merged_cond() const { return merged_cond_.get(); }
  LExp* head_cond() const { return head_cond_.get(); }
  void modifier_cond(std::unique_ptr<LExp> e) { modifier_cond_ = std::move(e); }
  void modifiee_cond(std::unique_ptr<LExp> e) { modifiee_cond_ = std::move(e); }
  void merged_cond(std::unique_ptr<LExp> e) { merged_cond_ = std::move(e); }
  void head_cond(std::unique_ptr<LExp> e) { head_cond_ = std::move(e); }

  // ---- Properties ----
  unsigned check_slash() const { return check_slash_; }
  // ORs `mask` into the movement kinds checked.
  void check_slash(unsigned mask) { check_slash_ |= mask; }
  float weight() const { return weight_; }
  void weight(float w) { weight_ = w; }
  int position() const { return position_; }
  void position(int p) { position_ = static_cast<short>(p); }
  int subclass() const { return subclass_; }
  void subclass(int flag) { subclass_ = static_cast<short>(flag); }
  // The type name, or null.
  const char* type() const { return has_type_ ? type_.c_str() : nullptr; }
  void type(const char* name);
  // The type, or "" without one (for messages).
  const char* type_text() const { return type_.c_str(); }
  const LBitSet& percolating_atts() const { return percolating_; }
  void percolating_atts(const LBitSet& atts) { percolating_ = atts; }
  LBitSet& mutable_percolating_atts() { return percolating_; }
  void percolate(int i) { percolating_.set(i); }
  int no_guest() const { return no_guest_; }
  void no_guest(int flag) { no_guest_ = flag; }
  int check_arg() const { return check_arg_; }
  void check_arg(int index) { check_arg_ = index; }
  int max_dist() const { return max_dist_; }
  void max_dist(int d) { max_dist_ = d; }
  bool monitor() const { return monitor_; }
  void toggle_monitor() { monitor_ = !monitor_; }

  // ---- Chart ----
  // The pre-modifiers ending at h that wait for a head (grown on demand to
  // h + 10 lists; h must not be negative).
  ItemList& modifying_items(int h);
  // The waiting list at h, or null when none was ever made.
  const ItemList* find_modifying_items(int h) const;
  // Empties the waiting lists of positions 0..n-1 that exist.
  void reset(int n);

  // ---- Parsing ----
  // Offers a complete item of the modifier category to this relation.
  void filter(PItem* item);
  // Merges modifier m into head item h (whose bucket position is a),
  // through the intervening adjunct `guest` when given; null on failure.
  PItem* merge(PItem* m, PItem* h, PItem* guest, int a);
  // The modifiee condition on `item` (true without one); monitored.
  bool satisfy_modifiee_cond(PItem* item);
  // The merged condition on `item` (true without one).
  bool eval_merged_cond(PItem* item);
  // Modifiers already attached through this relation along h's heads.
  int countModifierOfSameKind(const PItem* h) const;

 private:
  // Steps of merge().
  bool check_args(PItem* m, PItem* h, int a, const AVList*& args) const;
  bool bind_movement(PItem* m, const AVList* hm, unsigned mask, int& bound) const;
  bool combine_movements(PItem* n, PItem* m, const AVList* mm) const;
  bool check_case_marks(PItem* n, PItem* m, PItem* h, const AVList* hm) const;

  GCate* modifiee_;
  GCate* modifier_;
  SubExp modifier_cond_;
  SubExp modifiee_cond_;
  SubExp merged_cond_;
  SubExp head_cond_;
  unsigned check_slash_ = 0;
  float weight_ = 1.0f;
  short position_ = -1;
  short subclass_ = 0;
  bool has_type_ = false;
  std::string type_;
  std::string label_;  // modifiee name "::" type; for traces
  std::vector<ItemList> modifying_items_;
  LBitSet percolating_;
  int no_guest_ = 1;
  int check_arg_ = -1;
  int max_dist_ = 64;
  bool monitor_ = false;
};

// Orders relations by ascending weight (strict less-than).
bool cmp_DepRel_weight(const DepRel* a, const DepRel* b);

}  // namespace lorvan

#endif  // LORVAN_PARSER_DEP_REL_H_
