// The Porter suffix-stripping algorithm, as rule tables and the functions
// that apply them.
//
// A word is stemmed in place, one step after the other; every step is a
// table of RuleList rows of which at most one applies.  A row replaces the
// old suffix by the new one when the word ends with the old suffix and the
// stem left after cutting it off has a measure (WordSize) greater than the
// row's minimum root size and satisfies the row's condition, if any.  Rows
// are tried in table order; a row whose suffix matches but whose measure or
// condition fails does not end the table.
//
// All functions work on lower-case NUL-terminated text and keep no state of
// their own, so they may be used from any number of callers.  The tables are
// constant and live for the whole process.
#ifndef LORVAN_LEXICON_PORTER_H_
#define LORVAN_LEXICON_PORTER_H_

#include <string>

namespace lorvan {

// The empty suffix: the old suffix of rule 122 and the new suffix of every
// row that only removes text.
inline constexpr char LAMBDA[] = "";

// A condition on the stem left after cutting off a row's old suffix.
using StemCondition = bool (*)(const char* stem);

// One row of a rule table.  A table ends with a row of id 0.
struct RuleList {
  int id;
  const char* old_end;
  const char* new_end;
  int old_offset;      // strlen(old_end) - 1
  int new_offset;      // strlen(new_end) - 1
  int min_root_size;   // the row applies only when the stem's measure exceeds it
  StemCondition condition;  // null: none
};

extern const RuleList step1a_rules[];
extern const RuleList step1b_rules[];
extern const RuleList step1b1_rules[];
extern const RuleList step1c_rules[];
extern const RuleList step2_rules[];
extern const RuleList step3_rules[];
extern const RuleList step4_rules[];
extern const RuleList step5a_rules[];
extern const RuleList step5b_rules[];

// The measure m of `word`: the number of vowel-to-consonant transitions.
// a, e, i, o and u are vowels everywhere; y is a vowel only directly after a
// consonant (at the start of the word, or after a vowel, it is a consonant).
int WordSize(const char* word);

// Whether the first character is one of a, e, i, o, u, or any later
// character one of a, e, i, o, u, y.
bool ContainsVowel(const char* word);

// Whether the word ends consonant-vowel-consonant: the last character is not
// one of "aeiouwxy", the one before is one of "aeiouy" and the one before
// that is not one of "aeiou".  A word of 2 characters or fewer counts as
// ending so.
bool EndsWithCVC(const char* word);

// WordSize(word) == 1 and EndsWithCVC(word).
bool AddAnE(const char* word);
// WordSize(word) == 1 and not EndsWithCVC(word).
bool RemoveAnE(const char* word);

// Applies the first row of `rules` that fits `word`, whose last character is
// at index `last` (-1 for an empty word), and returns its id, or 0 when no
// row applies.  On success `last` moves to the new last character.  The
// word's buffer must have room for the growth of the rows tried: rows 108 to
// 110 and 122 add one character.  Stem() guarantees this, since those rows
// only follow rows that removed at least two.
int ReplaceEnd(char* word, int& last, const RuleList* rules);

// Lowers `word` and stems it in place; returns 1.  At the first character
// that is not an ASCII letter it returns 0 at once: the characters before it
// are lowered and the rest of the word is untouched.  Null gives 0.
int Stem(char* word);
// The same on a std::string, which shrinks to the stem.
int Stem(std::string& word);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_PORTER_H_
