#include "rslist.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <sstream>
#include <string>

namespace lorvan {
namespace {

// Test trees are written as NAME or NAME(CHILD CHILD ...), e.g. "R(A(B C) D)".
struct Node : RSTree {
  explicit Node(std::string n) : name(std::move(n)) {}
  std::string name;
};

Node* as_node(RSlist* n) { return static_cast<Node*>(n); }

Node* parse_at(const std::string& s, size_t& i) {
  size_t start = i;
  while (i < s.size() && std::isalnum(static_cast<unsigned char>(s[i]))) ++i;
  Node* n = new Node(s.substr(start, i - start));
  if (i < s.size() && s[i] == '(') {
    ++i;
    while (s[i] != ')') {
      if (s[i] == ' ') {
        ++i;
        continue;
      }
      n->append(parse_at(s, i));
    }
    ++i;
  }
  return n;
}

std::unique_ptr<Node> tree(const std::string& s) {
  size_t i = 0;
  return std::unique_ptr<Node>(parse_at(s, i));
}

// Writes the tree back in the same notation, and checks every link on the
// way: parent, sibling symmetry, first/last and the child count.
std::string show(const RSlist* n) {
  std::string out = static_cast<const Node*>(n)->name;
  if (n->atom()) {
    EXPECT_EQ(n->length(), 0);
    EXPECT_EQ(n->last(), nullptr);
    return out;
  }
  out += '(';
  int count = 0;
  const RSlist* prev = nullptr;
  for (const RSlist* c = n->first(); c != nullptr; prev = c, c = c->next()) {
    EXPECT_EQ(c->parent(), n);
    EXPECT_EQ(c->prev(), prev);
    if (count++ > 0) out += ' ';
    out += show(c);
  }
  EXPECT_EQ(n->last(), prev);
  EXPECT_EQ(n->length(), count);
  return out + ')';
}

Node* find(RSlist* root, const std::string& name) {
  PreIterator it(root);
  while (RSlist* n = it.next()) {
    if (as_node(n)->name == name) return as_node(n);
  }
  return nullptr;
}

// ------------------------------------------------------------- structure

TEST(RSlistTest, EditingKeepsLinksConsistent) {
  auto r = tree("R(A B C)");
  Node* a = find(r.get(), "A");
  Node* c = find(r.get(), "C");
  EXPECT_TRUE(r->insert_before(c, new Node("X")));
  EXPECT_TRUE(r->insert_after(c, new Node("Y")));
  EXPECT_TRUE(r->insert_after(nullptr, new Node("F")));  // null anchor: the front
  EXPECT_TRUE(r->insert_before(nullptr, new Node("L")));  // null anchor: the end
  EXPECT_EQ(show(r.get()), "R(F A B X C Y L)");
  EXPECT_EQ(as_node(r->nth(3))->name, "X");
  EXPECT_EQ(r->nth(7), nullptr);
  EXPECT_EQ(r->nth(-1), nullptr);

  std::unique_ptr<RSlist> b(r->remove(find(r.get(), "B")));
  EXPECT_EQ(b->parent(), nullptr);
  EXPECT_EQ(r->remove(b.get()), nullptr) << "not a child any more";
  std::unique_ptr<RSlist> f(r->remove_first());
  std::unique_ptr<RSlist> l(find(r.get(), "L")->detach());
  EXPECT_EQ(show(r.get()), "R(A X C Y)");

  // Inserting a node that has a parent moves it.
  auto other = tree("O(P)");
  EXPECT_TRUE(other->append(a));
  EXPECT_EQ(show(r.get()), "R(X C Y)");
  EXPECT_EQ(show(other.get()), "O(P A)");
  // An anchor that is not a child of this node is refused.
  Node z("Z");
  EXPECT_FALSE(r->insert_before(a, &z));
  EXPECT_FALSE(r->insert_after(a, &z));
  EXPECT_EQ(z.parent(), nullptr);
}

TEST(RSlistTest, RefusesToMakeCycles) {
  auto r = tree("R(A(B(C)) D)");
  Node* a = find(r.get(), "A");
  Node* c = find(r.get(), "C");
  EXPECT_FALSE(a->append(a));
  EXPECT_FALSE(c->append(a));
  EXPECT_FALSE(c->insert(r.get()));
  EXPECT_FALSE(c->take_children(*a));
  EXPECT_FALSE(a->take_children(*a));
  EXPECT_EQ(show(r.get()), "R(A(B(C)) D)");
}

TEST(RSlistTest, TakeChildrenMovesAllInOrder) {
  auto r = tree("R(A(B C) D(E))");
  Node* a = find(r.get(), "A");
  Node* d = find(r.get(), "D");
  EXPECT_TRUE(d->take_children(*a));
  EXPECT_EQ(show(r.get()), "R(A D(E B C))");
}

TEST(RSlistTest, DestroyingANodeDetachesItAndItsSubtree) {
  auto r = tree("R(A(B C) D(E(F)) G)");
  delete find(r.get(), "D");
  EXPECT_EQ(show(r.get()), "R(A(B C) G)");
  find(r.get(), "A")->clear();
  EXPECT_EQ(show(r.get()), "R(A G)");
}

TEST(RSlistTest, ReleaseChildrenLeavesThemAlive) {
  auto r = tree("R(A(B) C)");
  std::unique_ptr<RSlist> a(r->first());
  std::unique_ptr<RSlist> c(r->last());
  r->release_children();
  EXPECT_TRUE(r->atom());
  EXPECT_EQ(a->parent(), nullptr);
  EXPECT_EQ(show(a.get()), "A(B)");
  EXPECT_EQ(c->prev(), nullptr);
}

TEST(RSlistTest, VeryDeepTreesAreDestroyedWithoutRecursion) {
  auto r = std::make_unique<Node>("R");
  RSlist* tip = r.get();
  for (int i = 0; i < 300000; ++i) {
    RSlist* n = new Node("n");
    tip->append(n);
    tip = n;
  }
  r.reset();  // must not exhaust the stack
}

// --------------------------------------------------------------- printing

void print_name(const RSlist* n, std::ostream& out) { out << static_cast<const Node*>(n)->name; }

TEST(RSlistTest, IndentedPrint) {
  struct Case {
    const char* tree;
    int depth;
    const char* expected;
  };
  const Case cases[] = {
      {"L(a b L(c d) e)", 0, "(a b\n  (c d)\n  e)\n"},
      {"a", 0, "a\n"},
      {"L(a)", 0, "(a)\n"},
      {"L(L(a) b)", 0, "(\n  (a)\n  b)\n"},
      {"L(a L(b L(c d)) L(e) f g)", 0, "(a\n  (b\n    (c d))\n  (e)\n  f g)\n"},
      {"L(L(a) L(b))", 0, "(\n  (a)\n  (b))\n"},
      {"L(a L(b))", 1, "\n  (a\n    (b))"},  // a nested start: no final line end
      {"a", 2, "\n    a"},
  };
  for (const Case& c : cases) {
    auto t = tree(c.tree);
    std::ostringstream out;
    t->print(print_name, out, c.depth);
    EXPECT_EQ(out.str(), c.expected) << c.tree;
  }
}

TEST(RSlistTest, PrintCoversOnlyTheSubtree) {
  auto t = tree("L(a L(b c) d)");
  std::ostringstream out;
  t->nth(1)->print(print_name, out);
  EXPECT_EQ(out.str(), "(b c)\n");
}

// ------------------------------------------------------------------ walks

enum Kind { kPre, kPost, kBreadth };

std::unique_ptr<TreeIterator> walker(Kind k, RSlist* root) {
  switch (k) {
    case kPre: return std::make_unique<PreIterator>(root);
    case kPost: return std::make_unique<PostIterator>(root);
    default: return std::make_unique<BreadthIterator>(root);
  }
}

const char* kind_name(Kind k) { return k == kPre ? "pre" : (k == kPost ? "post" : "breadth"); }

const char kWalkTree[] = "R(A(B C) D E(F(G) H))";

// Walks the tree, calling act(it, node) at the node named `at`, and
// returns the names visited.
template <class Act>
std::string walk(TreeIterator& it, const std::string& at, Act act) {
  std::string seen;
  while (RSlist* n = it.next()) {
    std::string name = as_node(n)->name;
    seen += name + ' ';
    if (name == at) act(it);
  }
  if (!seen.empty()) seen.pop_back();
  return seen;
}

TEST(TreeIteratorTest, VisitOrders) {
  auto t = tree(kWalkTree);
  const std::pair<Kind, const char*> cases[] = {
      {kPre, "R A B C D E F G H"},
      {kPost, "B C A D G F H E R"},
      {kBreadth, "R A D E B C F H G"},
  };
  for (const auto& [kind, expected] : cases) {
    auto it = walker(kind, t.get());
    EXPECT_EQ(walk(*it, "", [](TreeIterator&) {}), expected) << kind_name(kind);
    EXPECT_EQ(it->next(), nullptr) << "stays at the end";
    it->reset(find(t.get(), "E"));  // a walk over a subtree
    std::string sub = walk(*it, "", [](TreeIterator&) {});
    EXPECT_EQ(sub, kind == kPost ? "G F H E" : (kind == kPre ? "E F G H" : "E F H G"));
  }
  PreIterator none(nullptr);
  EXPECT_EQ(none.next(), nullptr);
}

struct EditCase {
  Kind kind;
  const char* at;
  const char* visited;
  const char* result;
};

TEST(TreeIteratorTest, SkipSubtree) {
  const EditCase cases[] = {
      {kPre, "A", "R A D E F G H", kWalkTree},
      {kPre, "R", "R", kWalkTree},
      {kPre, "F", "R A B C D E F H", kWalkTree},
      {kBreadth, "A", "R A D E F H G", kWalkTree},
      {kBreadth, "F", "R A D E B C F H", kWalkTree},
      // Post-order: the walk goes on with the parent; later siblings are
      // not visited.
      {kPost, "B", "B A D G F H E R", kWalkTree},
      {kPost, "A", "B C A R", kWalkTree},
      {kPost, "R", "B C A D G F H E R", kWalkTree},
  };
  for (const EditCase& c : cases) {
    auto t = tree(kWalkTree);
    auto it = walker(c.kind, t.get());
    EXPECT_EQ(walk(*it, c.at, [](TreeIterator& i) { i.skip_subtree(); }), c.visited)
        << kind_name(c.kind) << " at " << c.at;
  }
}

TEST(TreeIteratorTest, DeleteCurrent) {
  const EditCase cases[] = {
      {kPre, "A", "R A D E F G H", "R(D E(F(G) H))"},
      {kPre, "C", "R A B C D E F G H", "R(A(B) D E(F(G) H))"},
      {kPre, "H", "R A B C D E F G H", "R(A(B C) D E(F(G)))"},
      {kPost, "C", "B C A D G F H E R", "R(A(B) D E(F(G) H))"},
      {kPost, "A", "B C A D G F H E R", "R(D E(F(G) H))"},
      {kPost, "H", "B C A D G F H E R", "R(A(B C) D E(F(G)))"},
      {kBreadth, "D", "R A D E B C F H G", "R(A(B C) E(F(G) H))"},
      {kBreadth, "E", "R A D E B C", "R(A(B C) D)"},
      {kBreadth, "B", "R A D E B C F H G", "R(A(C) D E(F(G) H))"},
      {kBreadth, "H", "R A D E B C F H G", "R(A(B C) D E(F(G)))"},
  };
  for (const EditCase& c : cases) {
    auto t = tree(kWalkTree);
    auto it = walker(c.kind, t.get());
    std::string visited = walk(*it, c.at, [&](TreeIterator& i) {
      i.delete_current();
      EXPECT_TRUE(i.updated()) << "positioned on the next node already";
    });
    EXPECT_EQ(visited, c.visited) << kind_name(c.kind) << " at " << c.at;
    EXPECT_EQ(show(t.get()), c.result) << kind_name(c.kind) << " at " << c.at;
    EXPECT_FALSE(it->updated());
  }
}

TEST(TreeIteratorTest, RemoveCurrentHandsTheSubtreeOver) {
  auto t = tree(kWalkTree);
  PreIterator it(t.get());
  std::unique_ptr<RSlist> taken;
  walk(it, "E", [&](TreeIterator& i) {
    taken.reset(i.remove_current());
    EXPECT_EQ(i.current(), nullptr) << "E was the last subtree";
  });
  EXPECT_EQ(show(taken.get()), "E(F(G) H)");
  EXPECT_EQ(taken->parent(), nullptr);
  EXPECT_EQ(show(t.get()), "R(A(B C) D)");
}

TEST(TreeIteratorTest, DeleteParent) {
  const EditCase cases[] = {
      {kPre, "B", "R A B D E F G H", "R(D E(F(G) H))"},
      {kPre, "G", "R A B C D E F G H", "R(A(B C) D E(H))"},
      {kPost, "B", "B D G F H E R", "R(D E(F(G) H))"},
      {kPost, "G", "B C A D G H E R", "R(A(B C) D E(H))"},
      {kBreadth, "C", "R A D E B C F H G", "R(D E(F(G) H))"},
      {kBreadth, "F", "R A D E B C F", "R(A(B C) D)"},
      {kBreadth, "D", "R A D", "R"},  // the parent is the walk's root: all gone but R
  };
  for (const EditCase& c : cases) {
    auto t = tree(kWalkTree);
    auto it = walker(c.kind, t.get());
    std::unique_ptr<RSlist> removed;
    std::string visited = walk(*it, c.at, [&](TreeIterator& i) {
      if (std::string(c.at) == "D") {
        // Deleting the root itself would destroy t; remove and keep it.
        removed.reset(i.remove_parent());
      } else {
        i.delete_parent();
      }
    });
    EXPECT_EQ(visited, c.visited) << kind_name(c.kind) << " at " << c.at;
    if (removed) {
      EXPECT_EQ(removed.get(), t.get());
      removed.release();
      EXPECT_EQ(show(t.get()), "R(A(B C) D E(F(G) H))") << "the root stays whole";
    } else {
      EXPECT_EQ(show(t.get()), c.result) << kind_name(c.kind) << " at " << c.at;
    }
  }
}

TEST(TreeIteratorTest, RemovingTheWalkRoot) {
  for (Kind k : {kPre, kPost, kBreadth}) {
    auto t = tree(kWalkTree);
    Node* e = find(t.get(), "E");
    auto it = walker(k, e);
    std::unique_ptr<RSlist> taken;
    std::string visited = walk(*it, "E", [&](TreeIterator& i) {
      EXPECT_EQ(i.remove_parent(), nullptr) << "the root's parent is outside the walk";
      taken.reset(i.remove_current());
    });
    EXPECT_EQ(visited, k == kPost ? "G F H E" : "E") << kind_name(k);
    EXPECT_EQ(show(t.get()), "R(A(B C) D)");
  }
}

TEST(TreeIteratorTest, EditsOutsideTheIteratorTakeEffect) {
  auto t = tree(kWalkTree);
  PreIterator it(t.get());
  std::unique_ptr<RSlist> a_subtree;
  // At B: a new child of B is visited next; moving C away means C is not.
  std::string visited = walk(it, "B", [&](TreeIterator& i) {
    i.current()->append(new Node("N"));
    find(t.get(), "E")->append(find(t.get(), "C"));
  });
  EXPECT_EQ(visited, "R A B N D E F G H C");

  // Detaching an ancestor of the current node ends the walk.
  it.reset(t.get());
  visited = walk(it, "B", [&](TreeIterator&) { a_subtree.reset(find(t.get(), "A")->detach()); });
  EXPECT_EQ(visited, "R A B");
}

// ------------------------------------------------------------------ RSTree

TEST(RSTreeTest, LevelRootAncestry) {
  auto t = tree("R(A(B(C)) D)");
  Node* a = find(t.get(), "A");
  Node* c = find(t.get(), "C");
  Node* d = find(t.get(), "D");
  EXPECT_EQ(t->level(), 1);
  EXPECT_EQ(c->level(), 4);
  EXPECT_EQ(c->root(), t.get());
  EXPECT_EQ(t->root(), t.get());
  struct Case {
    RSTree* x;
    RSTree* y;
    bool x_ancestor_of_y;
  };
  const Case cases[] = {{t.get(), c, true}, {a, c, true}, {c, a, false}, {a, a, false}, {d, c, false}, {a, nullptr, false}};
  for (const Case& k : cases) {
    EXPECT_EQ(k.x->ancestor_of(k.y), k.x_ancestor_of_y);
    if (k.y != nullptr) {
      EXPECT_EQ(k.y->decendent_of(k.x), k.x_ancestor_of_y);
    }
  }
}

TEST(RSTreeTest, InsertNextToASibling) {
  auto t = tree("R(A B(C D))");
  Node* a = find(t.get(), "A");
  Node* c = find(t.get(), "C");
  Node* d = find(t.get(), "D");
  EXPECT_TRUE(a->insert_after(d));  // detached from B first
  EXPECT_TRUE(a->insert_in_front(c));
  EXPECT_EQ(show(t.get()), "R(C A D B)");
  Node orphan("O");
  EXPECT_FALSE(t->insert_in_front(&orphan)) << "a root has no siblings";
  EXPECT_FALSE(t->insert_after(&orphan));
  EXPECT_FALSE(a->insert_after(a));
  EXPECT_FALSE(c->insert_in_front(t.get())) << "the root cannot become its own descendant";
  EXPECT_EQ(show(t.get()), "R(C A D B)");
}

int by_name(const RSTree* x, const RSTree* y) {
  return static_cast<const Node*>(x)->name.compare(static_cast<const Node*>(y)->name);
}

TEST(RSTreeTest, OrdInsert) {
  auto t = tree("R");
  for (const char* n : {"m", "c", "x", "c", "a"}) EXPECT_TRUE(t->ord_insert(new Node(n), by_name));
  EXPECT_EQ(show(t.get()), "R(a c c m x)");
  Node* dup = new Node("m");
  EXPECT_FALSE(t->ord_insert(dup, by_name, true));
  delete dup;
  EXPECT_TRUE(t->ord_insert(new Node("n"), by_name, true));
  // A child of this node is re-placed in order.
  Node* x = find(t.get(), "x");
  x->name = "b";
  EXPECT_TRUE(t->ord_insert(x, by_name));
  EXPECT_EQ(show(t.get()), "R(a b c c m n)");

  auto other = tree("O(k)");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(t->ord_insert(find(other.get(), "k"), by_name));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "RSTree::ord_insert error.\n");
  EXPECT_EQ(show(other.get()), "O(k)");
}

TEST(RSTreeTest, DelDetachesButNotTheRoot) {
  auto t = tree("R(A B)");
  std::unique_ptr<Node> a(find(t.get(), "A"));
  a->del();
  EXPECT_EQ(show(t.get()), "R(B)");
  testing::internal::CaptureStderr();
  t->del();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "RSTree::del() cannot delete the root node of a RSTree\n");
  EXPECT_EQ(show(t.get()), "R(B)");
}

}  // namespace
}  // namespace lorvan
