// DepTree: one node of the dependency analysis of a sentence -- a word that
// takes part in the analysis, or an empty node (a trace, an empty category)
// that stands for no word of its own.
//
// A node is an RSTree: its children are its dependents, in sentence order,
// and its parent is its governor.  Besides the tree links it carries a span
// of word positions (low..high; high < low is an empty span), the position
// of its own word (pos; 0 or negative for a node without a word), whether it
// follows its governor (the after-head flag, set by ord_insert), its
// category, relation, root, word and name, an attribute vector, a weight and
// a list of properties (such as antecedent links).
//
// Ownership: a node belongs to the Deps that made it (Deps::new_node) and is
// destroyed only by that Deps; nodes are never shared between structures.
// Destroying a node therefore never destroys its children -- they are only
// released -- and a node is emptied with clear(), never RSlist::clear().
// The strings a node holds live in its Deps's arena.  The node owns its
// attribute vector and its property list.
//
// Dependency nodes travel through the expression language as values of the
// type "RSTree*"; cast(v) turns such a value back into a node.
//
// Walks over a subtree are iterative, so trees of any depth are safe.
// Not thread-safe; the program is single-threaded.
#ifndef LORVAN_DEPTREE_DEP_TREE_H_
#define LORVAN_DEPTREE_DEP_TREE_H_

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "deptree/prop_list.h"
#include "features/attvec.h"
#include "rslist.h"
#include "slist.h"

namespace lorvan {

class Deps;
class LBitSet;
class LExp;
class LexItem;

// Property ids of the two fixed properties: "ante" (the node's antecedent)
// and "ref" (a node whose antecedent this node is).  Both hold nodes.  0
// until init_prop_names() has run.
extern int ANTECEDENT;
extern int REFERENT;

// Registers "ante" and "ref" as property names and, when they have no value
// type yet, gives them the node value type (DepTreeValue), so antecedent
// links print as node names and read back.  Runs its body once; every Deps
// calls it when made.
void init_prop_names();

// The fields of a node, apart from its tree links and serial number.
// Destroying it frees the attribute vector and the property list.
struct DepTreeInfo {
  Deps* deps = nullptr;  // the structure that made the node
  std::int16_t low = -1;
  std::int16_t high = -1;
  std::int16_t pos = -1;
  char after_head = 0;  // 1 when the node follows its governor
  const char* cat = nullptr;
  const char* rel = nullptr;
  const char* root = nullptr;
  const char* word = nullptr;
  const char* name = nullptr;
  std::unique_ptr<AttVec> attvec;
  float weight = 0;
  std::unique_ptr<PropList> props;
};

class DepTree : public RSTree {
 public:
  // The serial number of the next node made (incremented for every node).
  static unsigned idcounter;

  // A node of `deps` without word: pos, low and high -1.  Made by
  // Deps::new_node(), which takes ownership.
  explicit DepTree(Deps* deps);
  // Releases the children (they belong to the Deps) and frees the
  // attribute vector and the property list.
  ~DepTree() override;

  // The node a value of type "RSTree*" stands for (null for null).
  static DepTree* cast(void* value) {
    return static_cast<DepTree*>(static_cast<RSTree*>(value));
  }
  // The value of type "RSTree*" for a node.
  static void* value(DepTree* node) { return static_cast<RSTree*>(node); }

  // Sets low = high = pos = `pos`, clears the after-head flag, category,
  // root, attribute vector, weight and properties, sets the relation
  // (copied) and, for pos > 0, the word at pos.
  void init(int pos, const char* rel);
  // Sets the node up for the words lo..hi of the lexical item `item` (all
  // of its span, or what is left of it once sub-items took their words):
  // init(pos, null) with pos the item's low for a one-word item, its head
  // for a longer one and -1 for an empty item (high < low); then the span
  // lo..hi, the item's category (null when it has none), the root -- "~"
  // for an empty item, the item's own when lo..hi is still its span,
  // otherwise the words lo..hi (none when those are no words) -- and the
  // vector of an attribute-vector meaning unified in (unify).
  void init(const LexItem& item, int lo, int hi);

  // ---- Tree links, typed ----

  DepTree* parent() const { return static_cast<DepTree*>(RSTree::parent()); }
  DepTree* first() const { return static_cast<DepTree*>(RSTree::first()); }
  DepTree* last() const { return static_cast<DepTree*>(RSTree::last()); }
  DepTree* next() const { return static_cast<DepTree*>(RSTree::next()); }
  DepTree* prev() const { return static_cast<DepTree*>(RSTree::prev()); }
  // Moves this node under `node` with ord_insert; null detaches it.
  void parent(DepTree* node);

  // ---- Fields ----
  // Setters copy their text into the Deps arena (null clears the field).

  unsigned id() const { return id_; }
  Deps* deps() const { return info_.deps; }
  int low() const { return info_.low; }
  int high() const { return info_.high; }
  int pos() const { return info_.pos; }
  void low(int p) { info_.low = static_cast<std::int16_t>(p); }
  void high(int p) { info_.high = static_cast<std::int16_t>(p); }
  bool empty_span() const { return info_.high < info_.low; }
  bool after_head() const { return info_.after_head != 0; }
  void after_head(bool flag) { info_.after_head = flag ? 1 : 0; }

  const char* rel() const { return info_.rel; }
  void rel(const char* text);
  // The category, or "U" when there is none; raw_cat() gives null then.
  const char* cat() const { return info_.cat != nullptr ? info_.cat : "U"; }
  const char* raw_cat() const { return info_.cat; }
  void cat(const char* text);
  const char* word() const { return info_.word; }
  void word(const char* text);
  // The root, or the word at pos when there is none and pos > 0;
  // raw_root() gives null then.
  const char* root() const;
  const char* raw_root() const { return info_.root; }
  void root(const char* text);
  // The node's name, unique within its Deps, or null.
  const char* name() const { return info_.name; }
  // Names the node through its Deps (Deps::named_node).
  void name(const char* text);
  float weight() const { return info_.weight; }
  void weight(float w) { info_.weight = w; }

