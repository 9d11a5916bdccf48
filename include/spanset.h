// SpanSet: the word spans already recorded for a sentence, so that the
// parser can ask whether a new span crosses one of them.
//
// A span a..b covers the sentence positions a to b inclusive.  Two spans
// cross when they overlap and neither contains the other.  For every
// position p the set keeps lower(p), the largest start of a recorded span
// that contains p and ends after it, and upper(p), the smallest end of a
// recorded span that contains p and starts before it; a position no span
// touches has (-1, the largest int).  The set owns its storage and reuses
// it across clear() calls.
#ifndef LORVAN_INCLUDE_SPANSET_H_
#define LORVAN_INCLUDE_SPANSET_H_

#include <vector>

#include "lbitset.h"

namespace lorvan {

class SpanSet {
 public:
  SpanSet();

  // Records the span start..last.  A span with start == last, a span
  // already recorded, and a malformed span (start < 0 or start > last) are
  // ignored.
  void add_span(int start, int last);
  // True when the span a..b crosses a recorded span: upper(a) < b or
  // a < lower(b).
  bool intersect(int a, int b) const;
  // Forgets every span and resets the bounds of positions 0..n.
  void clear(int n);

 private:
  struct Bounds {
    int lower;
    int upper;
  };
  static const Bounds kUntouched;

  const Bounds& bounds(int p) const;

  LBitSet spans_;               // member last*(last+3)/2 - start per span
  std::vector<Bounds> bounds_;  // by position; extended on demand
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_SPANSET_H_
