#include "lexicon/phrase_meaning.h"

#include "command/irslist.h"
#include "command/obj_factory.h"
#include "lexical/tokenizer.h"
#include "lexicon/lex_entry.h"
#include "lexicon/phrase.h"

namespace lorvan {

void PhraseMeaning::initialize(IRSlist* s) {
  if (s == nullptr || owner() == nullptr) return;
  for (const IRSlist* words = s->first(); words != nullptr; words = words->next()) {
    if (words->is_list()) owner()->add_phrase(Phrase::from_words(*words, TokenizerBase::defaultEncoding));
  }
}

void phrase_meaning_init() {
  static bool done = false;
  if (done) return;
  done = true;
  ObjMaker* maker = Meaning::maker();
  if (maker == nullptr || maker->prototype(PhraseMeaning::kTypeName) != nullptr) return;
  maker->table().enter(PhraseMeaning::kTypeName, new PhraseMeaning,
                       "(phrases (word ...) ...)  phrases anchored at the entry");
}

}  // namespace lorvan
