// Meaning: one reading of a lexicon entry.  An entry (LexEntry) holds an
// ordered list of meanings of several kinds -- attribute vectors, strings,
// frequency counts, phrase lists and the kinds other modules add -- each
// made by duplicating a prototype of the object factory's "Meaning" maker.
//
// Text form: (TYPE CONTENTS...).  TYPE names the prototype; the prototype is
// duplicated and the duplicate reads CONTENTS with initialize().  A meaning
// prints as "(" type_name() " " contents ")".
//
// Ownership: an entry owns its meanings; a meaning only points back at the
// entry that holds it (null for prototypes and free-standing copies).  The
// "Meaning" maker owns the prototypes and destroys them with delete.
#ifndef LORVAN_LEXICON_MEANING_H_
#define LORVAN_LEXICON_MEANING_H_

#include <iosfwd>

namespace lorvan {

class IRSlist;
class LexEntry;
class ObjMaker;

class Meaning {
 public:
  Meaning() = default;

  // The name of the kind (the prototype's name for most kinds).
  virtual const char* type_name() const = 0;
  // The text between the type name and the closing parenthesis.  Base:
  // nothing.
  virtual void print_contents(std::ostream& out) const;
  // -2 when the type names differ; otherwise 0 when the two meanings are
  // equal and non-zero when they are not.  Base: 0 only for the same object.
  virtual int cmp(const Meaning& other) const;
  // Non-zero when the two meanings can describe the same reading.  Base:
  // cmp() is 0.
  virtual int consistent(const Meaning& other) const;
  // Reads the contents: the elements of `s` after the type name.  Base:
  // nothing.
  virtual void initialize(IRSlist* s);
  // A new meaning of the same kind and contents, with the same owner; the
  // caller owns it.
  virtual Meaning* duplicate() const = 0;
  virtual ~Meaning() = default;

  // "(" type_name() " " contents ")".
  void print(std::ostream& out) const;

  LexEntry* owner() const { return owner_; }
  void set_owner(LexEntry* entry) { owner_ = entry; }

  // The duplicate of the prototype named by the first atom of `s` (the
  // atom is removed), or null when there is no such prototype (nothing is
  // removed) or no "Meaning" maker.  initialize() is not called.
  static Meaning* make_meaning(IRSlist* s);

  // The "Meaning" maker of the object factory, or null before
  // meaning_maker_init() has run.
  static ObjMaker* maker();

 protected:
  Meaning(const Meaning&) = default;
  Meaning& operator=(const Meaning&) = default;

 private:
  LexEntry* owner_ = nullptr;
};

// Creates the "Meaning" maker (23 buckets; duplicates prototypes with
// duplicate(), destroys them with delete) and enters it in the object
// factory with the documentation "Maker for different kinds of meanings in
// lexicons".  Runs once.
void meaning_maker_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_MEANING_H_
