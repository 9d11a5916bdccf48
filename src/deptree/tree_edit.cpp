#include "deptree/tree_edit.h"

#include <iostream>
#include <memory>

#include "deptree/tree_match.h"
#include "deptree/tree_rule.h"
#include "expr/marg_exp.h"

namespace lorvan {

namespace {

// Whether `n` is the node of the match's root record and has a parent,
// which a move must not take away behind the rule's walk.
bool is_attached_match_root(void* match, const RSTree* n) {
  return n == match_root_node(match) && n->parent() != nullptr;
}

void* refuse(const char* message) {
  std::cerr << message << std::endl;
  return nullptr;
}

// A move of `n` next to `anchor`, as `move` does it; gives anchor's parent.
void* move_beside(void* match, void* node, void* anchor, bool (RSTree::*move)(RSTree*)) {
  RSTree* n = as_node(node);
  RSTree* a = as_node(anchor);
  if (n == nullptr || a == nullptr) return nullptr;
  if (is_attached_match_root(match, n)) return refuse("Cannot insert the root node of a tree match");
  return (a->*move)(n) ? node_value(a->parent()) : nullptr;
}

// A move of `n` under `parent`, as `move` does it; gives null.
void* move_under(void* node, void* parent, bool (RSTree::*move)(RSTree*)) {
  RSTree* n = as_node(node);
  RSTree* p = as_node(parent);
  if (n != nullptr && p != nullptr) (p->*move)(n);
  return nullptr;
}

}  // namespace

void* inherit_children(void* match, void* node) {
  RSTree* n = as_node(node);
  if (n == nullptr) return nullptr;
  if (n == match_root_node(match)) {
    return refuse("The root node of a tree match cannot inherit children");
  }
  RSTree* parent = n->parent();
  if (parent == nullptr) return node;
  RSTree* own_first = n->first();
  for (RSTree* s = parent->first(); s != n;) {
    RSTree* later = s->next();
    n->insert_before(own_first, s);
    s = later;
  }
  adopt_following(match, node);
  return node;
}

void* adopt_following(void*, void* node) {
  RSTree* n = as_node(node);
  if (n == nullptr) return nullptr;
  while (RSTree* s = n->next()) n->append(s);
  return node;
}

void* detach_node(void* match, void* node) {
  RSTree* n = as_node(node);
  if (n == nullptr) return nullptr;
  TreeIterator* walk = TreeRule::the_iterator;
  if (n == match_root_node(match) && walk != nullptr && walk->current() == n) {
    walk->remove_current();
  } else {
    n->detach();
  }
  return node;
}

void* ins_before(void* match, void* node, void* anchor) {
  return move_beside(match, node, anchor, &RSTree::insert_in_front);
}

void* insert_after(void* match, void* node, void* anchor) {
  return move_beside(match, node, anchor, &RSTree::insert_after);
}

void* insert_node(void* match, void* node, void* parent) {
  RSTree* n = as_node(node);
  if (n != nullptr && is_attached_match_root(match, n)) {
    return refuse("Cannot insert the root node of a tree match");
  }
  return move_under(node, parent, &RSTree::insert);
}

void* append_node(void* match, void* node, void* parent) {
  RSTree* n = as_node(node);
  if (n != nullptr && is_attached_match_root(match, n)) {
    return refuse("Cannot append the root node of a tree match");
  }
  return move_under(node, parent, &RSTree::append);
}

// An editing kind whose node arguments must not be declared to give
// anything but nodes: a number handed over as a node would be followed as a
// pointer.
template <class Kind, class... Args>
std::unique_ptr<Kind> node_editor(Args&&... args) {
  auto kind = std::make_unique<Kind>(std::forward<Args>(args)...);
  kind->require_arg_types();
  return kind;
}

void register_tree_edit_functions() {
  constexpr const char* kMatch = "TreeMatch*";
  constexpr const char* kNode = "RSTree*";
  LExp::exp_proto(
      node_editor<OneArgExp>("inherit-children", inherit_children, kMatch, nullptr, kNode),
      nullptr, "(inherit-children <node>) make the siblings of <node> its children");
  LExp::exp_proto(
      node_editor<OneArgExp>("adopt-following", adopt_following, kMatch, nullptr, kNode),
      nullptr,
      "(adopt-following <node>) make the siblings after node the children \n"
      "of <node>. For example:\n"
      "(A (B)          (adopt-following C)  (A (B)     \n"
      "   (C (D))              ==>             (C (D)\n"
      "   (E)                                     (E)   \n"
      "   (F (G)))                                (F (G))))\n");
  LExp::exp_proto(
      node_editor<TwoArgExp>("insert-before", ins_before, kMatch, nullptr, kNode, kNode),
      nullptr,
      "(insert-before <node> <anchor>) insert <node> before <anchor>:\n"
      "(A (B)          (insert-before C G)  (A (B)     \n"
      "   (C (D))              ==>             (E)\n"
      "   (E)                                  (F (C (D))\n"
      "   (F (G)))                                (G)))\n");
  LExp::exp_proto(
      node_editor<TwoArgExp>("insert-after", insert_after, kMatch, nullptr, kNode, kNode),
      nullptr,
      "(insert-after <node> <anchor>) insert <node> after <anchor>:\n"
      "(A (B)          (insert-before C G)  (A (B)     \n"
      "   (C (D))              ==>             (E)\n"
      "   (E)                                  (F (G)\n"
      "   (F (G)))                                (C (D))))\n");
  LExp::exp_proto(
      node_editor<TwoArgExp>("insert-node", insert_node, kMatch, nullptr, kNode, kNode),
      nullptr,
      "(insert-node <node> <parent>) insert <node> as the first \n"
      "child of <parent>. For example:\n"
      "(A (B)          (insert-node F A)  (A (F (G))\n"
      "   (C (D))              ==>           (B)\n"
      "   (E)                                (C (D))\n"
      "   (F (G)))                           (E))\n");
  LExp::exp_proto(
      node_editor<TwoArgExp>("append-node", append_node, kMatch, nullptr, kNode, kNode),
      nullptr,
      "(append-node <node> <parent>) append <node> as the last \n"
      "child of <parent>. For example:\n"
      "(A (B)          (append-node C G)  (A (B)\n"
      "   (C (D))              ==>           (C (D)\n"
      "   (E)                                   (G))\n"
      "   (F (G)))                           (E)\n"
      "                                      (F))\n");
  LExp::exp_proto(
      node_editor<OneArgExp>("detach-node", detach_node, kMatch, nullptr, kNode), nullptr,
      "(detatch-node <node>) detach the subtree rooted at <node> \n"
      "from its parent. The detached subtree is returned. For example:\n"
      "(A (B)          (detach-node C)  (A (B)\n"
      "   (C (D))              ==>         (E)\n"
      "   (E)                              (F (G)))\n"
      "   (F (G)))\n");
}

}  // namespace lorvan
