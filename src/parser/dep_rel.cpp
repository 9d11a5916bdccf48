#include "parser/dep_rel.h"

#include <iostream>

#include "command/arg_types.h"
#include "features/avlist.h"
#include "lexical/lex_analyzer.h"
#include "parser/builtin_atts.h"
#include "parser/chart_printer.h"
#include "parser/gcate.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"

namespace lorvan {

DepRel* DepRel::the_deprel = nullptr;

namespace {

// The most modifiers one head may take through the same relation.
constexpr int kMaxSameKind = 6;
constexpr int kInitialWaitingLists = 200;

int pitem_type() {
  static const int id = arg_type_id("PItem*");
  return id;
}

bool holds(const SubExp& cond, PItem* item) {
  return !cond || cond.eval(item, pitem_type()) != nullptr;
}

bool has_wh(const AVList* list) {
  int index = 0;
  return search_same_type_movement(list, builtin_atts().slash_wh, index) != nullptr;
}

}  // namespace

DepRel::DepRel(GCate* modifiee, GCate* modifier)
    : modifiee_(modifiee), modifier_(modifier), modifying_items_(kInitialWaitingLists) {}

void DepRel::type(const char* name) {
  has_type_ = name != nullptr;
  type_ = name != nullptr ? name : "";
  label_ = std::string(modifiee_->name()) + "::" + type_;
}

ItemList& DepRel::modifying_items(int h) {
  if (h >= static_cast<int>(modifying_items_.size())) modifying_items_.resize(h + 10);
  return modifying_items_[h];
}

const ItemList* DepRel::find_modifying_items(int h) const {
  if (h < 0 || h >= static_cast<int>(modifying_items_.size())) return nullptr;
  return &modifying_items_[h];
}

void DepRel::reset(int n) {
  const int last = std::min<int>(n, static_cast<int>(modifying_items_.size()));
  for (int h = 0; h < last; ++h) modifying_items_[h].clear();
}

bool DepRel::satisfy_modifiee_cond(PItem* item) {
  const bool ok = holds(modifiee_cond_, item);
  if (monitor_) {
    print_pitem(std::cerr, item);
    std::cerr << (ok ? " passed " : " failed ") << label_ << "->satisfy_modifiee_cond\n";
  }
  return ok;
}

bool DepRel::eval_merged_cond(PItem* item) { return holds(merged_cond_, item); }

int DepRel::countModifierOfSameKind(const PItem* h) const {
  int count = 0;
  for (const PItem* p = h; p != nullptr && p->modifier() != nullptr; p = p->head()) {
    if (p->deprel() == this) ++count;
  }
  return count;
}

void DepRel::filter(PItem* item) {
  if (!holds(modifier_cond_, item)) return;
  if (subclass_ != 0) {
    modifiee_->select_full(item, this);
    return;
  }
  if (position_ == modifiee_->head()) {
    PItem* n = modifiee_->make_pitem(item, &percolating_);
    if (n == nullptr) return;
    n->deprel(this);
    if (!holds(head_cond_, n)) return;
    modifiee_->select(n, this);
    return;
  }
  if (position_ == modifiee_->num_positions()) {
    modifiee_->select_full(item, this);
    return;
  }
  if (position_ > modifiee_->head() && item->low() > 0) {
    VanticParser* parser = modifiee_->parser();
    int b = item->low() - 1;
    const char* w = parser->word(b);
    if (w != nullptr && modifiee_->skip_word(position_, w) && !modifiee_->exist_headed_item(b)) {
      b = item->low() - 2;
    }
    const LexAnalyzer* analyzer = parser->lex_analyzer();
    const bool skippable = b >= 0 && analyzer != nullptr && analyzer->is_skipable(b);
    if (no_guest_ == 0 || skippable || modifiee_->exist_headed_item(b)) {
      modifiee_->select(item, this);
    }
    return;
  }
  modifying_items(item->high()).push_back(item);
}

// Every argument position skipped between the head's bucket a and this
// relation's position must be optional, and the modifier must fit the
// argument it fills.  A head without "args", or an argument index beyond
// the list, cannot show that, so the merge fails.
bool DepRel::check_args(PItem* m, PItem* h, int a, const AVList*& args) const {
  const BuiltinAtts& atts = builtin_atts();
  args = reinterpret_cast<const AVList*>(value_of(h->attvec(), atts.args));
  if (args == nullptr || check_arg_ >= args->length()) return false;
  for (int k = position_ - 1; k > a; --k) {
    if (k - 1 < 0 || k - 1 >= args->length()) return false;
    if (!positive_in(*(*args)[k - 1], atts.opt)) return false;
  }
  if (!m->unifiable(*(*args)[check_arg_])) {
    if (monitor_) std::cerr << "incompatible argument " << check_arg_ << "\n";
    return false;
  }
  return true;
}

// The head's pending movement that this relation discharges: the one whose
// kind shares a bit with `mask`; two such movements are ambiguous.
bool DepRel::bind_movement(PItem* m, const AVList* hm, unsigned mask, int& bound) const {
  const int slash = builtin_atts().slash;
  bound = -1;
  for (int k = 0; k < hm->length(); ++k) {
    const AttVec* v = (*hm)[k];
    if ((value_of(*v, slash) & mask) == 0) continue;
    if (bound >= 0) return false;
    bound = k;
  }
  return bound < 0 || m->unifiable(*(*hm)[bound]);
}

// Combines the modifier's pending movements with the merged item's: a
// wh-movement of the same kind unifies, two movements of one other kind
// become one wh-movement (unless a wh-movement is pending already), and a
// movement of a new kind is added.
bool DepRel::combine_movements(PItem* n, PItem* m, const AVList* mm) const {
  const BuiltinAtts& atts = builtin_atts();
  LBitSet s = percolating_;
  s.clear(atts.move);
  if (!s.empty() && !n->unify(m->attvec(), &s)) return false;
  AVList* nm = n->own_move_list();
  if (nm == nullptr) {
    n->set_move_list(new AVList());
    nm = n->move_list();
  }
  for (int k = 0; k < mm->length(); ++k) {
    AttVec* v = (*mm)[k];
    const AttVal kind = value_of(*v, atts.slash);
    int index = 0;
    if (search_same_type_movement(nm, kind, index) == nullptr) {
      nm->push(v);
    } else if (kind == atts.slash_wh) {
      nm->own(index)->unify(*v);
    } else if (has_wh(nm) || has_wh(mm)) {
      return false;
    } else {
      auto* copy = new AttVec(*v);
      copy->set_val(atts.slash, atts.slash_wh);
      nm->push(copy);
    }
  }
  return true;
}

bool DepRel::check_case_marks(PItem* n, PItem* m, PItem* h, const AVList* hm) const {
  const BuiltinAtts& atts = builtin_atts();
  if (!n->negative(atts.cm)) return true;
  if (h->val_is(atts.cat, atts.cat_p) || m->val_is(atts.cat, atts.cat_p)) n->undefine(atts.cm);
  if (m->negative(atts.cm) && !h->negative(atts.govern)) {
    if (hm != nullptr) {
      n->undefine(atts.cm);
    } else if (!h->negative(atts.cm)) {
      return false;
    }
  }
  return true;
}

PItem* DepRel::merge(PItem* m, PItem* h, PItem* guest, int a) {
  const BuiltinAtts& atts = builtin_atts();
  if (countModifierOfSameKind(h) >= kMaxSameKind) return nullptr;
  if (monitor_) {
    std::cerr << label_ << "->merge:\n";
    print_pitem(std::cerr, m);
    std::cerr << "\n";
    print_pitem(std::cerr, h);
    std::cerr << "\n";
  }
  const AVList* args = nullptr;
  if (check_arg_ >= 0 && !check_args(m, h, a, args)) return nullptr;
  unsigned mask = check_slash_;
  if (m->defined(atts.check)) mask |= static_cast<unsigned>(m->get_val(atts.check));
  const AVList* hm = h->move_list();
  const AVList* mm = m->move_list();
  int bound = -1;
  if (hm != nullptr && mask != 0 && check_arg_ < 0 && !bind_movement(m, hm, mask, bound)) {
    return nullptr;
  }
  PItem* n = modifiee_->merge(m, h, guest);
  if (n == nullptr) return nullptr;
  n->deprel(this);
  n->add_weight(weight_);
  if (bound >= 0) n->remove_movement(bound);
  if (hm != nullptr && mm != nullptr && !h->positive(atts.control)) {
    if (!combine_movements(n, m, mm)) return nullptr;
  } else if (!n->unify(m->attvec(), &percolating_)) {
    return nullptr;
  }
  if (args != nullptr) {
    const AttVec* arg = (*args)[check_arg_];
    if (value_of(*arg, atts.move) != 0) {
      if (!n->defined(atts.move)) return nullptr;
      modifiee_->parser()->insertEmptyCate(n, m);
    }
  }
  if (mm != nullptr && mask != 0) n->remove_movement(0);
  const bool ok = eval_merged_cond(n) && check_case_marks(n, m, h, hm);
  if (monitor_) {
    if (ok) {
      std::cerr << "succeeded\nresult: ";
      print_pitem(std::cerr, n);
      std::cerr << "\n";
    } else {
      std::cerr << "failed\n";
    }
  }
  return ok ? n : nullptr;
}

bool cmp_DepRel_weight(const DepRel* a, const DepRel* b) { return a->weight() < b->weight(); }

}  // namespace lorvan
