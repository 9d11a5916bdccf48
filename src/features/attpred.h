// Attribute predicates: expression kinds whose input is an attribute-value
// vector ("AttVec*").  They test and change the feature structures of
// lexical items, parse items and tree nodes in rules and conditions.
//
//   (defined [TYPE] (ATT ...))          filter: every ATT is defined
//   (defined-one-of [TYPE] (ATT ...))   filter: some ATT is defined
//   (undefine [TYPE] (ATT ...))         undefines them; the input
//   (strict-unifiable [TYPE] (ATT ...) (VECTOR))
//                                       filter: some ATT is defined and
//                                       VECTOR is unifiable with the input
//   (unifiable [TYPE] (VECTOR))         filter: the input unifies with VECTOR
//   (unify [TYPE] (VECTOR))             the input after unifying VECTOR
//                                       into it, null when that fails
//   (modify [TYPE] (VECTOR))            overwrites with VECTOR; the input
//   (contain [TYPE] (VECTOR))           filter: the input is at least as
//                                       specific as VECTOR on its attributes
//   (value ATT [VALUE-TYPE] [TYPE] [EXP])
//                                       ATT's value word, or EXP's result
//                                       on it (typed VALUE-TYPE, "AttVal"
//                                       by default)
//   (att-str-val ATT [TYPE])            the text of ATT's value ("char*")
//   (attvec2str)                        the input printed with aliases
//
// A filter gives its input for true and null for false; a null input gives
// null (0).  TYPE, the attribute names and VECTOR are resolved once, at
// compile time (attpred_args.h); a kind whose type or attribute could not
// be resolved yields null.  An index compiled for one type and used on a
// vector of a smaller type counts as an undefined attribute.
//
// Ownership: a kind owns its constant vector (HeldVec) and its inner
// expression; copies are deep.  attvec2str keeps its latest text, valid
// until its next evaluation.
#ifndef LORVAN_FEATURES_ATTPRED_H_
#define LORVAN_FEATURES_ATTPRED_H_

#include <memory>
#include <string>
#include <vector>

#include "expr/lexp.h"
#include "features/attpred_args.h"
#include "features/attvec.h"

namespace lorvan {

// The base: input and output type "AttVec*"; eval() checks the input type,
// turns a null input into null and hands the vector to eval_vec().
class AttPred : public LExp {
 public:
  AttPred();
  void* eval(void* input, int type) final;

 protected:
  virtual void* eval_vec(AttVec& v) = 0;
  // The filter result: the vector for true, null for false.
  static void* pass(AttVec& v, bool ok) { return ok ? &v : nullptr; }
  // The type named by the leading argument of `arg` (or the current one),
  // with `arg` moved past it.  A type that cannot be resolved makes the
  // expression yield null.
  const AttInterpreterList* take_type(IRSlist*& arg);

 private:
  bool usable_ = true;
};

// (defined [TYPE] (ATT ...)): the listed attributes.
class AttDefPred : public AttPred {
 public:
  const char* type_name() const override { return "defined"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AttDefPred>(*this); }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v) override;
  // Reads the attribute list that `arg` points to; returns the argument
  // after it.
  IRSlist* read_atts(IRSlist* arg, const AttInterpreterList* type);
  bool all_defined(const AttVec& v) const;
  bool one_defined(const AttVec& v) const;

  std::vector<int> atts_;
};

class AttUnDefPred : public AttDefPred {
 public:
  const char* type_name() const override { return "undefine"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttUnDefPred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

class AttDefOnePred : public AttDefPred {
 public:
  const char* type_name() const override { return "defined-one-of"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttDefOnePred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

// (strict-unifiable [TYPE] (ATT ...) (VECTOR)): some attribute defined, and
// AttVec::unifiable(VECTOR, input) -- the constant on the left.
class AttDefAndUnifiablePred : public AttDefOnePred {
 public:
  const char* type_name() const override { return "strict-unifiable"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttDefAndUnifiablePred>(*this);
  }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v) override;

 private:
  HeldVec vec_;
};

// The kinds over one constant vector: [TYPE] (VECTOR).
class AttWithAttPred : public AttPred {
 public:
  void init(IRSlist* args) override;

 protected:
  HeldVec vec_;
  std::vector<int> vec_atts_;  // the attributes defined in vec_, increasing
};

// (unifiable [TYPE] (VECTOR)): every attribute of VECTOR unifies into the
// input (nothing changes).
class AttUnifiablePred : public AttWithAttPred {
 public:
  const char* type_name() const override { return "unifiable"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttUnifiablePred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

// (unify [TYPE] (VECTOR)): input.unify(VECTOR, no mask, 1); changes made
// before a failing attribute stay.
class AttUnifyPred : public AttUnifiablePred {
 public:
  const char* type_name() const override { return "unify"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttUnifyPred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

// (modify [TYPE] (VECTOR)): input.modify_with(VECTOR).
class AttModifyPred : public AttWithAttPred {
 public:
  const char* type_name() const override { return "modify"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttModifyPred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

// (contain [TYPE] (VECTOR)): every attribute of VECTOR is defined in the
// input, binary ones with the same value, the others comparing (kind's
// cmp_vals(constant, input)) all equal or all more general.  An input of
// another type prints "contain: the vectors have different types (<input
// type>, <constant type>)" and fails.
class AttContainPred : public AttWithAttPred {
 public:
  const char* type_name() const override { return "contain"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttContainPred>(*this);
  }

 protected:
  void* eval_vec(AttVec& v) override;
};

// (value ATT [VALUE-TYPE] [TYPE] [EXP]): the atoms after ATT are VALUE-TYPE
// and TYPE in that order, the first list is EXP.  The output type is EXP's,
// or VALUE-TYPE's without EXP.  An unknown attribute prints
// "AttValPred::init: the attribute name '<name>' is not found".
class AttValPred : public AttPred {
 public:
  const char* type_name() const override { return "value"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AttValPred>(*this); }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v) override;

 private:
  int att_ = -1;
  SubExp exp_;
  int value_type_ = -1;
};

// (att-str-val ATT [TYPE]): output "char*", AttVec::str_val of ATT (null
// when undefined).  An unknown attribute prints "AttStrVal::init: the
// attribute name '<name>' is not found".
class AttStrVal : public AttPred {
 public:
  AttStrVal();
  const char* type_name() const override { return "att-str-val"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AttStrVal>(*this); }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v) override;

 private:
  int att_ = -1;
};

// (attvec2str): output "char*", the input printed with aliases.  Arguments
// are accepted and ignored.
class AttVec2Str : public AttPred {
 public:
  AttVec2Str();
  const char* type_name() const override { return "attvec2str"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AttVec2Str>(*this); }

 protected:
  void* eval_vec(AttVec& v) override;

 private:
  std::string text_;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTPRED_H_
