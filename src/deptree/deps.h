// Deps: the dependency analysis of one sentence -- its words with the white
// space before each, a tree of DepTree nodes under one top node, named
// nodes, assertions (relation records), focus positions and an id tag.
//
// Words occupy positions 1..n-1; entry 0 is a null entry added with the
// first word or space, so sentleng() counts it.  Positions are 16-bit, so a
// structure holds at most kMaxWordPosition words; add_word() refuses more
// with a message.  The top node has no word (pos, low and high -1) and its
// children are the top-level nodes of the sentence.
//
// Text form (print / read): one list, "(:id TAG" first (with the total
// weight in a comment); then each word is a line
//   NAME (WORD ROOT CATEGORY GOVERNOR [RELATION] [(gov ROOT)]
//         [(PROP VALUE)...] [(atts VECTOR)] [(w WEIGHT)]) [:nogap]
// where ROOT "~" stands for the word itself, GOVERNOR is "*" (none), a
// node name, "-" and a name, or a run of "<" (">") and a word: the n-th
// such word to the right (left); "(gov ROOT)" is not read back.  Word
// lines come in sentence order, since reading numbers them.  Words outside
// the tree are lines of their position and "(WORD)".  An empty node's line
// has "()" as its word.
// ":nogap" after a line means the next word follows without white space.
// Then optionally "assertions: ( (NAME (PROP VALUE [WEIGHT])...) ... )".
// Binary form (pack / unpack): see deps_binary.h.
//
// Ownership: the structure owns every node it made (new_node), every
// assertion and every string (one arena, first block 512 bytes); strings
// handed out (words(...), node fields) live until clear() or destruction.
// clear() makes the structure reusable.  The attribute-vector type is not
// owned.  The reference count is managed by the structure's holders.
//
// Not thread-safe; the program is single-threaded.
#ifndef LORVAN_DEPTREE_DEPS_H_
#define LORVAN_DEPTREE_DEPS_H_

#include <iosfwd>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "deptree/dep_tree.h"
#include "deptree/trel.h"
#include "features/attvec.h"
#include "lbitset.h"
#include "strbufs.h"
#include "tarray.h"

namespace lorvan {

class ByteReader;
class IRSlist;
class LexItem;

class Deps : public RefCounter {
 public:
  // The largest word position; positions are 16-bit signed numbers.
  static constexpr int kMaxWordPosition = 32767;

  // The structure being read by read(), for value types that look nodes up
  // by name (DepTreeValue); null when none is being read.
  static Deps* the_deps;

  // An empty structure with a fresh id tag, whose nodes' attribute vectors
  // are of type `type` (null: none).
  explicit Deps(const AttInterpreterList* type = nullptr);
  // Destroys every node, assertion and string.
  virtual ~Deps();
  Deps(const Deps&) = delete;
  Deps& operator=(const Deps&) = delete;

  // A new node without word owned by this structure.
  virtual DepTree* new_node();
  // Appends the binary form (deps_binary.h).
  virtual void pack(StrBufs& out) const;
  // Replaces the contents by the binary form read from `in`.  A truncated
  // or damaged form prints a message and leaves the structure empty
  // (false).
  virtual bool unpack(ByteReader& in);
  // The same over the bytes [cursor, end); the cursor moves past the form.
  bool unpack(const char*& cursor, const char* end);

  // Empties the arena, words and spaces, destroys every node and assertion,
  // resets the empty-node counter, the named nodes, the tree and the foci,
  // and takes a fresh id tag.  The attribute-vector type stays.
  void clear();
  // Makes the top node and puts `node` (if any) under it.
  void init(DepTree* node);

  // ---- Words ----

  // The analyzer's protocol: the first call of either adds entry 0 to both
  // arrays; spaces are padded with "" so that entry i is the space before
  // word i.  add_space() before a word sets (or extends) that word's
  // space; null records "".  add_word() returns the new word's position, 0
  // when nothing was added (null text, or the sentence is full: reported
  // once per sentence).
  int add_word(const char* text);
  void add_space(const char* text);
  // Copies every word and space of a lexical analyzer (LexAnalyzer), or of
  // anything with the same reading interface: sentleng(), word(i) and
  // space(i), where a null space means no white space.
  template <class Analyzer>
    requires requires(const Analyzer& a, int i) {
      a.sentleng();
      a.word(i);
      a.space(i);
    }
  void words(const Analyzer& analyzer) {
    for (int i = 1; i < analyzer.sentleng(); ++i) {
      add_space(analyzer.space(i));
      add_word(analyzer.word(i));
    }
  }
  // Focus positions come from the analyzer the same way:
  // setFoci(analyzer.foci()).

