#include "parser/dep_prob_cache.h"

#include "strfuncs.h"

namespace lorvan {

namespace {

void delete_prob(DepProb* p) { delete p; }

int key_cmp(const char* a, const char* b) { return lorvan::strcasecmp(a, b); }

}  // namespace

DepProbCache::DepProbCache() : table_(kBuckets, &key_cmp, &delete_prob), arena_(kArenaBlock) {}

void DepProbCache::cleanUp() {
  table_.clear();
  arena_.clear();
}

bool DepProbCache::find(const char* key, float& weight) const {
  const DepProb* p = table_.search(key);
  if (p == nullptr) return false;
  weight = p->prob();
  return true;
}

void DepProbCache::store(const char* key, float weight) {
  TLHashTable<DepProb>::Place place;
  if (table_.search(key, place) != nullptr) return;
  table_.insert(place, new DepProb(arena_.copy(key), weight));
}

}  // namespace lorvan
