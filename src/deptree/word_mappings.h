// WordMappings: how the word positions of two dependency structures over
// the same text correspond, when the two were tokenized differently (a key
// analysis and a parser's answer, say).
//
// A mapping is an ordered list of entries (high1, low1, high2, low2), each
// saying that words low1..high1 of the first structure correspond to words
// low2..high2 of the second.  Entries keep the order they were added in;
// evaluation walks them in that order.
//
// A plain value: it owns its entries and refers to no structure.
#ifndef LORVAN_DEPTREE_WORD_MAPPINGS_H_
#define LORVAN_DEPTREE_WORD_MAPPINGS_H_

#include <vector>

namespace lorvan {

class WordMappings {
 public:
  // Words low1..high1 of the first structure against low2..high2 of the
  // second.
  struct Entry {
    int high1;
    int low1;
    int high2;
    int low2;
  };

  WordMappings() = default;

  // Appends an entry; the arguments come in the order of the fields.
  void add(int high1, int low1, int high2, int low2);
  // Whether some entry covers position i of the first structure and
  // position j of the second (bounds inclusive).
  bool eq(int i, int j) const;

  const std::vector<Entry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  void clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_WORD_MAPPINGS_H_
