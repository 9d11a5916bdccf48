// The control forms of the expression language: sequencing, composition,
// conditionals, loops, boolean connectives, constants of truth, identity,
// equality and access to the halves of a TwoArgs pair.
//
// Every sub-expression is evaluated on the form's own (input, type) unless
// said otherwise, in the order written; arguments that do not compile are
// left out (so they do not keep a position), except for the operands of
// `eq`, which are positional.  Each class's type_name() is the name it is
// registered under.  All sub-expressions are owned and copied deeply.
#ifndef LORVAN_EXPR_CONTROL_FORMS_H_
#define LORVAN_EXPR_CONTROL_FORMS_H_

#include <memory>
#include <vector>

#include "expr/binary_func.h"
#include "expr/comp_exp.h"
#include "expr/lexp.h"
#include "slist.h"

namespace lorvan {

// prog1: evaluates each once; the first result (0 with none).
class Prog1Exp : public CompExp {
 public:
  const char* type_name() const override { return "prog1"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<Prog1Exp>(*this); }
  void* eval(void* input, int type) override;
};

// comp: each sub-expression gets the previous one's result, typed with the
// previous one's output type; the final value (the input with none).
class FuncComp : public CompExp {
 public:
  const char* type_name() const override { return "comp"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<FuncComp>(*this); }
  void* eval(void* input, int type) override;
};

// if: the second's result when the first is non-zero, else the third's; a
// missing branch gives 0; further sub-expressions are ignored.
class IfAction : public CompExp {
 public:
  const char* type_name() const override { return "if"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<IfAction>(*this); }
  void* eval(void* input, int type) override;
};

// while: as long as the first is non-zero, evaluates the others; then 0.
class WhileAction : public CompExp {
 public:
  const char* type_name() const override { return "while"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<WhileAction>(*this); }
  void* eval(void* input, int type) override;
};

// when: 0 when the first is 0; otherwise evaluates the others and returns
// the first's result.
class WhenAction : public CompExp {
 public:
  const char* type_name() const override { return "when"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<WhenAction>(*this); }
  void* eval(void* input, int type) override;
};

// cond: clauses (lists of expressions) tried in order; the first clause
// whose first expression is non-zero evaluates the rest and gives the last
// result (the condition's own when there is no rest).  No clause fires: 0.
// An empty clause never fires.  The output type is that of the last
// expression compiled.
class CondAction : public LExp {
 public:
  const char* type_name() const override { return "cond"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<CondAction>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  std::vector<std::vector<SubExp>> clauses_;
};

// one-of: (one-of <lexp> ... :is <pred>).  The candidates run from the first
// argument up to the first atom.  For each candidate, the predicate is
// evaluated on (its result, its output type); the first non-zero answer is
// the result, otherwise (and always without a predicate) 0.
class OneOf : public LExp {
 public:
  const char* type_name() const override { return "one-of"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OneOf>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  std::vector<SubExp> candidates_;
  SubExp predicate_;
};

// list: an Slist* of the results of all sub-expressions, in order.  The list
// belongs to the expression and is refilled at each evaluation, so every
// evaluation returns the same list object; a copy has a list of its own.
class CollectExp : public CompExp {
 public:
  CollectExp();
  CollectExp(const CollectExp& other);
  const char* type_name() const override { return "list"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<CollectExp>(*this); }
  void* eval(void* input, int type) override;

 private:
  Slist results_;
};

// not: without sub-expressions, 1 for a null input and 0 otherwise; with
// them, 0 as soon as one is non-zero, and the input when all are 0.
class NegExp : public CompExp {
 public:
  const char* type_name() const override { return "not"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<NegExp>(*this); }
  void* eval(void* input, int type) override;
};

// or: the first non-zero result; 0 when all are 0; the input with none.
class OrExp : public CompExp {
 public:
  const char* type_name() const override { return "or"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OrExp>(*this); }
  void* eval(void* input, int type) override;
};

// xor: 1 when an odd number of results are non-zero (all are evaluated).
class XorExp : public CompExp {
 public:
  const char* type_name() const override { return "xor"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<XorExp>(*this); }
  void* eval(void* input, int type) override;
};

// and: 0 as soon as one result is 0; otherwise the last result; the input
// with none.
class AndExp : public CompExp {
 public:
  const char* type_name() const override { return "and"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AndExp>(*this); }
  void* eval(void* input, int type) override;
};

// t: 1.
class AlwaysTrue : public LExp {
 public:
  const char* type_name() const override { return "t"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AlwaysTrue>(*this); }
  void* eval(void* input, int type) override;
};

// nil: 0.
class AlwaysFalse : public LExp {
 public:
  const char* type_name() const override { return "nil"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AlwaysFalse>(*this); }
  void* eval(void* input, int type) override;
};

// is-nil: 1 for a null input, else 0.
class NilPred : public LExp {
 public:
  const char* type_name() const override { return "is-nil"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<NilPred>(*this); }
  void* eval(void* input, int type) override;
};

// ident: the input.
class Ident : public LExp {
 public:
  const char* type_name() const override { return "ident"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<Ident>(*this); }
  void* eval(void* input, int type) override;
};

// eq: after the input type check, 1 when both operands give the same value,
// else 0; 0 when an operand is missing.
class EqExp : public BinaryFunc {
 public:
  const char* type_name() const override { return "eq"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<EqExp>(*this); }
  void* eval(void* input, int type) override;
};

// 1/2 and 2/2: the input is a TwoArgs* (input type "TwoArgs*"); the first
// (second) value, or, with an argument expression, that expression
// evaluated on the value and its type.  A null input gives null.
class PairElement : public LExp {
 public:
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 protected:
  explicit PairElement(bool second);

 private:
  bool second_;
  SubExp exp_;
};

class OneOfTwo : public PairElement {
 public:
  OneOfTwo() : PairElement(false) {}
  const char* type_name() const override { return "1/2"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OneOfTwo>(*this); }
};

class TwoOfTwo : public PairElement {
 public:
  TwoOfTwo() : PairElement(true) {}
  const char* type_name() const override { return "2/2"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<TwoOfTwo>(*this); }
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_CONTROL_FORMS_H_
