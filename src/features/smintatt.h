// SmIntAtt: the small-integer attribute kind, 0..255 in one byte of the
// vector, written (n 3).
//
// Read like IntAtt (intatt.h) and cut to the low 8 bits.  Unification
// never fails: an undefined attribute takes the other value (with doit),
// a defined one keeps its own, so the first value met stays.  Two
// different values compare as incomparable (2).
//
// str_val texts live in one buffer shared by the whole kind, valid until
// the next SmIntAtt str_val.
#ifndef LORVAN_FEATURES_SMINTATT_H_
#define LORVAN_FEATURES_SMINTATT_H_

#include "features/att_interpreter.h"

namespace lorvan {

class SmIntAtt : public CharAtt {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  // att_number of the first value text, low 8 bits.
  AttVal make_val(IRSlist* s) override;
  // Stores x when `doit` is set and v does not define the attribute;
  // always 1.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // "%d".
  const char* str_val(AttVal x) override;
};

// Registers the SmIntAtt prototype.  Runs once.
void smintatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_SMINTATT_H_
