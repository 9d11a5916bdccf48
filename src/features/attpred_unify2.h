// Two-operand unification: expression kinds that take both vectors from
// operand expressions evaluated on the input (of any type), such as the
// vectors of a head and a modifier.
//
//   (unify2 [TYPE] EXP1 EXP2 [(ATT ...)])
//       a = EXP1's vector, b = EXP2's; when both exist, a.unify(b, mask, 1)
//       (changes made before a failure stay); the result is a
//   (unifiable2 [TYPE] EXP1 EXP2 [(ATT ...)])
//       1 when either vector is missing, else a.unifiable(b, mask) ("int")
//
// The attribute list, resolved in TYPE (the current type by default),
// restricts the unification to those attributes; without it (or with an
// atom or "()" in its place) every attribute takes part.  Operands that
// cannot give a vector are refused when compiled (vector_operand).
//
// Ownership: the operands are owned and copied deeply; the mask is shared
// by copies (it never changes).
#ifndef LORVAN_FEATURES_ATTPRED_UNIFY2_H_
#define LORVAN_FEATURES_ATTPRED_UNIFY2_H_

#include <memory>

#include "expr/lexp.h"
#include "lbitset.h"

namespace lorvan {

class AttVec;

class AttUnify2Pred : public LExp {
 public:
  AttUnify2Pred();
  const char* type_name() const override { return "unify2"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttUnify2Pred>(*this);
  }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 protected:
  AttVec* first_vec(void* input, int type) const;
  AttVec* second_vec(void* input, int type) const;
  const LBitSet* mask() const { return mask_.get(); }

 private:
  SubExp first_;
  SubExp second_;
  std::shared_ptr<const LBitSet> mask_;
};

class AttUnifiable2Pred : public AttUnify2Pred {
 public:
  AttUnifiable2Pred();
  const char* type_name() const override { return "unifiable2"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<AttUnifiable2Pred>(*this);
  }
  void* eval(void* input, int type) override;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTPRED_UNIFY2_H_
