#include "deptree/word_mappings.h"

#include <algorithm>

namespace lorvan {

void WordMappings::add(int high1, int low1, int high2, int low2) {
  entries_.push_back(Entry{high1, low1, high2, low2});
}

bool WordMappings::eq(int i, int j) const {
  return std::any_of(entries_.begin(), entries_.end(), [i, j](const Entry& e) {
    return e.low1 <= i && i <= e.high1 && e.low2 <= j && j <= e.high2;
  });
}

}  // namespace lorvan
