#include "parser/dep_dist.h"

#include <cstdlib>
#include <cstring>
#include <istream>

#include "lexical/tokenizer.h"
#include "strfuncs.h"
#include "tarray.h"

namespace lorvan {

namespace {

// Fields of a distance file are separated by line ends and tabs only, so a
// relation name may hold blanks.
constexpr const char* kFieldSeparators = "\n\t\r";
constexpr std::size_t kTokenArenaBlock = 1024;
constexpr std::size_t kInputSize = 4096;
// Above this total the observed relative frequency is used unsmoothed.
constexpr float kSmoothingTotal = 200.0f;

void delete_entry(DepDistEntry* e) { delete e; }

int exact_cmp(const char* a, const char* b) { return std::strcmp(a, b); }

}  // namespace

DepDistEntry::DepDistEntry(const char* name) : name_(name) {}

float DepDistEntry::count(int distance) const {
  if (distance < 0 || distance >= size()) tarray_index_fault(distance, size());
  return counts_[static_cast<std::size_t>(distance)];
}

void DepDistEntry::set_count(int distance, float count) {
  if (distance < 0) tarray_index_fault(distance, size());
  total_ += count;
  if (distance >= size()) counts_.resize(static_cast<std::size_t>(distance) + 1, 1.0f);
  counts_[static_cast<std::size_t>(distance)] = count;
}

float DepDistEntry::prob(int distance) const {
  const int n = size();
  if (distance < 1) distance = 1;
  if (distance >= n) distance = n - 1;
  const float lambda = total_ / kSmoothingTotal;
  const float observed = count(distance) / total_;
  if (lambda > 1.0f) return observed;
  return (1.0f - lambda) * total_ / static_cast<float>(n) + lambda * observed;
}

DepDist::DepDist() : table_(1, &exact_cmp, &delete_entry) {}

DepDist::DepDist(std::istream& in, int buckets)
    : table_(buckets > 0 ? static_cast<unsigned>(buckets) : 1, &exact_cmp, &delete_entry) {
  read(in);
}

DepDist::~DepDist() = default;

void DepDist::read(std::istream& in) {
  Tokenizer tokens(kFieldSeparators, "", "", "", 0, 0, kTokenArenaBlock, kInputSize);
  tokens.set_input_stream(&in);
  DepDistEntry* current = nullptr;
  for (;;) {
    const char* name = tokens.get_non_space_token();
    const char* distance = name ? tokens.get_non_space_token() : nullptr;
    const char* ignored = distance ? tokens.get_non_space_token() : nullptr;
    const char* count = ignored ? tokens.get_non_space_token() : nullptr;
    if (count == nullptr) break;
    if (current == nullptr || lorvan::strcasecmp(name, current->key()) != 0) {
      current = new DepDistEntry(name);
      TLHashTable<DepDistEntry>::Place place;
      table_.search(current->key(), place);
      table_.insert(place, current);
    }
    current->set_count(static_cast<int>(std::strtol(distance, nullptr, 10)),
                       static_cast<float>(std::strtod(count, nullptr)));
    // Tokens of a group are copied out above; drop them before the next.
    tokens.clear();
  }
}

const DepDistEntry* DepDist::find(const char* name) const {
  return name == nullptr ? nullptr : table_.search(name);
}

float DepDist::get_prob(const char* name, int distance) const {
  if (distance < 1) distance = 1;
  const DepDistEntry* e = find(name);
  // An entry without any positive count says nothing about distances.
  if (e == nullptr || e->size() == 0 || e->total() <= 0.0f) {
    return 1.0f / static_cast<float>(distance);
  }
  return e->prob(distance);
}

}  // namespace lorvan
