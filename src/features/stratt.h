// StrAtt: the string attribute kind, one value word pointing to an
// interned string, written (form "text") or (form text).
//
// All StrAtt attributes share one table of interned strings, strings():
// 1997 buckets, hashed with hashpjw and compared with lorvan::strcasecmp,
// so texts that differ only in ASCII letter case are one string, spelt as
// first met.  Equal strings therefore have equal value words, and the base
// rules of unification (equal words) and comparison (0 or 2) apply.
//
// Ownership: the table owns the interned strings; they live until the
// process ends, so value words stay valid in every vector.
#ifndef LORVAN_FEATURES_STRATT_H_
#define LORVAN_FEATURES_STRATT_H_

#include "features/att_interpreter.h"
#include "hashtable.h"

namespace lorvan {

class StrAtt : public LongVAtt {
 public:
  using StringTable = SHashTable<const char*>;

  // The table of interned strings shared by every StrAtt attribute.
  static StringTable& strings();
  // The interned string equal to `text` (ignoring case), made from a copy
  // of `text` on first use; null for null.
  static const char* intern(const char* text);

  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  // The interned `text`, as a value word.
  AttVal get_val(const char* text) override;
  // get_val of the first value text.
  AttVal make_val(IRSlist* s) override;
  // The string itself.
  const char* str_val(AttVal x) override;
  // (name "string"), the string written as it is; a defined attribute
  // without string (value word 0, read from a binary form) writes ~name.
  void print(std::ostream& out, const AttVec* v) override;
  // The string and a NUL byte.
  void pack(const AttVec* v, StrBufs& out) const override;
  // Reads a NUL-terminated string and stores it interned.
  void unpack(AttVec* v, ByteReader& in) override;
};

// Registers the StrAtt prototype.  Runs once.
void stratt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_STRATT_H_
