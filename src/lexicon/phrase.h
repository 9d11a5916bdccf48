// Phrase: a multi-word lexicon entry as seen from the entry of its anchor
// word.  The lexical analyzer, on finding the anchor word in a sentence,
// checks the words around it against each phrase anchored there
// (Lexicon::contain_phrase) and, on a match, looks the phrase's own entry
// up by its text.
//
// The text is the phrase entry's key: its words joined by single spaces,
// with a comma attached to the word before it.  Words before the comma are
// the anchor part (the anchor is their first word); words after it stand
// before the anchor in a sentence: "ago, long" is "long ago" anchored at
// "ago".  Without a comma the anchor is the first word.
//
// Counts are in tokens, as the tokenizer splits words: a word counts one
// token plus one per apostrophe and two per hyphen inside it ("don't" is
// don + 't, "a-b" is a - b).
//
// Ownership: a phrase owns a copy of its text; an entry owns its phrases.
#ifndef LORVAN_LEXICON_PHRASE_H_
#define LORVAN_LEXICON_PHRASE_H_

#include <memory>

namespace lorvan {

class IRSlist;
class StrBufs;

class Phrase {
 public:
  // A phrase with a copy of `text` and the given token counts.
  Phrase(const char* text, unsigned char before, unsigned char after);
  // The phrase of a phrase-entry key given as the list of its atoms (the
  // atoms before the first list element of `words`; the rest is ignored).
  // `encoding` decides the joining of words (see entry_key()).
  static std::unique_ptr<Phrase> from_words(const IRSlist& words, int encoding);

  const char* text() const { return text_.get(); }
  // Tokens standing before the anchor in a sentence (the part after the
  // comma; 0 without one).
  unsigned char before() const { return before_; }
  // Tokens following the anchor (the anchor part's tokens but the anchor's
  // first one).
  unsigned char after() const { return after_; }

 private:
  std::unique_ptr<char[]> text_;
  unsigned char before_;
  unsigned char after_;
};

// The number of tokens the tokenizer makes of `word`: 1, plus 1 per
// apostrophe, plus 2 per hyphen.
int token_count(const char* word);

// The key of an entry written as the list `entry`: its leading atoms (up to
// the first list element) joined by single spaces, except that an atom ","
// is appended with no space before it and that, unless `encoding` is ASCII
// (0), an atom holding a byte >= 128 gets no space before it.  Built as a
// finished string in `out`; null when the entry has no leading atom.
// `words` receives the number of leading atoms.
const char* entry_key(const IRSlist& entry, int encoding, StrBufs& out, int& words);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_PHRASE_H_
