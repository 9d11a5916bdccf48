#include "parser/gcate.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <iostream>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "features/avlist.h"
#include "lexical/lex_analyzer.h"
#include "lexicon/avmeaning.h"
#include "parser/builtin_atts.h"
#include "parser/chart_printer.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"
#include "strfuncs.h"

namespace lorvan {

GCate* GCate::the_category = nullptr;

namespace {

constexpr int kMaxPositions = 32;
constexpr int kInitialSentence = 200;
constexpr float kGuestWeight = 30.0f;

int type_id(const char* name) { return arg_type_id(name); }

bool holds(const LExp* cond, PItem* item) {
  static const int pitem = type_id("PItem*");
  return cond == nullptr || const_cast<LExp*>(cond)->eval(item, pitem) != nullptr;
}

bool begins_with_comma(const char* w) { return w != nullptr && w[0] == ','; }

bool is_comma(const char* w) { return w != nullptr && std::strcmp(w, ",") == 0; }

const AVList* args_of(const PItem* item) {
  return reinterpret_cast<const AVList*>(value_of(item->attvec(), builtin_atts().args));
}

bool optional_arg(const AVList* args, int i) {
  if (args == nullptr || i < 0 || i >= args->length()) return false;
  return positive_in(*(*args)[i], builtin_atts().opt);
}

const std::vector<DepRel*>& no_relations() {
  static const std::vector<DepRel*> none;
  return none;
}

}  // namespace

GCate::GCate(VanticParser* parser, const char* name)
    : parser_(parser), name_(name != nullptr ? name : ""), modifiers_(2),
      exist_(kInitialSentence) {
  guest_rel_ = new_relation(this);
  guest_rel_->type("guest");
  guest_rel_->weight(kGuestWeight);
}

GCate::~GCate() = default;

// ---- Relations ----

DepRel* GCate::new_relation(GCate* modifier) {
  relations_.push_back(std::make_unique<DepRel>(this, modifier));
  return relations_.back().get();
}

void GCate::add_modifiee(DepRel* rel) {
  auto it = std::upper_bound(modifiees_.begin(), modifiees_.end(), rel, cmp_DepRel_weight);
  modifiees_.insert(it, rel);
}

void GCate::remove_modifiee(DepRel* rel) {
  auto it = std::find(modifiees_.begin(), modifiees_.end(), rel);
  if (it != modifiees_.end()) modifiees_.erase(it);
}

void GCate::resort_modifiee(DepRel* rel) {
  auto it = std::find(modifiees_.begin(), modifiees_.end(), rel);
  if (it == modifiees_.end()) return;
  modifiees_.erase(it);
  add_modifiee(rel);
}

const std::vector<DepRel*>& GCate::modifiers(int p) const {
  if (p < 0 || p >= static_cast<int>(modifiers_.size())) return no_relations();
  return modifiers_[p];
}

void GCate::add_modifier(DepRel* rel, int p) {
  if (p < 0 || p >= static_cast<int>(modifiers_.size())) return;
  rel->position(p);
  modifiers_[p].push_back(rel);
  if (p == head_ && rel->modifier() != nullptr) {
    rel->percolating_atts(rel->modifier()->visible_atts());
  }
}

// ---- Positions ----

void GCate::reset_positions(int n) {
  if (n > kMaxPositions) {
    std::cerr << "GCate: " << name_ << " has more than " << kMaxPositions
              << " positions; the rest are ignored\n";
    n = kMaxPositions;
  }
  // Relations of the old positions stop being offered items.
  for (const std::vector<DepRel*>& rels : modifiers_) {
    for (DepRel* rel : rels) {
      if (rel->modifier() != nullptr) rel->modifier()->remove_modifiee(rel);
    }
  }
  num_positions_ = n;
  modifiers_.assign(n + 1, {});
  repeatable_.clear();
  necessary_.clear();
  minimal_.clear();
  skip_adjunct_.clear();
  skip_word_conds_.clear();
}

void GCate::set_repeatable(int p, bool on) {
  if (!in_range(p)) return;
  if (on) {
    repeatable_.set(p);
  } else {
    repeatable_.clear(p);
  }
}

void GCate::set_necessary(int p, bool on) {
  if (!in_range(p)) return;
  if (on) {
    necessary_.set(p);
  } else {
    necessary_.clear(p);
  }
}

bool GCate::include_necessary_modifier(int from, int to) const {
  for (int i = std::max(from, 0); i < to; ++i) {
    if (is_necessary(i)) return true;
  }
  return false;
}

void GCate::def_modifiers(IRSlist* positions) {
  int n = 0;
  for (IRSlist* e = positions->first(); e != nullptr; e = e->next()) ++n;
  reset_positions(n);
  head_ = -1;
  for (int p = 0; p < num_positions_; ++p) set_necessary(p, true);
  int p = 0;
  for (IRSlist* e = positions->first(); e != nullptr && p < num_positions_; e = e->next(), ++p) {
    def_position(p, e);
  }
}

void GCate::read_position_flag(int p, const char* flag) {
  if (flag[0] == '*') {
    set_repeatable(p, true);
    set_necessary(p, false);
  } else if (flag[0] == '+') {
    set_repeatable(p, true);
  } else if (flag[0] == '?') {
    set_necessary(p, false);
  } else if (strcasecmp(flag, ":head") == 0) {
    head_ = p;
  } else if (strcasecmp(flag, ":minimal") == 0) {
    set_minimal(p);
  } else if (strcasecmp(flag, ":skip-adjunct") == 0) {
    set_skip_adjunct(p);
  }
}

void GCate::def_position(int p, IRSlist* element) {
  if (!element->is_list()) {
    add_skip_word_cond(nullptr);
    if (element->val() != nullptr) read_position_flag(p, element->val());
    return;
  }
  std::unique_ptr<IRSlist> skip = element->remove_arg(":skip-word", true);
  add_skip_word_cond(skip != nullptr && skip->is_list() ? LExp::get_exp(skip.get()) : nullptr);
  IRSlist* e = element->first();
  for (; e != nullptr && !e->is_list(); e = e->next()) {
    if (e->val() != nullptr) read_position_flag(p, e->val());
  }
  for (; e != nullptr; e = e->next()) {
    if (e->is_list()) def_relation(p, e);
  }
}

void GCate::def_relation(int p, IRSlist* category_list) {
  const char* name = category_list->get_val();
  GCate* modifier = name != nullptr ? parser_->get_category(name, 0) : nullptr;
  if (modifier == nullptr) {
    std::cerr << "Node: " << (name != nullptr ? name : "") << " is not defined\n";
    return;
  }
  DepRel* rel = new_relation(modifier);
  rel->percolating_atts(modifier->visible_atts() & parser_->default_percolating_atts());
  add_modifier(rel, p);
  if (is_skip_adjunct(p)) rel->no_guest(0);
  modifier->add_modifiee(rel);
  DepRel::the_deprel = rel;
  CmdInterpreter::the_interpreter->interpret(category_list);
  DepRel::the_deprel = nullptr;
}

void GCate::make_args(const AttVec& vec) {
  const BuiltinAtts& atts = builtin_atts();
  const auto* args = reinterpret_cast<const AVList*>(value_of(vec, atts.args));
  const int k = args != nullptr ? std::min(args->length(), kMaxPositions - 1) : 0;
  const bool head_final = positive_in(vec, atts.head_final);
  reset_positions(k + 1);
  head_ = head_final ? k : 0;
  for (int i = 0; i < k; ++i) {
    const AttVec* arg = (*args)[i];
    const int position = head_final ? i : i + 1;
    GCate* argcat = parser_->get_category(category(value_of(*arg, atts.cat)), 0);
    DepRel* rel = new_relation(argcat);
    rel->no_guest(0);
    rel->type(("comp" + std::to_string(position)).c_str());
    rel->check_arg(i);
    set_skip_adjunct(position);
    add_modifier(rel, position);
    rel->percolating_atts(parser_->default_percolating_atts());
    if (argcat != nullptr) argcat->add_modifiee(rel);
  }
}

// ---- Conditions and sets ----

void GCate::add_skip_word_cond(std::unique_ptr<LExp> e) { skip_word_conds_.emplace_back(std::move(e)); }

bool GCate::skip_word(int p, const char* word) const {
  if (p < 0 || p >= static_cast<int>(skip_word_conds_.size()) || !skip_word_conds_[p]) return false;
  static const int chars = type_id("char*");
  return skip_word_conds_[p].eval(const_cast<char*>(word), chars) != nullptr;
}

void GCate::conj_atts(const LBitSet& identical, const LBitSet& consistent) {
  identical_ = identical;
  consistent_ = consistent;
  conj_rel_ = new_relation(this);
  conj_rel_->type("conj");
}

// ---- Chart ----

ItemList& GCate::headed_items(int p, int h) {
  if (h >= static_cast<int>(buckets_.size())) buckets_.resize(h + 1);
  std::vector<ItemList>& bucket = buckets_[h];
  if (p >= static_cast<int>(bucket.size())) bucket.resize(std::max(p, num_positions_) + 1);
  return bucket[p];
}

const ItemList* GCate::find_headed_items(int p, int h) const {
  if (p < 0 || h < 0 || h >= static_cast<int>(buckets_.size())) return nullptr;
  const std::vector<ItemList>& bucket = buckets_[h];
  return p < static_cast<int>(bucket.size()) ? &bucket[p] : nullptr;
}

void GCate::reset(int n) {
  for (DepRel* rel : modifiees_) rel->reset(n);
  exist_.clear();
  const int last = std::min<int>(n, static_cast<int>(buckets_.size()));
  for (int h = 0; h < last; ++h) {
    for (ItemList& items : buckets_[h]) items.clear();
  }
  if (static_cast<int>(buckets_.size()) < n) buckets_.resize(n);
  queue_.clear();
  queue_head_ = 0;
}

// ---- Making items ----

PItem* GCate::make_pitem(PItem* item, const LBitSet* atts) {
  PItem* n = parser_->new_pitem();
  if (n == nullptr) return nullptr;
  n->low(item->low());
  n->high(item->high());
  n->weight(item->weight());
  n->head(item);
  n->unify(item->attvec(), atts);
  return n;
}

PItem* GCate::make_pitem(LexItem* lexitem) {
  const AVMeaning* meaning = AVMeaning::castToAVMeaning(lexitem->meaning());
  if (meaning == nullptr) return nullptr;
  PItem* n = parser_->new_pitem();
  if (n == nullptr) return nullptr;
  n->low(lexitem->low());
  n->high(lexitem->high());
  n->unify(meaning->vec(), &parser_->non_lexical_atts());
  const int att = builtin_atts().lexitem;
  if (att >= 0 && !n->defined(att) && lexitem->high() >= lexitem->low()) {
    n->set_val(att, reinterpret_cast<AttVal>(lexitem));
  }
  return n;
}

// ---- Selecting ----

void GCate::print_select(PItem* item, DepRel* rel) const {
  if (!monitor_) return;
  std::cerr << name_ << " select: ";
  print_pitem(std::cerr, item);
  if (rel != nullptr) {
    std::cerr << " from " << (rel->modifier() != nullptr ? rel->modifier()->name() : "") << " ("
              << rel->type_text() << ")";
  }
  std::cerr << "\n";
}

void GCate::drain_complete_items() {
  while (queue_head_ < queue_.size()) {
    PItem* item = queue_[queue_head_++];
    for (std::size_t r = 0; r < modifiees_.size(); ++r) modifiees_[r]->filter(item);
  }
  queue_.clear();
  queue_head_ = 0;
}

void GCate::select(PItem* item, DepRel* rel) {
  print_select(item, rel);
  if (rel == nullptr || rel->position() == head_) {
    merge_premodifiers(item, head_);
  } else if (rel->position() > head_) {
    merge_postmodifiers(item, rel);
  }
  drain_complete_items();
}

void GCate::select_full(PItem* item, DepRel* rel) {
  print_select(item, rel);
  if (rel->weight() > 1) {
    PItem* copy = make_pitem(item, &rel->percolating_atts());
    if (copy == nullptr) return;
    copy->deprel(rel);
    copy->add_weight(rel->weight());
    item = copy;
  }
  if (item->high() >= 0) {
    ItemList& items = headed_items(num_positions_, item->high());
    auto later_low_first = [](const PItem* a, const PItem* b) { return a->low() > b->low(); };
    items.insert(std::upper_bound(items.begin(), items.end(), item, later_low_first), item);
  }
  queue_.push_back(item);
  drain_complete_items();
}

// ---- Attaching modifiers ----

bool GCate::merge_premodifiers(PItem* item, int a) {
  int p = is_repeatable(a) ? a : a - 1;
  bool done = false;
  bool minimal = false;
  for (; p >= 0; --p) {
    PItem* guest = nullptr;  // an adjunct between the modifier and the head
    for (int j = item->low() - 1; j >= 0; j = adjacent(p, j, item, guest)) {
      const std::vector<DepRel*>& rels = modifiers(p);
      for (std::size_t r = 0; r < rels.size(); ++r) {
        DepRel* rel = rels[r];
        const ItemList* waiting = rel->find_modifying_items(j);
        if (rel->max_dist() < item->high() - j || waiting == nullptr || waiting->empty() ||
            !rel->satisfy_modifiee_cond(item)) {
          continue;
        }
        for (std::size_t k = 0; k < rel->modifying_items(j).size(); ++k) {
          PItem* m = rel->modifying_items(j)[k];
          PItem* n = rel->merge(m, item, guest, p);
          if (n == nullptr) continue;
          if (is_minimal(p) && holds(minimal_cond_.get(), m)) minimal = true;
          done = true;
          merge_premodifiers(n, p);
        }
      }
    }
    if (is_necessary(p)) break;
  }
  if (!minimal && !include_necessary_modifier(0, a)) insert_headed_item(item, head_);
  return done;
}

void GCate::merge_postmodifiers(PItem* item, DepRel* rel) {
  const int position = rel->position();
  bool attached = false;
  for (int p = is_repeatable(position) ? position : position - 1; p >= std::max(head_, 0); --p) {
    PItem* guest = nullptr;
    for (int j = item->low() - 1; j >= 0; j = adjacent(position, j, item, guest)) {
      for (std::size_t k = 0;; ++k) {
        const ItemList* heads = find_headed_items(p, j);
        if (heads == nullptr || k >= heads->size()) break;
        PItem* e = (*heads)[k];
        if (item->low() - e->low() > rel->max_dist() || !rel->satisfy_modifiee_cond(e)) continue;
        PItem* n = rel->merge(item, e, guest, p);
        if (n == nullptr) continue;
        attached = true;
        insert_headed_item(n, position);
      }
    }
    if (is_necessary(p)) break;
  }
  if (!attached && head_ == -1 && !include_necessary_modifier(0, position - 1)) {
    insert_headed_item(item, position);
  }
}

bool GCate::skippable(int j) const {
  const LexAnalyzer* analyzer = parser_->lex_analyzer();
  return j >= 0 && analyzer != nullptr && analyzer->is_skipable(j);
}

int GCate::adjacent(int p, int j, PItem* item, PItem*& guest) {
  guest = nullptr;
  if (j < 1) return -1;
  if (skip_word(p, parser_->word(j)) || skippable(j)) return j - 1;
  if (!is_skip_adjunct(p)) return -1;
  int k = item->low() - 1;
  bool comma = false;
  for (; k > 1; --k) {
    const bool at_comma = is_comma(parser_->word(k));
    if (!skippable(k) && !at_comma) break;
    if (at_comma) comma = true;
  }
  GCate* adjunct = parser_->adjunct();
  if (adjunct == nullptr) return -1;
  const ItemList* adjuncts = adjunct->find_headed_items(adjunct->num_positions(), k);
  if (adjuncts == nullptr) return -1;
  const int span = item->high() - item->low();
  for (PItem* g : *adjuncts) {
    if (g->low() > j || g->negative(builtin_atts().guest)) continue;
    if (g->high() - g->low() >= span || g->high() - g->low() > 4) return -1;
    if (comma && is_comma(parser_->word(g->low() - 1))) {
      guest = g;
      return g->low() - 2;
    }
    if (!comma) {
      guest = g;
      return g->low() - 1;
    }
  }
  return -1;
}

PItem* GCate::merge(PItem* m, PItem* h, PItem* guest) {
  const bool m_left = m->low() <= h->low() && m->high() <= h->high();
  PItem* left = m_left ? m : h;
  PItem* right = m_left ? h : m;
  if (parser_->intersect(left->low(), right->high())) return nullptr;
  if (guest != nullptr) {
    PItem* hosted = merge(guest, h, nullptr);
    if (hosted == nullptr) return nullptr;
    hosted->deprel(guest_rel_);
    h = hosted;
  }
  PItem* n = make_pitem(h, nullptr);
  if (n == nullptr) return nullptr;
  n->low(left->low());
  n->high(right->high());
  n->modifier(m);
  const int d = right->head_index() - left->head_index();
  if (d > MAX_DIST_BETWEEN_HEADS) return nullptr;
  if (d > 0) n->add_weight(static_cast<float>(d) / 2.0f);
  n->add_weight(m->weight() + static_cast<float>(right->low() - left->high() - 1));
  return n;
}

// ---- Inserting ----

bool GCate::is_complete(PItem* item, int p, int& lo, int& hi) {
  const AVList* args = subcat_ != 0 ? args_of(item) : nullptr;
  if (args != nullptr) {
    lo = hi = p;
    for (int k = p + 1; k < num_positions_; ++k) {
      if (!optional_arg(args, k - 1)) return false;
    }
    return true;
  }
  for (lo = p; lo > 0 && !is_necessary(lo); --lo) {
  }
  for (hi = p; hi < num_positions_ - 1 && !is_necessary(hi + 1); ++hi) {
  }
  return !include_necessary_modifier(p + 1, num_positions_) && holds(full_cond_.get(), item);
}

bool GCate::pack(PItem* item, int lo, int hi) {
  for (int k = hi; k >= lo; --k) {
    const ItemList* items = find_headed_items(k, item->high());
    if (items == nullptr) continue;
    for (PItem* e : *items) {
      if (e->low() == item->low() && e->high() == item->high() &&
          e->cmp(item->attvec(), &visible_) == 0) {
        e->eq_pitem(item);
        return true;
      }
    }
  }
  return false;
}

int GCate::insert_headed_item(PItem* item, int p) {
  // A category without a head position keeps its head items at position 0.
  p = std::max(p, 0);
  int lo = p;
  int hi = p;
  const bool complete = is_complete(item, p, lo, hi);
  if (item->high() < 0 || pack(item, lo, hi)) return 0;
  if (complete) {
    queue_.push_back(item);
    if (!consistent_.empty()) handle_conjunction(item, p);
  } else if (subcat_ == 0 && !include_necessary_modifier(p + 1, num_positions_)) {
    if (monitor_) {
      std::cerr << "full_pitem_cond at " << name_ << " failed:";
      print_pitem(std::cerr, item);
      std::cerr << "\n";
    }
    return 0;
  }
  headed_items(p, item->high()).push_back(item);
  exist_.set(item->high());
  return 1;
}

// ---- Coordination ----

bool GCate::compatible_conjunction(PItem* left, PItem* right) const {
  if ((left->attvec().defined_set() & identical_) != (right->attvec().defined_set() & identical_)) {
    return false;
  }
  if (!left->unifiable(right->attvec(), &consistent_)) return false;
  const AVList* lm = left->move_list();
  const AVList* rm = right->move_list();
  return lm == nullptr || rm == nullptr || lm->length() == rm->length();
}

// Coordinates `item` with every compatible left conjunct of position q
// ending at k; false when the pool ran out.
bool GCate::conjoin_at(PItem* item, int p, int q, int k) {
  const LexAnalyzer* analyzer = parser_->lex_analyzer();
  const BuiltinAtts& atts = builtin_atts();
  for (std::size_t i = 0;; ++i) {
    const ItemList* lefts = find_headed_items(q, k);
    if (lefts == nullptr || i >= lefts->size()) return true;
    PItem* e = (*lefts)[i];
    if (e->positive(atts.last_conj) || !compatible_conjunction(e, item)) continue;
    PItem* n = make_pitem(e, nullptr);
    if (n == nullptr) return false;
    n->high(item->high());
    n->modifier(item);
    n->add_weight(item->weight());
    n->unify(item->attvec(), &consistent_);
    if (!conj_rel_->eval_merged_cond(n)) continue;
    n->deprel(conj_rel_);
    if (atts.last_conj >= 0) n->set_val(atts.last_conj, 1);
    if (n->low() > 0 && analyzer->first_conjunction(n->low() - 1)) n->low(n->low() - 1);
    const int d = item->head_index() - e->head_index();
    if (d > MAX_DIST_BETWEEN_HEADS) continue;
    if (d > 0) n->add_weight(static_cast<float>(d / 2));
    insert_headed_item(n, p);
  }
}

void GCate::handle_conjunction(PItem* item, int p) {
  const LexAnalyzer* analyzer = parser_->lex_analyzer();
  if (analyzer == nullptr || conj_rel_ == nullptr) return;
  int j = item->low() - 1;
  if (analyzer->first_conjunction(item->low())) return;
  bool found = false;
  while (j >= 1) {
    if (analyzer->last_conjunction(j)) {
      found = true;
      while (j >= 1 && analyzer->last_conjunction(j)) --j;
      break;
    }
    if (!skippable(j)) break;
    --j;
  }
  if (j > 1 && (item->positive(builtin_atts().last_conj) || found) &&
      begins_with_comma(parser_->word(j))) {
    const ItemList* at_j = find_headed_items(p, j);
    if (at_j == nullptr || at_j->empty()) {
      --j;
      found = true;
    }
  }
  if (!found || j < 1) return;
  for (int q = num_positions_ - 1; q >= 0 && !is_necessary(q + 1); --q) {
    for (int k = j; k > 0; --k) {
      if (!conjoin_at(item, p, q, k)) return;
      const ItemList* at_k = find_headed_items(q, k);
      if ((!skippable(k) || (at_k != nullptr && !at_k->empty())) &&
          !begins_with_comma(parser_->word(k))) {
        break;
      }
    }
  }
}

}  // namespace lorvan
