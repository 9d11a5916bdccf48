#include "spanset.h"

#include <algorithm>
#include <climits>

namespace lorvan {

namespace {
constexpr int kInitialSpanMembers = 200;

// A distinct member for every span 0 <= start <= last.
int span_member(int start, int last) { return last * (last + 3) / 2 - start; }
}  // namespace

const SpanSet::Bounds SpanSet::kUntouched = {-1, INT_MAX};

SpanSet::SpanSet() : spans_(kInitialSpanMembers) {}

const SpanSet::Bounds& SpanSet::bounds(int p) const {
  if (p < 0 || static_cast<std::size_t>(p) >= bounds_.size()) return kUntouched;
  return bounds_[p];
}

void SpanSet::add_span(int start, int last) {
  if (start < 0 || start >= last) return;
  const int member = span_member(start, last);
  if (spans_.test(member)) return;
  spans_.set(member);
  if (bounds_.size() <= static_cast<std::size_t>(last)) bounds_.resize(last + 1, kUntouched);
  for (int p = start; p <= last; ++p) {
    Bounds& b = bounds_[p];
    if (p < last) b.lower = std::max(b.lower, start);
    if (p > start) b.upper = std::min(b.upper, last);
  }
}

bool SpanSet::intersect(int a, int b) const {
  return bounds(a).upper < b || a < bounds(b).lower;
}

void SpanSet::clear(int n) {
  spans_.clear();
  // Positions beyond n are dropped too, so nothing of a longer earlier
  // sentence survives; the vector keeps its capacity.
  bounds_.assign(std::max(n + 1, 0), kUntouched);
}

}  // namespace lorvan
