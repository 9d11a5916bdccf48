// StemTable: word forms with their roots, loaded from a stem-table file,
// for a Stemmer that looks roots up instead of computing them.
//
// File format: blank-separated words taken three at a time -- form, root,
// label -- so a form may appear on several lines with several roots:
//
//   went go past
//   left leave past
//   left left adj
//
// Forms are looked up case-insensitively.  The table is sized for about two
// hundred thousand forms.
//
// Ownership: the table owns its entries; every text lives in the table's
// arena until the table is destroyed.
#ifndef LORVAN_LEXICON_STEM_TABLE_H_
#define LORVAN_LEXICON_STEM_TABLE_H_

#include <deque>
#include <iosfwd>
#include <utility>
#include <vector>

#include "hashtable.h"
#include "strbufs.h"

namespace lorvan {

// One word form and its (root, label) pairs in file order.
struct StemEntry {
  const char* form;
  std::vector<std::pair<const char*, const char*>> pairs;
};

class StemTable {
 public:
  StemTable();
  StemTable(const StemTable&) = delete;
  StemTable& operator=(const StemTable&) = delete;

  // Reads (form, root, label) triples until the stream fails; each pair is
  // appended to the entry of its form, which is made when new.  Words of
  // any length are taken whole.
  void load(std::istream& in);

  // The entry of `form` (case-insensitive), or null.
  const StemEntry* find(const char* form) const;

  int size() const { return table_.size(); }

 private:
  static const char* entry_form(StemEntry* const& e) { return e->form; }

  StrBufs arena_;
  std::deque<StemEntry> entries_;
  SHashTable<StemEntry*> table_;
};

}  // namespace lorvan

#endif  // LORVAN_LEXICON_STEM_TABLE_H_
