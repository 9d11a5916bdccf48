// EnumAtt: the enumerated attribute kind -- exactly one of a list of
// values, held in one byte of the vector.
//
// Declared with (allowable-values v ...); the value word is the value's
// position in the value table (disjatt.h): 1..255 for real values, 0 for
// "~".  A byte cannot name more than 255 values, so a facet listing more is
// reported and the values beyond the 255th read as "~".  Unification and
// comparison are the base rules: equal positions.
//
// Ownership: a description owns its value table.
#ifndef LORVAN_FEATURES_ENUMATT_H_
#define LORVAN_FEATURES_ENUMATT_H_

#include "features/att_interpreter.h"
#include "features/disjatt.h"

namespace lorvan {

class EnumAtt : public CharAtt {
 public:
  static constexpr int kMaxValues = 255;

  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  // Reads the value table ("allowable-values").
  void init(IRSlist* facets) override;
  // The table position of `text` (case-sensitive).  Absent: 0, and unless
  // the text begins with '~' prints "EnumAtt::get_val: " text " is not an
  // allowable value of " name and a line end.
  AttVal get_val(const char* text) override;
  // get_val of the first value text only.
  AttVal make_val(IRSlist* s) override;
  // "~" for 0, else table entry x.
  const char* str_val(AttVal x) override;
  // One byte; a position outside the value table (written under another
  // definition of the attribute) prints a message, is not stored, and
  // fails `in`.
  void unpack(AttVec* v, ByteReader& in) override;

  const AttValueTable& values() const { return values_; }

 private:
  AttValueTable values_;
};

// Registers the EnumAtt prototype.  Runs once.
void enumatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ENUMATT_H_
