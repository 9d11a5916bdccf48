// PhraseMeaning: the "phrases" meaning, the way an entry's anchored phrases
// are written in lexicon text.  Reading (phrases (New York) (ago , long))
// records each listed phrase in the owning entry (LexEntry::add_phrase);
// the meaning itself stays in the entry and prints as "(phrases )" -- the
// phrases print on their own line of the entry.
#ifndef LORVAN_LEXICON_PHRASE_MEANING_H_
#define LORVAN_LEXICON_PHRASE_MEANING_H_

#include "lexicon/meaning.h"

namespace lorvan {

class PhraseMeaning : public Meaning {
 public:
  static constexpr const char* kTypeName = "phrases";

  PhraseMeaning() = default;
  PhraseMeaning(const PhraseMeaning&) = default;

  const char* type_name() const override { return kTypeName; }
  // Each list element of `s` is a phrase written like the key of a phrase
  // entry; it is added to the owner (nothing without an owner).
  void initialize(IRSlist* s) override;
  Meaning* duplicate() const override { return new PhraseMeaning(*this); }
};

// Registers the "phrases" prototype in the "Meaning" maker, which must
// exist.  Runs once.
void phrase_meaning_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_PHRASE_MEANING_H_
