// EndingTable: an ordered set of suffix rules (Ending and its variants)
// through which inflected words are found by their roots.  The lexicon and
// the lexical analyzer ask it for every ending that matches a word and keep
// the roots that have lexicon entries; the stemmer uses it as one of its
// root finders.
//
// Text form (the list given to init(), or the entries of def-endings):
//
//   ((p s noun) (d ed verb) (e es noun "" sxz)
//    :conditions (((noun) (...expression...)) ((verb past) (...))))
//
// Each entry is (TYPE SUFFIX CONDITION [REPLACEMENT]), or for the es type
// (TYPE SUFFIX CONDITION REPLACEMENT LETTERS); only the first character of
// TYPE counts: 'p' plain, 'd' doubled consonant, 'e' es.  A condition
// definition is ((NAME NAME ...) EXPRESSION): the expression is compiled once
// and shared by all its names; it is evaluated on a candidate root (type
// "char*") and a false result rejects the root.
//
// Iteration serves one caller at a time:
//
//   for (Ending* e = table.reset(word); e != nullptr; e = table.next())
//     if (const char* root = e->get_root(table.word())) use(root, e->name());
//
// reset() copies the word into the table's scratch buffer; roots computed
// from it are built in the same buffer and stay valid until the next
// reset().
//
// Ownership: the table owns its endings and the compiled condition
// expressions.  A table made by def-endings or a lexicon is a named object
// of type "EndingTable" (kTypeName), destroyed with delEndingTable.
#ifndef LORVAN_LEXICON_ENDING_TABLE_H_
#define LORVAN_LEXICON_ENDING_TABLE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "expr/lexp.h"
#include "lexicon/ending.h"
#include "strbufs.h"

namespace lorvan {

class IRSlist;

class EndingTable {
 public:
  // The named-object type of ending tables.
  static constexpr const char* kTypeName = "EndingTable";

  // Room for `capacity` endings at the start.
  explicit EndingTable(int capacity = 50);
  ~EndingTable();
  EndingTable(const EndingTable&) = delete;
  EndingTable& operator=(const EndingTable&) = delete;

  // Reads the ":conditions" element first, wherever it stands (removing it
  // and the keyword from `defs`), then gives every other element to add().
  void init(IRSlist* defs);
  // Makes an ending from one definition (consuming its elements) and
  // appends it.  An unknown type prints "Ending type '<type>' is not
  // defined." and adds nothing.
  void add(IRSlist* def);

  // The expression of the first named condition equal to `name`
  // (case-sensitive), or null.
  LExp* getCond(const char* name) const;

  // ---- Iteration over the endings that match a word, in table order ----

  // Clears the buffer, copies `word` into it and returns the first matching
  // ending.  A null or empty word gives an empty iteration.
  Ending* reset(const char* word);
  // The current ending, or null when the iteration is over.
  Ending* current() const;
  // Moves to the next matching ending and returns it, or null.
  Ending* next();
  bool finished() const { return position_ >= endings_.size(); }
  // The buffer's copy of the word given to reset(), or null.
  const char* word() const { return word_; }

  // The loop above: calls fn(root, ending) for each matching ending that
  // gives a root, in table order, until fn returns true; returns whether
  // it did.  Roots live until the next reset().
  template <class Fn>
  bool for_each_root(const char* word, Fn fn) {
    for (Ending* e = reset(word); e != nullptr; e = next()) {
      const char* root = e->get_root(word_);
      if (root != nullptr && fn(root, e)) return true;
    }
    return false;
  }

  // The scratch buffer in which words and roots are built.
  StrBufs& getBuffer() { return buffer_; }

  // All endings, in table order.
  std::size_t size() const { return endings_.size(); }
  const Ending& ending(std::size_t i) const { return *endings_.at(i); }

  // For every ending its condition name, suffix and suffix length separated
  // by single spaces, one ending per line, on std::cout.
  void print() const;

 private:
  // Reads the list of ((NAME ...) EXPRESSION) definitions.
  void read_conditions(IRSlist* conditions);
  // The first matching ending at or after `from`.
  Ending* seek(std::size_t from);

  std::vector<std::unique_ptr<Ending>> endings_;
  std::vector<std::unique_ptr<LExp>> expressions_;      // owned conditions
  std::vector<std::pair<std::string, LExp*>> conditions_;  // name -> condition
  StrBufs buffer_;
  const char* word_ = nullptr;
  std::size_t length_ = 0;
  std::size_t position_ = 0;
};

// The deleter of ending tables registered as named objects.
void delEndingTable(void* table);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_ENDING_TABLE_H_
