// The disjunctive attribute kinds, whose value is a set of allowed
// alternatives: DisjAtt (a 32-bit mask in a value word) here, and Disj8Att
// (an 8-bit mask in a byte, disj8att.h).  Also the value table that they
// and EnumAtt read from their (allowable-values v ...) facet.
//
// Values.  Entry 0 of the value table is "~"; entries 1.. are the
// allowable values in the order given.  Entry k (k >= 1) is bit k-1 of the
// mask, so (num sg pl) allows both values, (num sg) one, and ~num or
// (num ~) none (mask 0).  Entries beyond the mask width have no bit of
// their own: like unknown value names they contribute nothing to a mask.
//
// Unification of two defined values is one AND: the masks must share a bit
// (or both be 0), and the stored mask narrows to the intersection.  It
// allocates nothing.  Comparison is subset order: 1 when a allows fewer
// alternatives than b, -1 more, 0 equal, 2 otherwise (and whenever exactly
// one of them is 0).
//
// Ownership: a description owns its value table and its str_val buffer;
// a str_val text is valid until the next str_val on the same description.
#ifndef LORVAN_FEATURES_DISJATT_H_
#define LORVAN_FEATURES_DISJATT_H_

#include <string>

#include "features/att_interpreter.h"
#include "tarray.h"

namespace lorvan {

// The value table of the kinds declared with allowable values.
class AttValueTable {
 public:
  // For each facet list of `facets` whose first atom is exactly
  // "allowable-values": appends "~", then a copy of every following atom.
  // A facet that lists more than `limit` values prints "The attribute "
  // name " can only have up to " limit " values, " count " found." and a
  // line end; its values are kept all the same.  Other facets are ignored.
  void read(IRSlist* facets, const char* name, int limit);

  // The first position holding exactly `text` (case-sensitive), or -1.
  int position(const char* text) const;
  // Entry k; k outside the table is a programming error that stops the
  // program.
  const char* entry(int k) const { return values_[k].c_str(); }
  int size() const { return values_.length(); }

 private:
  TArray<std::string> values_;
};

// The rules shared by DisjAtt and Disj8Att over a mask of kBits bits held by
// the storage base `Storage` (LongVAtt or CharAtt).
template <class Storage, int kBits>
class DisjunctiveAtt : public Storage {
 public:
  // Reads the value table ("allowable-values"; more than kBits values in
  // one facet is reported).
  void init(IRSlist* facets) override;
  // The bit of `text`'s table position; 0 for "~", for an entry without a
  // bit and for an unknown text, which prints type_name() "::get_val:
  // Unknown attribute value " text and a line end unless it begins with
  // '~'.
  AttVal get_val(const char* text) override;
  // 0 when the first value text begins with '~'; otherwise the OR of
  // get_val of every value text of `s` (which is consumed).
  AttVal make_val(IRSlist* s) override;
  // Defined in v with mask c: 1 when c and x are both 0; else 0 when they
  // share no bit; else 1, and with `doit` the stored mask becomes c AND x.
  // Not defined: stores x when `doit`; 1.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  int cmp_vals(AttVal a, AttVal b) const override;
  // "~" for 0; otherwise the names of the set bits, lowest bit first,
  // separated by single spaces.
  const char* str_val(AttVal x) override;
  // The storage base's form; a mask with a bit outside the value table
  // (written under another definition of the attribute) prints a message,
  // is not stored, and fails `in`.
  void unpack(AttVec* v, ByteReader& in) override;

  const AttValueTable& values() const { return values_; }

 protected:
  static constexpr AttVal kMask = kBits >= 32 ? AttVal{0xffffffffu} : (AttVal{1} << kBits) - 1;

 private:
  // The bits that name an entry of the table.
  AttVal valid_bits() const;

  AttValueTable values_;
  std::string text_;
};

// The disjunctive kind with up to 32 alternatives in a value word.
class DisjAtt : public DisjunctiveAtt<LongVAtt, 32> {
 public:
  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
};

extern template class DisjunctiveAtt<LongVAtt, 32>;
extern template class DisjunctiveAtt<CharAtt, 8>;

// Registers the DisjAtt prototype.  Runs once.
void disjatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_DISJATT_H_