  // A new node for the words lo..hi of lexical item `item`
  // (DepTree::init(item, lo, hi)); the item's own span gives a node for the
  // whole item.  The item's words must be this structure's: copy them with
  // words(analyzer) first.
  DepTree* lexitem_node(const LexItem& item, int lo, int hi);

  // Word i / the space before it; "" outside 1..n-1 (and for no space).
  const char* word(int i) const;
  const char* space(int i) const;
  // Words i..j (clamped to the sentence) joined in the arena, with one
  // blank before each later word whose space is not empty; "" when empty.
  const char* words(int i, int j);
  // The text of the node's subtree span.
  const char* words(const DepTree* node);
  // The word count including entry 0 (0 for no words).
  int sentleng() const { return words_.length(); }

  // ---- Nodes ----

  // The top node, or null when there is no analysis.
  DepTree* tree() const { return tree_; }
  // Makes `node` (one of this structure's) the top node.
  void tree(DepTree* node) { tree_ = node; }
  // The first node of the tree (pre-order) whose pos is p, or null.
  DepTree* at_pos(int p) const;
  // Names an unnamed node: its pos in decimal when pos > 0, otherwise (or
  // when another node has that name) "E<n>" with the empty-node counter,
  // skipping names already taken.
  void name_node(DepTree* node);
  // Gives `node` the name (copied) and lists it among the named nodes.
  void named_node(const char* name, DepTree* node);
  // The named node of that name (case-insensitive), or null.
  DepTree* get_named_node(const char* name) const;
  // Gives every word position 1..n-1 that no node of the tree occupies a
  // node (root and word the word, relation "punc") under the lowest common
  // ancestor of the nearest attached nodes on its left and right (the top
  // node when one is missing).  Makes the top node when there is no tree.
  void attachIsolatedNodes();
  // The sum of the weights of the tree's nodes.
  float total_weight() const;

  // ---- Other contents ----

  const AttInterpreterList* att_type() const { return att_type_; }
  // A copy of `text` in the arena (null for null).
  const char* dup_str(const char* text);
  const char* id_tag() const { return id_tag_; }
  void id_tag(const char* text) { id_tag_ = dup_str(text); }
  // Takes the next value of the global tag counter as the id tag.
  void assign_id_tag();
  // Takes ownership of a relation record.
  void add_rel(std::unique_ptr<TRel> rel);
  const std::vector<std::unique_ptr<TRel>>& assertions() const { return assertions_; }
  void setFoci(const LBitSet& set) { foci_ = set; }
  const LBitSet& foci() const { return foci_; }

  // ---- Text form (DepsPrinter, DepsReader) ----

  // Names every unnamed node of the tree, then prints the text form with
  // the attributes in `atts` (null: no attribute vectors).  Nothing when
  // there is no tree.
  void print(std::ostream& out, const LBitSet* atts);
  // One word for evaluation output: " (" word, tab, [root or "~", blank,
  // vector or category], tab, governor as a relative reference with its
  // relation or "*", ")".
  void print_word(std::ostream& out, int pos, const LBitSet* atts) const;
  // Replaces the contents by the structure written in `text` / `list`
  // (the list's elements may be consumed).  Bad entries are reported on
  // the error stream and read as well as they can be.
  void read(const char* text);
  void read(IRSlist* list);

 private:
  // The look-up key of a name.
  static std::string name_key(const char* name);

  StrBufs arena_;
  TArray<const char*> words_;
  TArray<const char*> spaces_;
  const AttInterpreterList* att_type_;
  DepTree* tree_ = nullptr;
  std::vector<DepTree*> named_;  // in the order they were named
  std::unordered_map<std::string, DepTree*> by_name_;  // the first node of each name
  std::vector<std::unique_ptr<TRel>> assertions_;
  int empty_counter_ = 0;
  const char* id_tag_ = nullptr;
  std::vector<std::unique_ptr<DepTree>> nodes_;
  LBitSet foci_;
  bool overflow_reported_ = false;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEPS_H_
