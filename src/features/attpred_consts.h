// Constants of the attribute predicates: values fixed when the expression
// is compiled and returned whatever the input.
//
//   (attvec [TYPE] (VECTOR))          the vector ("AttVec*")
//   (att-set [TYPE] [not] (ATT ...))  the set of the attribute indexes
//                                     ("LBitSet*"), complemented with not
//                                     (an infinite set); no argument at
//                                     all gives null
//   (att-index TYPE ATT)              AttInterpreterList::get_att(TYPE,
//                                     ATT) ("int"; -1 with its messages)
//
// In att-set a single atom before the list is the flag when it is "not"
// (case-insensitive) and the type name otherwise; with two atoms the first
// is the type and the second the flag.
//
// Ownership: attvec owns its vector (HeldVec: copies of the expression get
// their own vector, since users such as unify2 may change it); copies of
// att-set share the immutable set.
#ifndef LORVAN_FEATURES_ATTPRED_CONSTS_H_
#define LORVAN_FEATURES_ATTPRED_CONSTS_H_

#include <memory>

#include "expr/lconst.h"
#include "features/attpred_args.h"
#include "lbitset.h"

namespace lorvan {

class AttVecConst : public LConst {
 public:
  AttVecConst();
  AttVecConst(const AttVecConst& other);
  const char* type_name() const override { return "attvec"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttVecConst>(*this);
  }
  void init(IRSlist* args) override;

 private:
  HeldVec vec_;
};

class AttSetConst : public LConst {
 public:
  AttSetConst();
  const char* type_name() const override { return "att-set"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttSetConst>(*this);
  }
  void init(IRSlist* args) override;

 private:
  std::shared_ptr<LBitSet> set_;
};

class AttIndex : public LConst {
 public:
  AttIndex();
  const char* type_name() const override { return "att-index"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AttIndex>(*this); }
  void init(IRSlist* args) override;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTPRED_CONSTS_H_
