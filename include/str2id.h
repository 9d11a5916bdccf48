// Str2Id: assigns small integer ids to strings, case-insensitively.
//
// Id 0 stands for "no string"; the first new string gets 1, the next 2, and
// so on.  Look-up hashes with hashpjw() and compares with lorvan::strcasecmp(),
// so "The" and "the" share one id and the table keeps the first spelling.
// The table copies every string into its own arena; the pointers returned by
// get_str() stay valid until the table is unpacked into or destroyed.
//
// Packed form (see StrBufs for the byte order): the count of ids including
// id 0 as a 4-byte big-endian number, then the strings for ids 1 .. count-1,
// each NUL-terminated.
#ifndef LORVAN_INCLUDE_STR2ID_H_
#define LORVAN_INCLUDE_STR2ID_H_

#include <vector>

#include "strbufs.h"

namespace lorvan {

class Str2Id {
 public:
  // `size` is the bucket count, at least 11.
  explicit Str2Id(unsigned size = 101);

  Str2Id(const Str2Id&) = delete;
  Str2Id& operator=(const Str2Id&) = delete;

  // The id of s.  When s is new: with `create` the next id is assigned,
  // otherwise 0 is returned.  A null s gives 0.
  int get_id(const char* s, bool create);
  // The string of `id`, or nullptr for 0 or an id never assigned.
  const char* get_str(int id) const;
  // Number of ids including id 0 (so 1 for an empty table).
  int size() const { return static_cast<int>(strs_.size()); }

  // Appends the packed form to `buffer` (binary appends: the current string
  // is not completed).
  void pack(StrBufs& buffer) const;
  // Replaces the contents by the packed form at the cursor and advances it.
  // A repeated string prints "Duplicate entry in Str2Id: " and the string
  // on the error stream; it keeps its id slot, so the ids of the following
  // strings stay as they were packed, but look-ups find the first id.
  void unpack(const char*& cursor);
  // The same for untrusted data that ends at `end`: when the count is not
  // positive or a string is not terminated before `end`, returns false and
  // leaves both the table and the cursor unchanged.
  bool unpack(const char*& cursor, const char* end);

 private:
  void clear();
  // The id of s, or 0 with *at set to the link of s's chain at which s's
  // id belongs.
  int find(const char* s, int** at);
  // Inserts string number `id` (already in the arena) into its chain unless
  // an equal string is there; returns the id found or inserted.
  int link(int id);

  StrBufs arena_;
  std::vector<int> buckets_;      // first id of each chain, 0 = empty
  std::vector<const char*> strs_;  // id -> string; strs_[0] == nullptr
  std::vector<int> next_;          // id -> next id in its chain, 0 = end
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_STR2ID_H_
