// DepsPrinter: writes a dependency structure in its text form, and the
// printing switches that shape it.
//
// A printer is made for one structure, one stream and one attribute set
// (null: attribute vectors are not printed) and lives for one call.  It
// writes the lines of a subtree in sentence order: a node's dependents in
// order, the node itself just before its first dependent that follows it
// (or after all of them), and before each word line the lines of the words
// outside the tree that precede it.  Nodes without word and without root
// (such as the top node) have no line of their own.
//
// The walk is iterative, so trees of any depth print.
#ifndef LORVAN_DEPTREE_DEPS_PRINTER_H_
#define LORVAN_DEPTREE_DEPS_PRINTER_H_

#include <iosfwd>

namespace lorvan {

class DepTree;
class Deps;
class LBitSet;

// Printing switches, each 1 at start.
// PRINT_GOV: a node line shows its governor's root as "(gov ROOT)".
extern int PRINT_GOV;
// USE_ALIAS: attribute vectors print by their aliases.
extern int USE_ALIAS;
// PRINT_DEPTREE_WEIGHT: the total weight in the first line and each node's
// weight as "(w WEIGHT)".
extern int PRINT_DEPTREE_WEIGHT;

class DepsPrinter {
 public:
  DepsPrinter(const Deps& deps, std::ostream& out, const LBitSet* atts)
      : deps_(deps), out_(out), atts_(atts) {}

  // The whole text form (the caller has named every node).  Nothing when
  // there is no tree.
  void print();
  // The lines of `node`'s subtree; `cursor` is the first word position not
  // yet printed and moves past what is printed.
  void print_tree(const DepTree& node, int& cursor);
  // The lines of the words outside the tree from `cursor` up to the node's
  // pos, then the node's own line.
  void print_node(const DepTree& node, int& cursor);
  // One word for evaluation output (Deps::print_word).
  void print_word(int pos);

 private:
  // The line of a word outside the tree: position, tab, "(" word ")", and
  // " :nogap" when the next word follows without white space.
  void print_outside_word(int pos);
  // The words outside the tree from `cursor` up to (not including) `end`.
  void print_outside_words(int& cursor, int end);
  // " :nogap" when the word after `pos` follows it without white space.
  void print_nogap(int pos);
  // The governor of `node`'s line.
  void print_governor(const DepTree& node);
  // A relative reference to `gov`: a run of '<' (gov to the right) or '>',
  // one per word equal to gov's word met on the way, a blank and the word.
  void print_relative(const DepTree& node, const DepTree& gov);
  // The optional fields of a node line: relation, governor root,
  // properties, attributes and weight.
  void print_extras(const DepTree& node);

  const Deps& deps_;
  std::ostream& out_;
  const LBitSet* atts_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEPS_PRINTER_H_
