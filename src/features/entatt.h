// EntAtt: the entity attribute kind, an opaque value word that only code
// (never a command file) supplies, such as a pointer to an object of the
// caller's own.
//
// A description may carry two functions set by code: a unification
// function (stored word, other word -> unified word, 0 for failure) and a
// printing function.  new_interp() copies both from the prototype, where
// they are empty unless code set them there.  Without a unification
// function two defined values unify when the words are equal.  A
// unification function must give f(a, a) == a, since a nested vector
// (VecAtt, ListAtt) shared by two vectors unifies with itself without a
// look at its attributes.
//
// Entity values are not serialised: pack and unpack do nothing, so a
// vector read back from its binary form has the attribute defined with
// its word left as it was (0 in a new vector).
//
// Ownership: the functions are not owned; the str_val buffer belongs to
// the description and its text is valid until the next str_val on it.
#ifndef LORVAN_FEATURES_ENTATT_H_
#define LORVAN_FEATURES_ENTATT_H_

#include <iosfwd>
#include <string>

#include "features/att_interpreter.h"

namespace lorvan {

class EntAtt : public LongVAtt {
 public:
  // The unified word of `stored` and `x`, or 0 when they do not unify.
  using UnifyFn = AttVal (*)(AttVal stored, AttVal x);
  // Writes the text of a value.
  using PrintFn = void (*)(AttVal x, std::ostream& out);

  const char* type_name() const override;
  // A fresh description with this one's two functions.
  AttInterpreter* new_interp() const override;
  // (default V) sets the default value to the base make_val of V (0 for a
  // text beginning with '~'; anything else is reported).  Any other facet
  // prints "EntAtt::EntAtt unknown facet " facet and a line end.
  void init(IRSlist* facets) override;
  // Defined: without unification function, whether the stored word equals
  // x; with one, r = f(stored, x): 0 when r is 0, else 1, and with `doit`
  // the stored word becomes r.  Not defined: stores x when `doit`; 1.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // The printing function's text, or "0x" and the word in hexadecimal.
  const char* str_val(AttVal x) override;
  void pack(const AttVec* v, StrBufs& out) const override;
  void unpack(AttVec* v, ByteReader& in) override;

  UnifyFn unify_function() const { return unify_; }
  void unify_function(UnifyFn f) { unify_ = f; }
  PrintFn print_function() const { return print_; }
  void print_function(PrintFn f) { print_ = f; }

 private:
  UnifyFn unify_ = nullptr;
  PrintFn print_ = nullptr;
  std::string text_;
};

// Registers the EntAtt prototype.  Runs once.
void entatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ENTATT_H_
