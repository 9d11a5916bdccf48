// DepDist: the distribution of dependency distances per relation name, read
// from a distance file, and the probability of a distance under it.
//
// A distance file holds groups of four white-separated fields (newline, tab
// and carriage return separate them; blanks do not):
//   relation-name  distance  ignored-field  count
// Consecutive groups with the same name (compared without case) fill one
// DepDistEntry; reading stops at the first incomplete group.
//
// Ownership: the distribution owns its entries; every entry owns a copy of
// its name.  Look-ups compare names exactly.
#ifndef LORVAN_PARSER_DEP_DIST_H_
#define LORVAN_PARSER_DEP_DIST_H_

#include <iosfwd>
#include <string>
#include <vector>

#include "hashtable.h"
#include "llist.h"

namespace lorvan {

// The counts of one relation name, indexed by distance.
class DepDistEntry : public Llink {
 public:
  explicit DepDistEntry(const char* name);

  const char* key() const { return name_.c_str(); }
  float total() const { return total_; }
  // Number of count slots (the largest distance set plus one).
  int size() const { return static_cast<int>(counts_.size()); }
  float count(int distance) const;

  // Adds `count` to the total and stores it at `distance`; slots created
  // below it on the way hold 1.0 (not added to the total).  A negative
  // distance is an array-bounds fault and stops the program.
  void set_count(int distance, float count);
  // The probability of `distance` (below 1 counts as 1; beyond the last
  // slot counts as the last slot), smoothed by the total as follows: with
  // lambda = total / 200, count[d] / total when lambda > 1, otherwise
  // (1 - lambda) * total / size + lambda * count[d] / total.
  float prob(int distance) const;

 private:
  std::string name_;
  float total_ = 0.0f;
  std::vector<float> counts_;
};

class DepDist {
 public:
  // An empty distribution: every name is missing.
  DepDist();
  // Reads a distance file from `in` into a table of `buckets` buckets.
  explicit DepDist(std::istream& in, int buckets = 1979);
  ~DepDist();
  DepDist(const DepDist&) = delete;
  DepDist& operator=(const DepDist&) = delete;

  // The entry of `name` (exact comparison), or null; null name: null.
  const DepDistEntry* find(const char* name) const;
  // The probability of `distance` for relation `name`: the entry's prob(),
  // or 1 / distance (distance at least 1) when the name is missing or null.
  float get_prob(const char* name, int distance) const;

 private:
  void read(std::istream& in);

  TLHashTable<DepDistEntry> table_;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_DEP_DIST_H_
