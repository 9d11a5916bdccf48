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

int Str2Id::find(const char* s, int** at) {
  int* slot = &buckets_[hashpjw(s) % buckets_.size()];
  // Chains are kept in ascending order.
  for (; *slot != 0; slot = &next_[*slot]) {
    const int cmp = strcasecmp(strs_[*slot], s);
    if (cmp == 0) return *slot;
    if (cmp > 0) break;
  }
  *at = slot;
  return 0;
}

int Str2Id::link(int id) {
  int* at;
  if (const int found = find(strs_[id], &at)) return found;
  next_[id] = *at;
  *at = id;
  return id;
}

int Str2Id::get_id(const char* s, bool create) {
  if (s == nullptr) return 0;
  int* at;
  if (const int id = find(s, &at)) return id;
  if (!create) return 0;
  strs_.push_back(arena_.copy(s));
  next_.push_back(0);
  return link(size() - 1);  // looks again: the push may have moved `at`
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
