#include "lexicon/stem_table.h"

#include <istream>
#include <string>

namespace lorvan {
namespace {

constexpr unsigned kBuckets = 200011;
constexpr std::size_t kArenaBlock = 50000;
constexpr std::size_t kPairsAtStart = 4;

}  // namespace

StemTable::StemTable() : arena_(kArenaBlock), table_(kBuckets, &StemTable::entry_form) {}

void StemTable::load(std::istream& in) {
  std::string form, root, label;
  while (in >> form >> root >> label) {
    SHashTable<StemEntry*>::Place place;
    StemEntry* entry;
    if (StemEntry** found = table_.find(form.c_str(), place)) {
      entry = *found;
    } else {
      entry = &entries_.emplace_back();
      entry->form = arena_.copy(form);
      entry->pairs.reserve(kPairsAtStart);
      table_.insert_at(place, entry);
    }
    entry->pairs.emplace_back(arena_.copy(root), arena_.copy(label));
  }
}

const StemEntry* StemTable::find(const char* form) const {
  if (form == nullptr) return nullptr;
  StemEntry* const* found = table_.find(form);
  return found != nullptr ? *found : nullptr;
}

}  // namespace lorvan
