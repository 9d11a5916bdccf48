// BinAtt: the binary attribute kind ('+' or '-', e.g. +plu / -plu).
//
// A binary attribute takes no word or byte storage: its bit position is its
// index, and its value is membership in the vector's binary-value set.  The
// value word is 1 for '+' and 0 for '-'.  Written +name / -name or
// (name +) / (name -).  Binary values are encoded in the codes of the
// vector's binary form, so this kind's own pack/unpack are never used.
#ifndef LORVAN_FEATURES_BINATT_H_
#define LORVAN_FEATURES_BINATT_H_

#include "features/att_interpreter.h"

namespace lorvan {

class BinAtt : public AttInterpreter {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  // Marks the index binary in the type; storage position = index.
  void update_list(AttInterpreterList* list) override;
  // 1 when the vector's binary-value set holds the position, else 0.
  AttVal att_val(const AttVec* v) const override;
  // Adds the position for non-zero x, removes it otherwise.
  void set_val(AttVec* v, AttVal x) override;
  // get_val(get_att_val(s)).
  AttVal make_val(IRSlist* s) override;
  // 1 for a text beginning with '+', 0 for '-'; otherwise prints
  // "BinAtt::get_val <text> is not a valid value for binary attribute" and
  // a line end and gives 0.
  AttVal get_val(const char* text) override;
  // "+" for non-zero, "-" for 0.
  const char* str_val(AttVal x) override;
  // Never used; print "BinAtt::pack(const AttVec*, StrBufs&) should never
  // be called\n" (resp. unpack) and do nothing.
  void pack(const AttVec* v, StrBufs& out) const override;
  void unpack(AttVec* v, ByteReader& in) override;
  bool releases_values() const override;
};

// Registers the BinAtt prototype.  Runs once.
void binatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_BINATT_H_
