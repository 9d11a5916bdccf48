#include "parser/pitem.h"

#include <cstdint>

#include "features/avlist.h"
#include "features/shared_value.h"
#include "lexical/lex_item.h"
#include "parser/builtin_atts.h"
#include "parser/dep_rel.h"

namespace lorvan {

namespace {

long signed_val(const PItem& item, int i) {
  return static_cast<long>(static_cast<std::intptr_t>(item.get_val(i)));
}

}  // namespace

PItem::PItem(const AttInterpreterList* type) : vec_(type) {}

void PItem::init() {
  low_ = 0;
  high_ = 0;
  weight_ = 0.0f;
  eq_ = nullptr;
  head_ = nullptr;
  modifier_ = nullptr;
  category_ = nullptr;
  deprel_ = nullptr;
  vec_.init();
}

bool PItem::positive(int i) const { return defined(i) && signed_val(*this, i) > 0; }

bool PItem::negative(int i) const { return defined(i) && signed_val(*this, i) < 0; }

LexItem* PItem::lexitem() const {
  const int att = builtin_atts().lexitem;
  return defined(att) ? reinterpret_cast<LexItem*>(vec_.get_val(att)) : nullptr;
}

AVList* PItem::move_list() const {
  const int att = builtin_atts().move;
  return defined(att) ? reinterpret_cast<AVList*>(vec_.get_val(att)) : nullptr;
}

AVList* PItem::own_move_list() {
  const int att = builtin_atts().move;
  if (!defined(att)) return nullptr;
  return own_shared<AVList>(&vec_, vec_.interpreter(att)->storage_position());
}

void PItem::set_move_list(AVList* list) {
  const int att = builtin_atts().move;
  if (att >= 0) vec_.set_val(att, reinterpret_cast<AttVal>(list));
}

void PItem::eq_pitem(PItem* x) {
  x->eq_ = eq_;
  eq_ = x;
}

bool PItem::is_equal_to(const PItem* other) const {
  for (const PItem* p = eq_; p != nullptr; p = p->eq_) {
    if (p == other) return true;
  }
  for (const PItem* p = other->eq_; p != nullptr; p = p->eq_) {
    if (p == this) return true;
  }
  return false;
}

GCate* PItem::location() const {
  if (deprel_ != nullptr) return deprel_->modifiee();
  if (head_ != nullptr) return head_->location();
  return category_;
}

void PItem::location(GCate* c) {
  if (deprel_ == nullptr && head_ == nullptr) category_ = c;
}

int PItem::head_index() const {
  const PItem* last = this;
  for (const PItem* p = this; p != nullptr; p = p->head_) {
    if (const LexItem* l = p->lexitem()) return l->head();
    last = p;
  }
  return last->low();
}

int PItem::head_position() const {
  if (val_is(builtin_atts().cat, builtin_atts().cat_p)) return low();
  const LexItem* l = lexitem();
  return l != nullptr ? l->head() : low();
}

void PItem::remove_movement(int i) {
  const BuiltinAtts& atts = builtin_atts();
  AVList* list = own_move_list();
  if (list == nullptr || i < 0 || i >= list->length()) return;
  const AttVec* movement = (*list)[i];
  if (defines(*movement, atts.trace)) {
    vec_.set_val(atts.trace, movement->get_val(atts.trace));
  }
  list->del(i);
  if (list->empty()) undefine(atts.move);
}

AttVec* search_same_type_movement(const AVList* list, AttVal kind, int& index) {
  const int slash = builtin_atts().slash;
  if (list == nullptr || slash < 0) return nullptr;
  for (int k = 0; k < list->length(); ++k) {
    AttVec* v = (*list)[k];
    if (defines(*v, slash) && v->get_val(slash) == kind) {
      index = k;
      return v;
    }
  }
  return nullptr;
}

bool cmp_pitem_bounds_and_weight(const PItem* a, const PItem* b) {
  if (a->low() != b->low()) return a->low() < b->low();
  return a->weight() < b->weight();
}

}  // namespace lorvan
