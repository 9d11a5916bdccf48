// IntAtt: the integer attribute kind, one value word, written (n 3).
//
// The value word is the number's 32-bit pattern (zero-extended).  Two
// defined values unify when they are equal; comparison is the unsigned
// order of the two words (-1, 0, 1).  Text that is not a number reads as
// 0 without a message.
//
// Ownership: a description owns the buffer of its str_val text, which is
// valid until the next str_val on the same description.
#ifndef LORVAN_FEATURES_INTATT_H_
#define LORVAN_FEATURES_INTATT_H_

#include "features/att_interpreter.h"

namespace lorvan {

// The value word of a base-10 number text (strtol); 0 for null or text that
// does not begin with a number.
AttVal att_number(const char* text);

class IntAtt : public LongVAtt {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  // att_number of the first value text.
  AttVal make_val(IRSlist* s) override;
  AttVal get_val(const char* text) override;
  // -1 when a < b, 1 when a > b, 0 when equal, as unsigned words.
  int cmp_vals(AttVal a, AttVal b) const override;
  // The low 32 bits printed as a signed number ("%d").
  const char* str_val(AttVal x) override;
  // "(" name " " number ")", also for a negative number, which the base
  // rule would print as -name.
  void print(std::ostream& out, const AttVec* v) override;

 private:
  char text_[32] = {};
};

// Registers the IntAtt prototype.  Runs once.
void intatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_INTATT_H_
