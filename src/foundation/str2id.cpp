#include "str2id.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "byte_reader.h"
#include "strfuncs.h"

namespace lorvan {
namespace {
constexpr unsigned kMinBuckets = 11;
constexpr std::size_t kArenaBlock = 4096;
}  // namespace

Str2Id::Str2Id(unsigned size)
    : arena_(kArenaBlock), buckets_(std::max(size, kMinBuckets), 0) {
  clear();
}

void Str2Id::clear() {
  arena_.clear();
  std::fill(buckets_.begin(), buckets_.end(), 0);
  strs_.assign(1, nullptr);
  next_.assign(1, 0);
}

int Str2Id::link(int id) {
  const char* s = strs_[id];
  int* slot = &buckets_[hashpjw(s) % buckets_.size()];
  // Chains are kept in ascending order.
  while (*slot != 0) {
    int cmp = strcasecmp(strs_[*slot], s);
    if (cmp == 0) return *slot;
    if (cmp > 0) break;
    slot = &next_[*slot];
  }
  next_[id] = *slot;
  *slot = id;
  return id;
}

int Str2Id::get_id(const char* s, bool create) {
  if (s == nullptr) return 0;
  for (int id = buckets_[hashpjw(s) % buckets_.size()]; id != 0; id = next_[id]) {
    int cmp = strcasecmp(strs_[id], s);
    if (cmp == 0) return id;
    if (cmp > 0) break;
  }
  if (!create) return 0;
  strs_.push_back(arena_.copy(s));
  next_.push_back(0);
  return link(size() - 1);
}

const char* Str2Id::get_str(int id) const {
  if (id <= 0 || id >= size()) return nullptr;
  return strs_[id];
}

void Str2Id::pack(StrBufs& buffer) const {
  buffer.push_int(size());
  for (int id = 1; id < size(); ++id) buffer.push(strs_[id], std::strlen(strs_[id]) + 1);
}

void Str2Id::unpack(const char*& cursor) {
  clear();
  int count = StrBufs::get_int(cursor);
  for (int id = 1; id < count; ++id) {
    strs_.push_back(arena_.copy(StrBufs::get_str(cursor)));
    next_.push_back(0);
    if (link(id) != id) std::cerr << "Duplicate entry in Str2Id: " << strs_[id] << "\n";
  }
}

bool Str2Id::unpack(const char*& cursor, const char* end) {
  ByteReader check(cursor, static_cast<std::size_t>(end - cursor));
  int count = check.get_int();
  if (!check.ok() || count < 1) return false;
  for (int id = 1; id < count && check.ok(); ++id) check.get_str();
  if (!check.ok()) return false;
  unpack(cursor);
  return true;
}

}  // namespace lorvan
