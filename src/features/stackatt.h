// StackAtt: a ListAtt (listatt.h) whose lists behave as stacks and are
// matched over their common prefix: lists of different lengths unify when
// the shorter one's elements unify with the first elements of the longer
// one, and a longer stack with an equal prefix is more specific.
// Everything not declared here is ListAtt's.
#ifndef LORVAN_FEATURES_STACKATT_H_
#define LORVAN_FEATURES_STACKATT_H_

#include "features/listatt.h"

namespace lorvan {

class StackAtt : public ListAtt {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;

  // As ListAtt up to the length check; then the first m elements unify
  // (m = the smaller length), a failure giving 0, and with `doit` the
  // further elements of a longer x are appended to the stored list,
  // shared.  1 otherwise.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // Both define lists: element-wise intersect over the common prefix, then
  // the stored list is cut to the common length.  Otherwise the base rule.
  void intersect(AttVec* v, const AttVec* w) override;
  // Both define lists: element-wise minus over the common prefix; the
  // attribute stays defined.  Otherwise nothing.
  void minus(AttVec* v, const AttVec* w) override;
  // A null side: the base rule.  Otherwise the element comparisons over
  // the common prefix, then 1 when a is longer, -1 when b is, all
  // combined as ListAtt does.
  int cmp_vals(AttVal a, AttVal b) const override;
};

// Registers the StackAtt prototype.  Runs once.
void stackatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_STACKATT_H_
