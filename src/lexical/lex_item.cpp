#include "lexical/lex_item.h"

#include <algorithm>
#include <iostream>
#include <limits>

#include "lexical/lex_analyzer.h"
#include "lexicon/meaning.h"

namespace lorvan {
namespace {

std::int16_t to_position(int p) {
  constexpr int lo = std::numeric_limits<std::int16_t>::min();
  constexpr int hi = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(std::clamp(p, lo, hi));
}

}  // namespace

LexItem::~LexItem() = default;

void LexItem::low(int position) { low_ = to_position(position); }
void LexItem::high(int position) { high_ = to_position(position); }
void LexItem::head(int position) { head_ = to_position(position); }

void LexItem::root(const char* text) {
  root_ = text != nullptr ? analyzer_->strbufs().copy(text) : nullptr;
}

void LexItem::cate(const char* text) {
  cate_ = text != nullptr ? analyzer_->strbufs().copy(text) : nullptr;
}

void LexItem::relation(const char* text) {
  relation_ = text != nullptr ? analyzer_->strbufs().copy(text) : nullptr;
}

void LexItem::add_affix(const char* affix) {
  if (affix != nullptr) affixes_.push_back(analyzer_->strbufs().copy(affix));
}

Meaning* LexItem::mutable_meaning() {
  if (meaning_ != nullptr && owned_ == nullptr) own_duplicate(meaning_);
  return owned_.get();
}

void LexItem::share_meaning(const Meaning* m) {
  owned_.reset();
  meaning_ = m;
}

void LexItem::own_duplicate(const Meaning* m) {
  // Duplicate before releasing: `m` may be the meaning owned so far.
  std::unique_ptr<Meaning> copy(m != nullptr ? m->duplicate() : nullptr);
  owned_ = std::move(copy);
  meaning_ = owned_.get();
}

void LexItem::meaning_like(const LexItem& from) {
  if (from.owned_ != nullptr) {
    own_duplicate(from.meaning_);
  } else {
    share_meaning(from.meaning_);
  }
}

bool LexItem::contains(const LexItem* item) const {
  if (item == this) return true;
  for (const LexItem* c : components_) {
    if (c->contains(item)) return true;
  }
  return false;
}

bool LexItem::add_component(LexItem* item) {
  if (item == nullptr || item->contains(this)) return false;
  auto at = std::find_if(components_.begin(), components_.end(),
                         [item](const LexItem* c) { return c->low() > item->low(); });
  components_.insert(at, item);
  return true;
}

LexItem* LexItem::duplicate() const {
  LexItem* d = analyzer_->new_item(low_, high_);
  d->root_ = root_;
  d->meaning_like(*this);
  d->affixes_ = affixes_;
  d->weight_ = weight_;
  return d;
}

LexItem* LexItem::copy() const {
  LexItem* c = analyzer_->new_item(low_, high_);
  c->head_ = head_;
  c->weight_ = weight_;
  c->cate_ = cate_;
  c->root_ = root_;
  c->relation_ = relation_;
  c->affixes_ = affixes_;
  c->entry_ = entry_;
  c->meaning_like(*this);
  for (const LexItem* sub : components_) c->components_.push_back(sub->copy());
  return c;
}

void LexItem::reset() {
  high_ = low_ = head_ = 0;
  deleted_ = 0;
  weight_ = 0;
  stamp_ = 0;
  share_meaning(nullptr);
  affixes_.clear();
  components_.clear();
  root_ = relation_ = cate_ = nullptr;
  entry_ = nullptr;
  in_lattice_ = false;
}

void LexItem::print(std::ostream& out, int depth) const {
  for (int i = 0; i < depth; ++i) out << "  ";
  out << '[' << low_ << ',' << high_ << "] ";
  if (cate_ != nullptr) out << cate_ << ' ';
  analyzer_->print_words(out, low_, high_);
  out << ' ';
  if (meaning_ != nullptr) meaning_->print(out);
  if (!affixes_.empty()) {
    out << " (affixes";
    for (const char* a : affixes_) out << ' ' << a;
    out << ')';
  }
  out << " w=" << weight_ << " hd=" << head_;
  if (root_ != nullptr) out << " (root " << root_ << ')';
  out << '\n';
  for (const LexItem* sub : components_) sub->print(out, depth + 1);
}

void prlit(const LexItem* item) {
  if (item == nullptr) {
    std::cout << "nil\n";
    return;
  }
  item->print(std::cout, 0);
}

}  // namespace lorvan
