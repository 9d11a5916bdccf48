// StrMeaning: a lexicon meaning that is a piece of text, for kinds defined
// by command files with (make-str-meaning-proto <type>).  An entry writes
// (<type> anything ...); the meaning keeps the rest of the list printed on
// one line and prints as (<type> <text>).
//
// Ownership: the meaning owns its text.  The type name belongs to the
// prototype's module (a process-wide arena) and is shared by every copy.
#ifndef LORVAN_LEXICON_STR_MEANING_H_
#define LORVAN_LEXICON_STR_MEANING_H_

#include <string>

#include "lexicon/meaning.h"

namespace lorvan {

class StrMeaning : public Meaning {
 public:
  // `type` must outlive the meaning and its copies.
  explicit StrMeaning(const char* type) : type_(type) {}
  StrMeaning(const StrMeaning&) = default;

  const char* type_name() const override { return type_; }
  void print_contents(std::ostream& out) const override;
  // -2 for another type name; when both have a text, 0 when the texts are
  // equal and 2 otherwise; 0 when neither has one, 2 when one has.
  int cmp(const Meaning& other) const override;
  // The elements of `s`, printed on one line, become the text.
  void initialize(IRSlist* s) override;
  Meaning* duplicate() const override { return new StrMeaning(*this); }

  // Null before initialize().
  const char* text() const { return has_text_ ? text_.c_str() : nullptr; }

 private:
  const char* type_;
  std::string text_;
  bool has_text_ = false;
};

// Registers a StrMeaning prototype named `type` (copied) in the "Meaning"
// maker.  Returns it, or null without a maker.
StrMeaning* make_str_meaning_proto(const char* type);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_STR_MEANING_H_
