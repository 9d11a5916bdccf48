// DepProbCache: the per-parser cache of triple weights.  Each weight is
// computed once per distinct key (head word, relation key and modifier word
// joined by tabs) and then read back.  Keys compare and hash without regard
// to letter case.
//
// Ownership: the cache owns its DepProb records; their keys live in the
// cache's arena until cleanUp().
#ifndef LORVAN_PARSER_DEP_PROB_CACHE_H_
#define LORVAN_PARSER_DEP_PROB_CACHE_H_

#include <cstddef>

#include "hashtable.h"
#include "llist.h"
#include "strbufs.h"

namespace lorvan {

// One cached result: a key (not owned; in the cache's arena) and a weight.
class DepProb : public Llink {
 public:
  DepProb(const char* key, float weight) : key_(key), weight_(weight) {}
  const char* key() const { return key_; }
  float prob() const { return weight_; }

 private:
  const char* key_;
  float weight_;
};

class DepProbCache {
 public:
  static constexpr unsigned kBuckets = 200011;
  static constexpr std::size_t kArenaBlock = 1000000;

  DepProbCache();
  ~DepProbCache() = default;
  DepProbCache(const DepProbCache&) = delete;
  DepProbCache& operator=(const DepProbCache&) = delete;

  // Bytes held by the key arena.
  std::size_t totalSize() const { return arena_.totalSize(); }
  // Empties the table and the arena.
  void cleanUp();
  // Empties the table; the arena keeps its strings.
  void clear_table() { table_.clear(); }
  // Sets `weight` to the cached weight of `key`; false when not cached.
  bool find(const char* key, float& weight) const;
  // Caches `weight` under a copy of `key` (an existing key keeps its
  // weight).
  void store(const char* key, float weight);
  int size() const { return table_.size(); }

 private:
  TLHashTable<DepProb> table_;
  StrBufs arena_;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_DEP_PROB_CACHE_H_
