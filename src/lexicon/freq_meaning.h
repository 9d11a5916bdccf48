// FreqMN: the "freq" meaning of a lexicon entry, counts of the word's uses
// by name (usually by category):  (freq N 10 V 2).  The lexical analyzer
// and the parser's weights turn them into lexical-item weights.
//
// The pairs are packed in one owned buffer: a 4-byte pair count, then per
// pair the name with its NUL and the count as a 4-byte float, numbers most
// significant byte first.
#ifndef LORVAN_LEXICON_FREQ_MEANING_H_
#define LORVAN_LEXICON_FREQ_MEANING_H_

#include <vector>

#include "lexicon/meaning.h"
#include "strbufs.h"

namespace lorvan {

class LexEntry;

class FreqMN : public Meaning {
 public:
  static constexpr const char* kTypeName = "freq";

  FreqMN() = default;
  FreqMN(const FreqMN& other) = default;

  const char* type_name() const override { return kTypeName; }
  // "name count name count ...", counts in the stream's default format.
  void print_contents(std::ostream& out) const override;
  // A positive, even number of elements are (name, count) pairs; an odd
  // number prints "Incorrect format for (freq ...)" (no line end) and
  // leaves the meaning empty, as does none.
  void initialize(IRSlist* s) override;
  Meaning* duplicate() const override { return new FreqMN(*this); }

  int size() const;
  // Calls fn(name, count) for every pair in order until fn returns true;
  // returns whether it did.
  template <class Fn>
  bool find_if(Fn fn) const;

 private:
  std::vector<char> packed_;  // empty while the meaning is
};

template <class Fn>
bool FreqMN::find_if(Fn fn) const {
  if (packed_.empty()) return false;
  const char* cursor = packed_.data();
  for (int n = StrBufs::get_int(cursor); n > 0; --n) {
    const char* name = StrBufs::get_str(cursor);
    float count = StrBufs::get_float(cursor);
    if (fn(name, count)) return true;
  }
  return false;
}

// When `entry` has a "freq" meaning with a pair named `name` (compared
// case-insensitively), sets `out` to the first such pair's count and
// returns true; otherwise leaves `out` alone and returns false.
bool freq_count(const LexEntry* entry, const char* name, float& out);

// The weight a lexical item of `entry` in category `name` gets from the
// word frequencies: the count of freq_count() (default_count when there is
// none) truncated toward zero.  set_freq_count(item, default) of the
// lexical items is this on the item's entry and category.
int freq_weight(const LexEntry* entry, const char* name, float default_count);

// Registers the "freq" prototype, then meaning_init().  Runs once, after
// the "Meaning" maker exists.
void freqmn_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_FREQ_MEANING_H_
