// DepsReader: reads the text form of a dependency structure (see deps.h)
// into a Deps, in two passes over the elements of the list.
//
// Pass 1 takes the words and names: atoms ":nogap" (the next word has no
// white space before it), ":id TAG" and names for the next entry; a list
// headed by an atom is a word entry (a node at the next position), a list
// headed by a list is an empty-node entry (a node, when it has a name,
// spanning nothing before the next position).  Pass 2 gives every entry
// its root, category, governor, relation, properties, attribute vector and
// weight.  Both passes end at an atom "assertions:" or "translation:"; the
// list after "assertions:" holds the relation records.  Finally every node
// whose entry gave its structure, and is not yet under the top node, has
// its topmost ancestor put under it; words printed outside the tree stay
// outside.
//
// Bad input never stops the reading: a governor that cannot be found or
// that would make a cycle is reported and the entry keeps no governor; a
// name given twice is reported and names only the first node; entries too
// short, words beyond the largest position and unknown fields are passed
// over.
//
// While a reader exists its structure is Deps::the_deps, so node-valued
// properties can name nodes of the structure being read.
#ifndef LORVAN_DEPTREE_DEPS_READER_H_
#define LORVAN_DEPTREE_DEPS_READER_H_

#include <unordered_map>
#include <vector>

namespace lorvan {

class DepTree;
class Deps;
class IRSlist;

class DepsReader {
 public:
  // Makes `deps` the structure being read (Deps::the_deps) until the
  // reader is destroyed.
  explicit DepsReader(Deps& deps);
  ~DepsReader();
  DepsReader(const DepsReader&) = delete;
  DepsReader& operator=(const DepsReader&) = delete;

  // Reads `list` into the structure, which should be empty.  Elements may
  // be consumed.
  void read(IRSlist* list);

 private:
  struct Entry {
    IRSlist* list;  // the entry's element
    DepTree* node;  // null when the entry made no node
  };

  // Pass 1; returns the atom that ended it, or null.
  IRSlist* read_words(IRSlist* list);
  // Names an entry's node, unless another node has the name already
  // (reported; the node is named when printed).
  void give_name(DepTree& node, const char* name);
  // Pass 2 for one entry.
  void read_structure(const Entry& entry);
  // Reads the governor written at `cursor` (moved past it) and puts the
  // node under it.
  void read_governor(DepTree& node, IRSlist*& cursor);
  // The node of the count-th word `w` in direction `dir` from `node`.
  DepTree* search_word(const DepTree& node, char dir, int count, const char* w) const;
  // Puts `node` under `gov` unless that would make a cycle.
  void attach(DepTree& node, DepTree& gov, const char* gov_ref, const char* w);
  // One field list (NAME VALUE ...) of an entry.
  void read_field(DepTree& node, IRSlist* field);
  // The attribute vector written as `text`, read with the structure's
  // attribute-vector type (none without one).
  void read_atts(DepTree& node, IRSlist* text);
  // ord_insert, keeping empty nodes at the same place in text order.
  void insert_under(DepTree& gov, DepTree& node);
  // The topmost ancestors of the structured nodes go under the top node.
  void attach_to_top();
  void read_assertions(IRSlist* list);

  Deps& deps_;
  Deps* previous_;
  std::vector<Entry> entries_;
  std::vector<DepTree*> word_nodes_;  // by position; [0] is null
  std::vector<DepTree*> structured_;  // nodes whose entry gave root and category
  std::unordered_map<const DepTree*, int> entry_index_;  // node -> its entry
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEPS_READER_H_
