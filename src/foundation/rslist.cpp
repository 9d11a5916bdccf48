#include "rslist.h"

#include <algorithm>
#include <iostream>
#include <ostream>

namespace lorvan {

namespace {

void new_line(std::ostream& out, int depth) {
  out << '\n';
  for (int i = 0; i < depth; ++i) out << "  ";
}

}  // namespace

RSlist::~RSlist() {
  detach();
  clear();
}

RSlist* RSlist::nth(int i) const {
  if (i < 0 || i >= count_) return nullptr;
  RSlist* c = first_;
  while (i-- > 0) c = c->next_;
  return c;
}

bool RSlist::is_ancestor_of(const RSlist* node) const {
  if (node == nullptr) return false;
  for (const RSlist* p = node->parent_; p != nullptr; p = p->parent_) {
    if (p == this) return true;
  }
  return false;
}

bool RSlist::can_adopt(const RSlist* child) const {
  if (child == nullptr || child == this) return false;
  // Only a node with children can be an ancestor of this node.
  return child->atom() || !child->is_ancestor_of(this);
}

void RSlist::link_between(RSlist* a, RSlist* child, RSlist* b) {
  child->parent_ = this;
  child->prev_ = a;
  child->next_ = b;
  if (a != nullptr) a->next_ = child; else first_ = child;
  if (b != nullptr) b->prev_ = child; else last_ = child;
  ++count_;
}

void RSlist::unlink(RSlist* child) {
  if (child->prev_ != nullptr) child->prev_->next_ = child->next_; else first_ = child->next_;
  if (child->next_ != nullptr) child->next_->prev_ = child->prev_; else last_ = child->prev_;
  child->parent_ = child->prev_ = child->next_ = nullptr;
  --count_;
}

bool RSlist::append(RSlist* child) { return insert_before(nullptr, child); }

bool RSlist::insert(RSlist* child) { return insert_after(nullptr, child); }

bool RSlist::insert_before(RSlist* anchor, RSlist* child) {
  if (!can_adopt(child) || anchor == child) return false;
  if (anchor != nullptr && anchor->parent_ != this) return false;
  child->detach();
  link_between(anchor != nullptr ? anchor->prev_ : last_, child, anchor);
  return true;
}

bool RSlist::insert_after(RSlist* anchor, RSlist* child) {
  if (!can_adopt(child) || anchor == child) return false;
  if (anchor != nullptr && anchor->parent_ != this) return false;
  child->detach();
  link_between(anchor, child, anchor != nullptr ? anchor->next_ : first_);
  return true;
}

RSlist* RSlist::remove(RSlist* child) {
  if (child == nullptr || child->parent_ != this) return nullptr;
  unlink(child);
  return child;
}

RSlist* RSlist::remove_first() { return first_ != nullptr ? remove(first_) : nullptr; }

RSlist* RSlist::detach() {
  if (parent_ != nullptr) parent_->unlink(this);
  return this;
}

bool RSlist::take_children(RSlist& from) {
  if (&from == this || from.is_ancestor_of(this)) return false;
  while (RSlist* c = from.remove_first()) link_between(last_, c, nullptr);
  return true;
}

void RSlist::clear() {
  // Destroy leaves first, climbing back through parent links, so that the
  // depth of the tree never becomes recursion depth.
  RSlist* n = first_;
  while (n != nullptr) {
    while (n->first_ != nullptr) n = n->first_;
    RSlist* p = n->parent_;
    p->unlink(n);
    delete n;
    n = (p == this) ? first_ : p;
  }
}

void RSlist::release_children() {
  while (first_ != nullptr) unlink(first_);
}

void RSlist::print(const NodePrinter& printer, std::ostream& out, int depth) const {
  if (depth > 0) new_line(out, depth);
  if (atom()) {
    printer(this, out);
  } else {
    // Iterative walk: list is the node whose children are being written,
    // at depth d; c is its next child to write.
    const RSlist* list = this;
    const RSlist* c = first_;
    int d = depth;
    out << '(';
    for (;;) {
      if (c == nullptr) {
        out << ')';
        if (list == this) break;
        c = list->next_;
        list = list->parent_;
        --d;
      } else if (!c->atom()) {
        new_line(out, d + 1);
        out << '(';
        list = c;
        c = c->first_;
        ++d;
      } else {
        if (c->prev_ != nullptr) {
          if (c->prev_->atom()) out << ' '; else new_line(out, d + 1);
        }
        printer(c, out);
        c = c->next_;
      }
    }
  }
  if (depth == 0) out << '\n';
}

// ---------------------------------------------------------------- RSTree

int RSTree::level() const {
  int n = 1;
  for (const RSlist* p = RSlist::parent(); p != nullptr; p = p->parent()) ++n;
  return n;
}

RSTree* RSTree::root() {
  RSTree* r = this;
  while (r->parent() != nullptr) r = r->parent();
  return r;
}

bool RSTree::insert_in_front(RSTree* x) {
  RSlist* p = RSlist::parent();
  return p != nullptr && x != this && p->insert_before(this, x);
}

bool RSTree::insert_after(RSTree* x) {
  RSlist* p = RSlist::parent();
  return p != nullptr && x != this && p->insert_after(this, x);
}

void RSTree::del() {
  if (RSlist::parent() == nullptr) {
    std::cerr << "RSTree::del() cannot delete the root node of a RSTree\n";
    return;
  }
  detach();
}

void RSTree::report_ord_insert_error() { std::cerr << "RSTree::ord_insert error.\n"; }

// ---------------------------------------------------------- TreeIterator

void TreeIterator::reset(RSlist* root) {
  root_ = root;
  current_ = nullptr;
  started_ = false;
  skip_ = false;
  updated_ = false;
}

RSlist* TreeIterator::next() {
  if (updated_) {
    updated_ = false;
  } else if (!started_) {
    started_ = true;
    current_ = root_ != nullptr ? start() : nullptr;
  } else if (current_ != nullptr) {
    bool inside = current_ == root_ || root_->is_ancestor_of(current_);
    current_ = inside ? advance(current_, skip_) : nullptr;
  }
  skip_ = false;
  return current_;
}

RSlist* TreeIterator::remove_current() {
  if (current_ == nullptr) return nullptr;
  return take_out(current_, false);
}

RSlist* TreeIterator::remove_parent() {
  if (current_ == nullptr || current_ == root_) return nullptr;
  RSlist* p = current_->parent();
  if (p == nullptr) return nullptr;
  return take_out(p, true);
}

RSlist* TreeIterator::take_out(RSlist* n, bool parent) {
  current_ = after_removal(n, parent);
  n->detach();
  skip_ = false;
  updated_ = true;
  return n;
}

RSlist* TreeIterator::after_subtree(RSlist* n) const {
  for (; n != nullptr && n != root_; n = n->parent()) {
    if (n->next() != nullptr) return n->next();
  }
  return nullptr;
}

RSlist* PreIterator::start() { return root(); }

RSlist* PreIterator::advance(RSlist* n, bool skip) {
  if (!skip && n->first() != nullptr) return n->first();
  return after_subtree(n);
}

RSlist* PreIterator::after_removal(RSlist* n, bool) { return after_subtree(n); }

namespace {

RSlist* leftmost_leaf(RSlist* n) {
  while (n->first() != nullptr) n = n->first();
  return n;
}

}  // namespace

RSlist* PostIterator::start() { return leftmost_leaf(root()); }

RSlist* PostIterator::advance(RSlist* n, bool skip) {
  if (n == root()) return nullptr;
  if (!skip && n->next() != nullptr) return leftmost_leaf(n->next());
  return n->parent();
}

RSlist* PostIterator::after_removal(RSlist* n, bool) { return advance(n, false); }

void BreadthIterator::reset(RSlist* root) {
  TreeIterator::reset(root);
  pending_.clear();
  head_ = 0;
}

RSlist* BreadthIterator::start() {
  pending_.clear();
  head_ = 0;
  return root();
}

RSlist* BreadthIterator::next_level_node() {
  while (head_ < pending_.size()) {
    RSlist* p = pending_[head_++];
    if (p->first() != nullptr) return p->first();
  }
  pending_.clear();
  head_ = 0;
  return nullptr;
}

RSlist* BreadthIterator::advance(RSlist* n, bool skip) {
  if (!skip) pending_.push_back(n);
  // Children of one parent are consecutive in breadth-first order.
  if (n != root() && n->next() != nullptr) return n->next();
  return next_level_node();
}

RSlist* BreadthIterator::after_removal(RSlist* n, bool parent) {
  auto inside = [n](RSlist* x) { return x == n || n->is_ancestor_of(x); };
  pending_.erase(std::remove_if(pending_.begin() + static_cast<std::ptrdiff_t>(head_),
                                pending_.end(), inside),
                 pending_.end());
  if (n == root()) {
    pending_.clear();
    head_ = 0;
    return nullptr;
  }
  // The siblings after the current node are visited next; those of its
  // parent have been visited already.
  if (!parent && n->next() != nullptr) return n->next();
  return next_level_node();
}

}  // namespace lorvan
