// RSlist: a node of a rooted, ordered tree -- a node that is itself the list
// of its child nodes -- and RSTree, the same node with the tree operations
// that use its parent link.  Walks over such trees: PreIterator,
// PostIterator and BreadthIterator.
//
// Ownership: a node owns its children.  Destroying a node destroys its whole
// subtree, and first detaches the node from its parent, so deleting any node
// of a tree leaves the rest of the tree consistent.  clear() destroys the
// children.  Types whose nodes are owned elsewhere (by a pool or an
// enclosing structure) call release_children() in their destructor and use
// it, never clear(), to empty a node.
//
// Every editing operation that inserts a node first detaches it from its
// current parent, if it has one.  Inserting a node below itself or below one
// of its own descendants would make a cycle; such a request is refused: the
// call returns false and changes nothing.
//
// Links are intrusive (parent, first and last child, previous and next
// sibling), so navigation, appending, inserting next to a known node and
// detaching are O(1), and walks allocate nothing (a breadth-first walk keeps
// one reusable queue).
//
// Not thread-safe; the program is single-threaded.
#ifndef LORVAN_INCLUDE_RSLIST_H_
#define LORVAN_INCLUDE_RSLIST_H_

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <vector>

#include "iterator.h"

namespace lorvan {

class RSlist {
 public:
  // Writes one node that has no children (an atom or an empty node).
  using NodePrinter = std::function<void(const RSlist* node, std::ostream& out)>;

  RSlist() = default;
  virtual ~RSlist();

  RSlist(const RSlist&) = delete;
  RSlist& operator=(const RSlist&) = delete;

  // Navigation; all O(1) except nth().
  RSlist* parent() const { return parent_; }
  RSlist* first() const { return first_; }
  RSlist* last() const { return last_; }
  RSlist* next() const { return next_; }
  RSlist* prev() const { return prev_; }
  // Number of children.
  int length() const { return count_; }
  // True when the node has no children.
  bool atom() const { return first_ == nullptr; }
  // Child i (0-based), or null when i is out of range.
  RSlist* nth(int i) const;

  // Appends child as the last child.
  bool append(RSlist* child);
  // Inserts child as the first child.
  bool insert(RSlist* child);
  // Inserts child just before anchor, which must be a child of this node;
  // a null anchor means at the end.
  bool insert_before(RSlist* anchor, RSlist* child);
  // Inserts child just after anchor, which must be a child of this node; a
  // null anchor means at the front.
  bool insert_after(RSlist* anchor, RSlist* child);
  // Detaches child (which must be a child of this node) and returns it; the
  // caller owns it.  Returns null for a node that is not a child of this.
  RSlist* remove(RSlist* child);
  // Detaches and returns the first child, or null when there is none.
  RSlist* remove_first();
  // Detaches this node from its parent (if any) and returns it.
  RSlist* detach();
  // Moves all children of from, in order, to the end of this node's
  // children.  Refused (false) when from is this node or one of its
  // ancestors.
  bool take_children(RSlist& from);
  // Destroys all children and their subtrees (iteratively, so very deep
  // trees do not exhaust the stack).
  void clear();
  // Detaches all children without destroying them; each becomes a root.
  void release_children();

  // True when this node is a proper ancestor of node.
  bool is_ancestor_of(const RSlist* node) const;

  // Indented form.  At depth above 0, first a line end and two spaces per
  // level.  A node with children writes "(", its children and ")": a child
  // with children is printed at depth + 1 (on a new, deeper line); a
  // childless child is written by printer, preceded by one space -- except
  // the first child, and except after a child with children, where it starts
  // a new line indented by two spaces per (depth + 1).  A childless node is
  // written by printer alone.  At depth 0 a line end follows.
  void print(const NodePrinter& printer, std::ostream& out, int depth = 0) const;

 private:
  // Links child (detached, not this or an ancestor of this) between a and b,
  // adjacent children of this node (either may be null at the ends).
  void link_between(RSlist* a, RSlist* child, RSlist* b);
  void unlink(RSlist* child);
  bool can_adopt(const RSlist* child) const;

  RSlist* parent_ = nullptr;
  RSlist* first_ = nullptr;
  RSlist* last_ = nullptr;
  RSlist* prev_ = nullptr;
  RSlist* next_ = nullptr;
  int count_ = 0;
};

// A tree node whose children are RSTrees too.  The typed accessors assume
// that every node of the tree is an RSTree (or derived from it), which the
// typed editing operations below keep.
class RSTree : public RSlist {
 public:
  RSTree() = default;

  RSTree* parent() const { return static_cast<RSTree*>(RSlist::parent()); }
  RSTree* first() const { return static_cast<RSTree*>(RSlist::first()); }
  RSTree* last() const { return static_cast<RSTree*>(RSlist::last()); }
  RSTree* next() const { return static_cast<RSTree*>(RSlist::next()); }
  RSTree* prev() const { return static_cast<RSTree*>(RSlist::prev()); }
  RSTree* nth(int i) const { return static_cast<RSTree*>(RSlist::nth(i)); }

  // 1 for a root, 2 for its children, and so on.
  int level() const;
  // The topmost ancestor (this node itself when it has no parent).
  RSTree* root();

  // x becomes the last / first child of this node.
  bool append(RSTree* x) { return RSlist::append(x); }
  bool insert(RSTree* x) { return RSlist::insert(x); }
  // x is detached from its old parent and put just before / after this
  // node among this node's siblings.  Refused (false) when this node has no
  // parent, when x is this node, or when x is an ancestor of this node.
  bool insert_in_front(RSTree* x);
  bool insert_after(RSTree* x);
  // RSlist's insert_after(anchor, child) stays available next to it.
  using RSlist::insert_after;