  // The attribute vector, or null.  attvec(vec) stores a copy (null: none).
  AttVec* attvec() const { return info_.attvec.get(); }
  void attvec(const AttVec* vec);
  // Completes the vector with `vec` (AttVec::complement_with), or stores a
  // copy when the node has none.
  void unify(const AttVec& vec);

  // ---- Properties ----

  // The property list, made empty on first use.
  PropList* props();
  // The list, or null when none was made.
  const PropList* prop_list() const { return info_.props.get(); }
  // The value of the first entry with that property id, or null.
  void* get_propval(int id) const;
  // Appends the entries with that id to `out` and returns how many.  With
  // `remove` they are also deleted from the node; values their value type
  // frees (strings lists; never nodes) are then no longer valid.
  int get_propvals(int id, TSlist<PropVal>& out, bool remove);

  // The node's antecedent ("ante"), or null.
  DepTree* antecedent() const;
  // Makes `node` the antecedent of this node: names it, adds ("ante", node,
  // 1.0) to this node and ("ref", this node, 1.0) to `node`.
  void antecedent(DepTree* node);
  // Adds ("ref", node, 1.0) to this node (naming `node`): this node is the
  // antecedent of `node`.
  void referent(DepTree* node);
  // Appends this node and every node reachable from it through "ante" and
  // "ref" entries to `out`, each once.
  void getCorefNodes(std::vector<DepTree*>& out);
  // Append the nodes of this node's "ref" (resp. "ante") entries to `out`
  // and delete those entries.
  void removeReferentNodes(std::vector<DepTree*>& out);
  void removeAntecedentNodes(std::vector<DepTree*>& out);

  // ---- Queries ----

  // The first child whose relation equals `rel` ignoring case, or null.
  DepTree* getChildByRel(const char* rel) const;
  // The text of the node's span: the word alone when low == high, "" for
  // pos <= 0 or an empty span.  In the Deps arena.
  const char* words() const;
  // The text of the whole subtree's span.
  const char* maxp() const;
  // Widens lo..hi to cover every positive pos, low and high in the subtree.
  void getSubTreeSpan(int& lo, int& hi) const;
  // The largest distances from pos to the low of a dependent before it
  // (left) and to the high of a dependent after it (right), counting only
  // "lex-mod" dependents whose root is none of "(", ")", "and", "or".
  void getWordSpan(int& left, int& right) const;
  // With `words` false the root.  With `words` true the text of the word
  // span (getWordSpan) of the first node along the antecedent chain,
  // starting at this node, that has a positive pos (this node when none
  // has).
  const char* deepRoot(bool words) const;
  // The first node of the subtree (pre-order) whose pos is p, or null.
  DepTree* at_pos(int p) const;
  // "" without category; "N" when the category begins with '_' or is
  // "NN"; otherwise the category up to its first underscore.  The result
  // is `buffer` or a literal.
  const char* major_cat(std::string& buffer) const;
  // Starts lo..hi at the node's low and high and widens them by the bounds
  // of every dependent satisfying `cond` (evaluated with type "RSTree*"),
  // and of theirs, recursively.
  void find_bounds(LExp& cond, int& lo, int& hi) const;

  // ---- Editing ----

  // Inserts `child` (detached from any old parent first) among this node's
  // dependents in sentence order and sets its after-head flag.  Refused
  // (false) when `child` is this node or one of its ancestors.
  bool ord_insert(DepTree* child);
  // Detaches every descendant (each node of the subtree loses its
  // dependents).  Nothing is destroyed.
  void clear();

  // ---- Printing (see DepsPrinter) ----

  // Debugging form: nested parentheses, "+++ "/"--- " by the after-head
  // flag, root (or "NIL"), " pos=", pos, " (", low, ", ", high, ")".
  void print(std::ostream& out, int indent) const;
  // The text-form lines of this subtree; `cursor` is the next word
  // position not yet printed.  `atts` selects the attributes to print
  // (null: no attribute vectors).
  void print_tree(std::ostream& out, int& cursor, const LBitSet* atts) const;
  // The text-form line of this node, preceded by the lines of the words
  // outside the tree from `cursor` up to pos.
  void print_node(std::ostream& out, int& cursor, const LBitSet* atts) const;

 private:
  friend class Deps;  // sets names and shares the sentence's word strings

  // Moves the node values of `id` entries to `out` and deletes them.
  void take_node_props(int id, std::vector<DepTree*>& out);

  DepTreeInfo info_;
  unsigned id_;
};

// The node after `n` in a pre-order walk of `root`'s subtree (n being in
// it); with `skip` the walk passes over n's dependents.  Null at the end.
// Allocates nothing.
const DepTree* next_in_subtree(const DepTree* n, const DepTree* root, bool skip = false);
inline DepTree* next_in_subtree(DepTree* n, DepTree* root, bool skip = false) {
  return const_cast<DepTree*>(
      next_in_subtree(static_cast<const DepTree*>(n), static_cast<const DepTree*>(root), skip));
}

// The after-head flag `child` gets under `head`: whether it follows it.
bool after_head_flag(const DepTree& head, const DepTree& child);

// The nearest proper ancestor of `node` whose pos is not negative, or null.
DepTree* getParent(const DepTree* node);
// The deepest node of `node`'s subtree (`node` itself included) whose
// subtree span covers position p, or null when `node`'s does not.
DepTree* getMinimalCoveringTree(int p, DepTree* node);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEP_TREE_H_
