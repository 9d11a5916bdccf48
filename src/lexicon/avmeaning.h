// AVMeaning: a lexicon meaning that is an attribute-value vector, the
// meaning kind the parser works with.
//
// Prototypes are made by (make-avmeaning-proto <att-type> <name>): the
// vector gets the named attribute-vector type and the prototype is entered
// in the "Meaning" maker under <name>, so an entry writes
// (<name> (attribute entries...)).  Whatever the prototype's name,
// the meaning's type name is "avm" and it prints as (avm <vector>), the
// vector printed with aliases; a printed lexicon therefore reads back only
// when a prototype named "avm" exists.
//
// Ownership: the vector is part of the meaning; its type is a named object
// that outlives it.
#ifndef LORVAN_LEXICON_AVMEANING_H_
#define LORVAN_LEXICON_AVMEANING_H_

#include "features/attvec.h"
#include "lexicon/meaning.h"

namespace lorvan {

class AVMeaning : public Meaning {
 public:
  static constexpr const char* kTypeName = "avm";

  // A meaning holding an empty vector of type `type`.
  explicit AVMeaning(const AttInterpreterList* type) : vec_(type) {}
  // A copy of the vector with the same owner.
  AVMeaning(const AVMeaning& other) : Meaning(other), vec_(other.vec_) {}

  const char* type_name() const override { return kTypeName; }
  void print_contents(std::ostream& out) const override;
  // -2 when `other` is not an "avm" meaning; otherwise AttVec::cmp of the
  // vectors (0 equal, 1 more specific, -1 more general, 2 incomparable).
  int cmp(const Meaning& other) const override;
  // 0 for a meaning of another type; otherwise whether the vectors unify.
  int consistent(const Meaning& other) const override;
  // The vector reads the first element of `s`, a list of attribute
  // entries.
  void initialize(IRSlist* s) override;
  Meaning* duplicate() const override { return new AVMeaning(*this); }

  AttVec& vec() { return vec_; }
  const AttVec& vec() const { return vec_; }

  // `m` when its type name is exactly "avm", else null.
  static AVMeaning* castToAVMeaning(Meaning* m);
  static const AVMeaning* castToAVMeaning(const Meaning* m);

 private:
  AttVec vec_;
};

// Registers the command make-avmeaning-proto and the expression "avm".
// Runs once.
void avmeaning_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_AVMEANING_H_
