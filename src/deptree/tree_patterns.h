// Tree patterns: expressions evaluated on one tree node (input type
// "RSTree*") that give a new TreeMatch (output type "TreeMatch*") or null.
// They are the conditions of tree rules (tree_rule.h).
//
//   (node [VAR] TEST)             the node, when TEST is true on it
//   (tree [VAR] TEST SUB ...)     the node, when TEST is true on it and each
//                                 SUB matches a different child (any order)
//   (treeu [VAR] TEST SUB ...)    the same, the SUBs matching children in
//                                 order; optional SUBs may match nothing
//   (treeq [VAR] TEST SUB ...)    in order, and every SUB must match
//   (path STEP1 STEP2 ...)        a chain of nodes down the tree; the match
//                                 stands for the last node of the chain
//   (t+ PATTERN) (t* PATTERN)     one or more repetitions of PATTERN down a
//                                 chain of descendants (t* is optional)
//   (t? PATTERN)                  PATTERN, optional
//   (attachment-points TEST SELECT CONTINUE)
//                                 the node with the nodes a word placed
//                                 after it could attach to: its parent,
//                                 selected ancestors, selected nodes of the
//                                 right edge of the preceding sibling
//   (is-leaf)                     a node test: the node when it has no
//                                 children
//
// TEST, SELECT and CONTINUE are any expressions, true when non-zero; a
// missing one is false.  A pattern variable VAR is declared with type
// "RSTree*" in the innermost variable scope when the pattern is compiled;
// the pattern assigns the node it matched to it.  The optional flag matters
// only where a pattern is a SUB of tree or treeu, or a later STEP of path.
//
// Sub-patterns whose output type is not "TreeMatch*" are reported when
// compiled and left out.  Every match a pattern returns belongs to the
// caller.
#ifndef LORVAN_DEPTREE_TREE_PATTERNS_H_
#define LORVAN_DEPTREE_TREE_PATTERNS_H_

#include <memory>
#include <vector>

#include "deptree/tree_match.h"
#include "expr/lexp.h"
#include "expr/lvariable.h"

namespace lorvan {

// Base of every tree condition: input "RSTree*".
class RTCond : public LExp {
 public:
  RTCond();

  // Whether `n` is a node and `e` is given and true on it.
  static bool holds(const SubExp& e, RSTree* n);
};

// Base of the patterns proper: output "TreeMatch*", an optional flag and
// an optional pattern variable.
class RTPat : public RTCond {
 public:
  RTPat();

  bool optional() const { return optional_ != 0; }
  // Whether `e` is a pattern marked optional.
  static bool is_optional(const LExp* e);

 protected:
  // Removes a leading atom of `args` and declares it as the variable.
  void take_variable(IRSlist* args);
  // Assigns `n` to the variable, when there is one.
  void bind(RSTree* n) const;
  // Compiles `e` (null: nothing); one whose output type is not
  // "TreeMatch*" is reported with report_non_pattern() and dropped (null).
  std::unique_ptr<LExp> compile_pattern(IRSlist* e) const;
  // The message for a sub-expression `e` that is not a pattern; the
  // default is that of t+, t* and t?.
  virtual void report_non_pattern(const LExp& e) const;

  int optional_ = 0;
  VarRef var_;
};

// A pattern with one sub-expression.
class OneCondRTPat : public RTPat {
 protected:
  SubExp cond_;
};

class NodeCond : public OneCondRTPat {
 public:
  const char* type_name() const override { return "node"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<NodeCond>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
};

// A node test, not a pattern: output "RSTree*", so that it can never stand
// where a match is expected.
class LeafCond : public OneCondRTPat {
 public:
  LeafCond();
  const char* type_name() const override { return "is-leaf"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<LeafCond>(*this); }
  // Takes no argument: one that is not a pattern is reported, and any is
  // left out.
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
};

// The base of t?, t+ and t*: its sub-expression is a pattern.
class WrapRTPat : public OneCondRTPat {
 public:
  void init(IRSlist* args) override;
};

class OptRTPat : public WrapRTPat {
 public:
  OptRTPat() { optional_ = 1; }
  const char* type_name() const override { return "t?"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OptRTPat>(*this); }
  void* eval(void* input, int type) override;
};

class PlusRTPat : public WrapRTPat {
 public:
  const char* type_name() const override { return "t+"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<PlusRTPat>(*this); }
  // Walks down iteratively, so long chains do not deepen the stack.
  void* eval(void* input, int type) override;

 private:
  // The sub-pattern's match at `n` when its root record has a node.
  std::unique_ptr<TreeMatch> repetition(RSTree* n) const;
};

class StarRTPat : public PlusRTPat {
 public:
  StarRTPat() { optional_ = 1; }
  const char* type_name() const override { return "t*"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<StarRTPat>(*this); }
};

// tree: every SUB takes a child not taken yet, in any order.
class BranchCond : public RTPat {
 public:
  const char* type_name() const override { return "tree"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<BranchCond>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 protected:
  void report_non_pattern(const LExp& e) const override;
  // Adds one sub-record per SUB to `rec` (for rec's node); false when a
  // required SUB finds no child.
  virtual bool match_subs(TreeMatch& rec) const;
  // The children in order, one position shared by all SUBs; placeholders
  // for optional SUBs only when `placeholders` is set.
  bool match_subs_in_order(TreeMatch& rec, bool placeholders) const;

  SubExp test_;
  std::vector<SubExp> subs_;
};

class BranchUCond : public BranchCond {
 public:
  const char* type_name() const override { return "treeu"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<BranchUCond>(*this);
  }

 protected:
  bool match_subs(TreeMatch& rec) const override { return match_subs_in_order(rec, true); }
};

class BranchQCond : public BranchCond {
 public:
  const char* type_name() const override { return "treeq"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<BranchQCond>(*this);
  }

 protected:
  bool match_subs(TreeMatch& rec) const override { return match_subs_in_order(rec, false); }
};

class PathCond : public RTPat {
 public:
  const char* type_name() const override { return "path"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<PathCond>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 protected:
  void report_non_pattern(const LExp& e) const override;

 private:
  std::vector<SubExp> steps_;
};

class AttachmentPoints : public RTPat {
 public:
  const char* type_name() const override { return "attachment-points"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttachmentPoints>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  SubExp test_;
  SubExp select_;
  SubExp continue_;
};

// The first of `from` and its later siblings on which `pattern` gives a
// match, passing over those that `skip` (when given) holds as nodes of its
// sub-records.  Sets `child` to that node (null when none matched).
std::unique_ptr<TreeMatch> match_child(LExp& pattern, RSTree* from, const TreeMatch* skip,
                                       RSTree*& child);

// Evaluates `pattern` on node `n` and takes ownership of the match.
std::unique_ptr<TreeMatch> match_at(LExp& pattern, RSTree* n);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_PATTERNS_H_
