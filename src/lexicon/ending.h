// Ending: a suffix rule of an EndingTable.  It recognises a suffix at the
// end of a word, computes the root that remains, and checks that root with
// an optional condition expression.
//
//   Ending        strips the suffix and appends the replacement, if any:
//                 (p s noun)          dogs    -> dog
//                 (p ies noun y)      ponies  -> pony
//   EndingDouble  strips the suffix and one of the doubled consonants
//                 before it:
//                 (d ed verb)         stopped -> stop
//   EndingES      strips the suffix (and appends the replacement) only after
//                 one of a set of letters:
//                 (e es noun "" sxz)  boxes   -> box
//
// Suffixes are compared with the lowered characters of the word, so they are
// written in lower case.  The condition name doubles as the ending's label:
// the lexical analyzer records it as the affix of the items it makes, and
// the stemmer reports it beside the root.
//
// Ownership: an ending belongs to its EndingTable and owns its texts.  Its
// condition is one of the table's named conditions, shared with every ending
// of that name and owned by the table.  Roots are written into the table's
// scratch buffer and live until the table's next reset().
#ifndef LORVAN_LEXICON_ENDING_H_
#define LORVAN_LEXICON_ENDING_H_

#include <cstddef>
#include <string>

namespace lorvan {

class EndingTable;
class IRSlist;
class LExp;

class Ending {
 public:
  explicit Ending(EndingTable* table) : table_(table) {}
  virtual ~Ending() = default;
  Ending(const Ending&) = delete;
  Ending& operator=(const Ending&) = delete;

  // Whether the word (of `length` characters) ends with the suffix and is
  // longer than it.
  virtual bool match(const char* word, std::size_t length) const;
  // The root of `word` in the table's buffer, or null when nothing would be
  // left of the word or the condition rejects the root.  Does not check
  // match().
  virtual const char* get_root(const char* word) const;
  // Reads the atoms SUFFIX, CONDITION and REPLACEMENT from the front of `s`,
  // each only when present, and takes the condition of that name from the
  // table (none when the table has no such condition).
  virtual void init(IRSlist* s);

  const std::string& suffix() const { return suffix_; }
  std::size_t suffix_length() const { return suffix_.size(); }
  // The condition name; null when the definition named none.
  const char* name() const { return has_name_ ? name_.c_str() : nullptr; }
  // Null when the definition gave no replacement.
  const char* replacement() const { return has_replacement_ ? replacement_.c_str() : nullptr; }
  const LExp* condition() const { return condition_; }

 protected:
  // Writes the first `keep` characters of `word` and then `tail` (null:
  // nothing) to the table's buffer and applies the condition to the result.
  const char* make_root(const char* word, std::size_t keep, const char* tail) const;

 private:
  EndingTable* table_;
  std::string suffix_;
  std::string name_;
  bool has_name_ = false;
  std::string replacement_;
  bool has_replacement_ = false;
  LExp* condition_ = nullptr;
};

// A suffix after a doubled consonant that follows a vowel; the root loses
// the suffix and one of the doubled letters.
class EndingDouble : public Ending {
 public:
  using Ending::Ending;
  // Ending::match, and with p the index of the last character before the
  // suffix: p > 2, word[p] == word[p-1] and word[p-2] one of a, e, i, o, u.
  bool match(const char* word, std::size_t length) const override;
  // The word without the suffix and one more character (no replacement).
  const char* get_root(const char* word) const override;
};

// A suffix that applies only after one of a set of letters.
class EndingES : public Ending {
 public:
  using Ending::Ending;
  // The word is longer than 3 characters, Ending::match holds and the third
  // character from the end is in the letter set.  Without a set nothing
  // matches.
  bool match(const char* word, std::size_t length) const override;
  // Ending::init, then one more atom: the letter set.
  void init(IRSlist* s) override;

  // Null when the definition gave no letter set.
  const char* letters() const { return has_letters_ ? letters_.c_str() : nullptr; }

 private:
  std::string letters_;
  bool has_letters_ = false;
};

}  // namespace lorvan

#endif  // LORVAN_LEXICON_ENDING_H_
