// The expression kinds that build relation records and fill property lists:
//
//   (make-rel name entry ...)         a new TRel named `name` holding one
//                                     entry per property entry; the caller
//                                     owns it
//   (add-propvals lexp entry ...)     adds the entries to the property list
//                                     (a TRel or any PropList) that lexp
//                                     yields on the input, and returns it;
//                                     null for a null input or list
//
// Entries are written (PROPERTY VALUE [WEIGHT]) as FieldInstantiator reads
// them, and every entry's expressions are evaluated on the kind's input.
// Both kinds accept any input and declare the output type "TRel*".
#ifndef LORVAN_DEPTREE_TREL_EXPS_H_
#define LORVAN_DEPTREE_TREL_EXPS_H_

#include <memory>
#include <vector>

#include "deptree/field_instantiator.h"
#include "expr/lexp.h"

namespace lorvan {

class PropList;

class MakeRel : public LExp {
 public:
  MakeRel();
  const char* type_name() const override { return "make-rel"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<MakeRel>(*this); }
  // Without a name prints "make-rel: the relation has no name"; the
  // expression then yields null.
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  const char* name_ = nullptr;  // the copy in ValType's name table
  std::vector<FieldInstantiator> entries_;
};

class AddPropVals : public LExp {
 public:
  AddPropVals();
  const char* type_name() const override { return "add-propvals"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AddPropVals>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  SubExp list_exp_;
  std::vector<FieldInstantiator> entries_;
};

// Adds one entry per element of `entries`, made on (input, type), to `list`.
void add_entries(PropList& list, const std::vector<FieldInstantiator>& entries, void* input,
                 int type);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREL_EXPS_H_
