// Stemmer: a stand-alone root finder for expressions and commands.  It
// combines, in this order of precedence,
//   1. a stem table (StemTable): when present, nothing else is consulted;
//   2. irregular forms: lists (surface root root ...) read from a file;
//   3. an ending table (EndingTable);
//   4. the Porter algorithm (porter.h), when its flag is set, or else the
//      word itself.
//
// Every root handed out is copied into a result buffer -- the caller's, or
// the stemmer's own, which each call without a buffer clears -- and lives
// until that buffer is cleared.  Of the labels, the text the Porter
// algorithm cut off is copied there as well; the others ("bare", "irreg",
// the stem table's labels, the ending's condition name) are constants or
// belong to the stemmer's tables and live as long as the stemmer.
//
// Ownership: the stemmer owns its tables.  Made by make-stemmer, it is a
// named object of type "Stemmer" destroyed with delStemmer.  Ending-table
// iteration keeps its state in the table, so a stemmer serves one caller at
// a time.
#ifndef LORVAN_LEXICON_STEMMER_H_
#define LORVAN_LEXICON_STEMMER_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lexicon/ending_table.h"
#include "lexicon/stem_table.h"
#include "strbufs.h"

namespace lorvan {

class IRSlist;

class Stemmer {
 public:
  // (root, label)
  using RootPair = std::pair<const char*, const char*>;

  Stemmer();
  ~Stemmer();
  Stemmer(const Stemmer&) = delete;
  Stemmer& operator=(const Stemmer&) = delete;

  // Options (may be null):
  //   :stem-table FILE   a stem table loaded from FILE (make_istream); when
  //                      it cannot be opened, ":stem-table FILE cannot be
  //                      opened." is printed.  The other options are then
  //                      ignored.
  //   :porter            stem with the Porter algorithm
  //   :irr-verbs FILE    load irregular forms (loadIrrVerbs)
  //   :ending-table (..) an ending table built from the list
  //                      (EndingTable::init; consumes the list's elements)
  void init(IRSlist* options);

  // Reads irregular forms from FILE on the search path: S-expressions, each
  // a list (surface root root ...).  With the Porter flag, the roots are
  // stemmed; a root equal (case-insensitively) to an earlier root of its
  // list is dropped.  A missing file loads nothing, silently.
  void loadIrrVerbs(const char* file);

  // Appends the roots of `word` to `out` (texts in `buffer`, or in the
  // stemmer's own buffer, cleared first, when `buffer` is null).  A null
  // word gives nothing.
  void getRoots(const char* word, std::vector<const char*>& out, StrBufs* buffer = nullptr);
  // The same with a label for each root: the stem table's label, "bare"
  // for a form the stem table lacks, "irreg" for an irregular form, the
  // ending's condition name (only the first ending that gives a root), or
  // what the Porter algorithm cut off (walked -> (walk, ed)).
  void getRoots(const char* word, std::vector<RootPair>& out, StrBufs* buffer = nullptr);

  bool porter() const { return porter_; }
  void porter(bool flag) { porter_ = flag; }
  const StemTable* stem_table() const { return stem_table_.get(); }
  EndingTable* ending_table() const { return ending_table_.get(); }
  // The irregular lists, sorted by their first element (case-insensitive).
  const std::vector<std::vector<std::string>>& irregular_forms() const { return irregulars_; }

 private:
  // Root finding shared by both getRoots(): calls emit(root, label) for
  // every result; root and label are copied into `buffer` as the rules
  // above say.
  template <class Emit>
  void find_roots(const char* word, StrBufs& buffer, bool first_ending_only, Emit emit);
  // `given`, or the stemmer's own buffer after clearing it.
  StrBufs& result_buffer(StrBufs* given);
  // The irregular list whose surface form is `word`, or null.
  const std::vector<std::string>* find_irregular(const char* word) const;
  // Adds one irregular list read from `expression`.
  void add_irregular(const IRSlist& expression);

  StrBufs buffer_;
  bool porter_ = false;
  std::vector<std::vector<std::string>> irregulars_;
  std::unique_ptr<EndingTable> ending_table_;
  std::unique_ptr<StemTable> stem_table_;
};

// The deleter of stemmers registered as named objects.
void delStemmer(void* stemmer);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_STEMMER_H_
