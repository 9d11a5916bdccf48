// Disj8Att: the disjunctive kind with up to 8 alternatives in one byte of
// the vector.  Values, unification, comparison and text are those of
// DisjAtt (disjatt.h) on the low byte; a facet listing more than 8 values
// is reported, and the values beyond the 8th have no bit.
#ifndef LORVAN_FEATURES_DISJ8ATT_H_
#define LORVAN_FEATURES_DISJ8ATT_H_

#include "features/disjatt.h"

namespace lorvan {

class Disj8Att : public DisjunctiveAtt<CharAtt, 8> {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
};

// Registers the Disj8Att prototype.  Runs once.
void disj8att_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_DISJ8ATT_H_
