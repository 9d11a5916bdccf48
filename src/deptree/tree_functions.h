// Tree functions: expressions that look around a tree node (input type
// "RSTree*") or into a tree match (input type "TreeMatch*").  A condition
// C or BARRIER is any expression evaluated on a node; it is true when
// non-zero, and a missing one is false unless stated otherwise.
//
//   (exist-child [C])        the first child on which C is true (without
//                            C, the first child); null when none
//   (exist-match P [:action A])
//                            walks the subtree in post-order; at the first
//                            node where pattern P matches, evaluates A on
//                            the match, releases it and gives the input
//                            node; null when P matches nowhere.  A P that
//                            is not a pattern is reported and never
//                            matches
//   (exist-decendent C [BARRIER])
//                            the first node of the subtree, in pre-order
//                            and the node itself first, on which C is true;
//                            below the start, a node on which BARRIER is
//                            true is passed over with its subtree
//   (exist-c-commander C [BARRIER])
//                            the first node on which C is true among the
//                            node's children, then the siblings before the
//                            node, then those before its parent, and so on
//                            up to the root; stops with null before moving
//                            up to a parent on which BARRIER is true
//   (exist-c-commander-or-ancestor C [BARRIER])
//                            the same, testing each node on the way up
//                            (not the start) after its earlier siblings
//   (all-children [C])       the node when C is true on every child (C is
//                            evaluated on every child; true without C)
//   (self-or-exist-ancestor C)
//                            the first of the node and its ancestors, going
//                            up, on which C is true
//   (num-children [C])       the number of children (on which C is true)
//   (first-child) (last-child)
//                            the node when it is the first (last) child of
//                            its parent or a root
//   (get-node C1 C2 ...)     descends: for each Ci the first child of the
//                            current node on which Ci is true; null when
//                            there is none
//   (parent [E]) (tree-root [E])
//                            the node's parent (null for a root) or the
//                            root of its tree; with E, E evaluated on it
//   (match I1 I2 ... [E])    input a match: the node of the record reached
//                            by taking the I1-th sub-record of the root
//                            record, then its I2-th, ... (from 1); with E,
//                            E evaluated on that node
//   (forall-subtree-matches VAR E)
//                            input a match: for each record with a node,
//                            in pre-order, assigns the node to VAR and
//                            evaluates E on the match; the match when
//                            every result was non-zero, else null
//   (ancestor-of E1 E2)      1 when E1 and E2 give nodes and E1's node is a
//                            proper ancestor of E2's, else 0
//
// Matches made by exist-match belong to it and are released at once.
#ifndef LORVAN_DEPTREE_TREE_FUNCTIONS_H_
#define LORVAN_DEPTREE_TREE_FUNCTIONS_H_

#include <memory>
#include <vector>

#include "deptree/tree_patterns.h"
#include "expr/binary_func.h"
#include "expr/comp_exp.h"
#include "expr/ladaptor.h"
#include "expr/lvariable.h"

namespace lorvan {

class ExistChild : public RTCond {
 public:
  const char* type_name() const override { return "exist-child"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<ExistChild>(*this); }
  // Compiles the first argument as the condition.
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 protected:
  SubExp cond_;
};

class ExistMatch : public ExistChild {
 public:
  const char* type_name() const override { return "exist-match"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<ExistMatch>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  SubExp action_;
};

// The base of the searches with a barrier: C first, BARRIER second.
class BarrierSearch : public ExistChild {
 public:
  void init(IRSlist* args) override;

 protected:
  SubExp barrier_;
};

class ExistDecendent : public BarrierSearch {
 public:
  const char* type_name() const override { return "exist-decendent"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<ExistDecendent>(*this);
  }
  void* eval(void* input, int type) override;
};

class ExistCCmd : public BarrierSearch {
 public:
  const char* type_name() const override { return "exist-c-commander"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<ExistCCmd>(*this); }
  void* eval(void* input, int type) override;

 protected:
  // Whether each node on the way up is tested after its earlier siblings.
  virtual bool tests_ancestors() const { return false; }
};

class ExistCCmdOrAncestor : public ExistCCmd {
 public:
  const char* type_name() const override { return "exist-c-commander-or-ancestor"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<ExistCCmdOrAncestor>(*this);
  }

 protected:
  bool tests_ancestors() const override { return true; }
};

class AllChildren : public ExistChild {
 public:
  const char* type_name() const override { return "all-children"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AllChildren>(*this); }
  void* eval(void* input, int type) override;
};

class SelfOrExistAncestor : public RTCond {
 public:
  const char* type_name() const override { return "self-or-exist-ancestor"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<SelfOrExistAncestor>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  SubExp cond_;
};

class NumChildren : public RTCond {
 public:
  const char* type_name() const override { return "num-children"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<NumChildren>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  SubExp cond_;
};

class FirstChild : public RTCond {
 public:
  const char* type_name() const override { return "first-child"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<FirstChild>(*this); }
  void* eval(void* input, int type) override;
};

class LastChild : public RTCond {
 public:
  const char* type_name() const override { return "last-child"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<LastChild>(*this); }
  void* eval(void* input, int type) override;
};

class RSTreeGetNode : public CompExp {
 public:
  RSTreeGetNode();
  const char* type_name() const override { return "get-node"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<RSTreeGetNode>(*this);
  }
  void* eval(void* input, int type) override;
};

class RSTreeParent : public LAdaptor {
 public:
  RSTreeParent();
  const char* type_name() const override { return "parent"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<RSTreeParent>(*this);
  }
  void* convert(void* input) override;
};

class TreeRoot : public LAdaptor {
 public:
  TreeRoot();
  const char* type_name() const override { return "tree-root"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TreeRoot>(*this); }
  void* convert(void* input) override;
};

class MatchNode : public LAdaptor {
 public:
  MatchNode();
  const char* type_name() const override { return "match"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<MatchNode>(*this); }
  // Leading atoms are the indices; the first list is E.
  void init(IRSlist* args) override;
  // The node of the record the indices lead to.  An index beyond the
  // sub-records (or below 1) prints "(match ...) resulted in nil".
  void* convert(void* input) override;

 private:
  std::vector<int> path_;
};

// Its output is the match it was given, so it declares no output type: a
// match must never pass where a tree node is expected.
class ForAllMatches : public MatchNode {
 public:
  ForAllMatches();
  const char* type_name() const override { return "forall-subtree-matches"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<ForAllMatches>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  VarRef var_;
};

class AncestorOf : public BinaryFunc {
 public:
  const char* type_name() const override { return "ancestor-of"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AncestorOf>(*this); }
  // An operand declared to give something other than a node prints
  // "(ancestor-of <lexp> <lexp>): both arguments must return RSTree*" and
  // is left out, so the result is 0.
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_FUNCTIONS_H_