  // Inserts x among the children, before the first child c with
  // cmp(x, c) < 0 (so after the children equal to it).  With unique set, x
  // is not inserted when some child c has cmp(x, c) == 0.  When x already
  // has a parent other than this node, prints "RSTree::ord_insert error." on
  // the error stream and does nothing.  Returns true when x was inserted.
  template <class Cmp>
  bool ord_insert(RSTree* x, Cmp cmp, bool unique = false);

  // Detaches this node from its parent.  On a root prints "RSTree::del()
  // cannot delete the root node of a RSTree" on the error stream.
  void del();

  // Proper ancestor / proper descendant tests.
  bool ancestor_of(const RSTree* x) const { return is_ancestor_of(x); }
  bool decendent_of(const RSTree* x) const { return x != nullptr && x->is_ancestor_of(this); }

 private:
  static void report_ord_insert_error();
};

template <class Cmp>
bool RSTree::ord_insert(RSTree* x, Cmp cmp, bool unique) {
  if (x == nullptr) return false;
  if (x->parent() != nullptr && x->parent() != this) {
    report_ord_insert_error();
    return false;
  }
  x->detach();
  RSTree* c = first();
  for (; c != nullptr; c = c->next()) {
    int r = cmp(x, c);
    if (r < 0) break;
    if (r == 0 && unique) return false;
  }
  return RSlist::insert_before(c, x);
}

// Walks over a tree.  Usage:
//
//   PreIterator it(root);
//   while (RSlist* n = it.next()) { ... }
//
// The walk covers root and its subtree.  Inside the loop the consumer may:
//   - skip_subtree(): the walk does not go below the current node (for
//     PostIterator, whose children come first: the walk goes on with the
//     current node's parent, so the later siblings and their subtrees are
//     not visited);
//   - remove_current() / delete_current(): take the current node with its
//     subtree out of the tree (remove gives it to the caller, delete destroys
//     it); the iterator moves to the node the walk would visit next and sets
//     the updated flag, so current() gives that node and the next call of
//     next() returns it without advancing again;
//   - remove_parent() / delete_parent(): the same for the current node's
//     parent, which takes the current node and its remaining siblings with
//     it.  Refused (null / nothing) when the current node is the walk's root.
// Other edits of the tree take effect at once: the walk goes on from the
// current node in the changed tree; when such an edit has moved the current
// node out of the walk's subtree, the walk ends.
class TreeIterator : public Iterator {
 public:
  explicit TreeIterator(RSlist* root) : root_(root) {}

  // Restarts the walk over root.
  virtual void reset(RSlist* root);
  RSlist* root() const { return root_; }
  // The node the walk stands on; null before the first next() and at the
  // end.
  RSlist* current() const { return current_; }
  // The next node of the walk, or null at the end.
  RSlist* next();

  void skip_subtree() { skip_ = true; }
  RSlist* remove_current();
  void delete_current() { delete remove_current(); }
  RSlist* remove_parent();
  void delete_parent() { delete remove_parent(); }

 protected:
  // The first node of the walk over root_ (root_ is not null).
  virtual RSlist* start() = 0;
  // The node after n; skip set means that n's subtree is to be skipped.
  virtual RSlist* advance(RSlist* n, bool skip) = 0;
  // The node to visit after n once n (the current node, or with parent set
  // the current node's parent) and its subtree have been taken out; called
  // while n is still in place.
  virtual RSlist* after_removal(RSlist* n, bool parent) = 0;

  // The next node in pre-order after the subtree of n, within root_.
  RSlist* after_subtree(RSlist* n) const;

 private:
  // Moves the walk on past n (the current node, or with parent set its
  // parent), detaches n and returns it.
  RSlist* take_out(RSlist* n, bool parent);

  RSlist* root_;
  RSlist* current_ = nullptr;
  bool started_ = false;
  bool skip_ = false;
};

// Pre-order: a node before its children; the root first.
class PreIterator : public TreeIterator {
 public:
  explicit PreIterator(RSlist* root = nullptr) : TreeIterator(root) {}

 protected:
  RSlist* start() override;
  RSlist* advance(RSlist* n, bool skip) override;
  RSlist* after_removal(RSlist* n, bool parent) override;
};

// Post-order: a node's children, left to right, before the node; the root
// last.
class PostIterator : public TreeIterator {
 public:
  explicit PostIterator(RSlist* root = nullptr) : TreeIterator(root) {}

 protected:
  RSlist* start() override;
  RSlist* advance(RSlist* n, bool skip) override;
  RSlist* after_removal(RSlist* n, bool parent) override;
};

// Breadth-first: the root, then its children, then their children, level by
// level, left to right.  The iterator keeps the visited nodes whose children
// are still to come; a node must not be destroyed behind the iterator's back
// after it has been visited (remove it through the iterator instead).
class BreadthIterator : public TreeIterator {
 public:
  explicit BreadthIterator(RSlist* root = nullptr) : TreeIterator(root) {}
  void reset(RSlist* root) override;

 protected:
  RSlist* start() override;
  RSlist* advance(RSlist* n, bool skip) override;
  RSlist* after_removal(RSlist* n, bool parent) override;

 private:
  // The first child of the next pending node that has children.
  RSlist* next_level_node();

  std::vector<RSlist*> pending_;  // visited nodes, children not yet visited
  std::size_t head_ = 0;          // pending_[head_..] are still pending
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_RSLIST_H_
