#include "spanset.h"

#include <gtest/gtest.h>

namespace lorvan {
namespace {

struct Query {
  int a, b;
  bool crosses;
};

void expect_queries(const SpanSet& spans, std::initializer_list<Query> queries) {
  for (const Query& q : queries) {
    EXPECT_EQ(spans.intersect(q.a, q.b), q.crosses) << q.a << ".." << q.b;
  }
}

TEST(SpanSetTest, SpanCrossesOnlyOverlappingNonNestedSpans) {
  SpanSet spans;
  spans.add_span(2, 5);
  expect_queries(spans, {
                            {3, 7, true},   // starts inside, ends after
                            {0, 3, true},   // starts before, ends inside
                            {5, 7, true},   // shares the last position
                            {0, 2, true},   // shares the first position
                            {2, 5, false},  // the span itself
                            {0, 6, false},  // contains it
                            {3, 4, false},  // nested inside
                            {2, 4, false},  // nested, same start
                            {6, 9, false},  // after it
                            {0, 1, false},  // before it
                            {40, 90, false},
                        });
}

TEST(SpanSetTest, BoundsKeepTheTightestSpans) {
  SpanSet spans;
  spans.add_span(3, 5);
  spans.add_span(1, 8);  // contains 3..5: must not loosen its bounds
  expect_queries(spans, {
                            {4, 6, true},   // crosses 3..5
                            {2, 4, true},   // crosses 3..5
                            {0, 2, true},   // crosses 1..8
                            {7, 9, true},   // crosses 1..8
                            {3, 5, false},
                            {1, 8, false},
                            {2, 6, false},
                            {0, 9, false},
                        });
}

TEST(SpanSetTest, IgnoredSpans) {
  SpanSet spans;
  spans.add_span(4, 4);   // a single position
  spans.add_span(6, 2);   // reversed
  spans.add_span(-3, 2);  // negative start
  expect_queries(spans, {{3, 5, false}, {1, 4, false}, {0, 3, false}, {2, 6, false}});
  spans.add_span(2, 6);
  spans.add_span(2, 6);  // recorded twice: the same as once
  expect_queries(spans, {{3, 8, true}, {2, 6, false}});
}

TEST(SpanSetTest, ClearForgetsSpansOfEveryPosition) {
  SpanSet spans;
  spans.add_span(10, 30);
  spans.add_span(1, 3);
  spans.clear(5);
  expect_queries(spans, {{2, 4, false}, {20, 40, false}, {0, 15, false}});
  spans.add_span(1, 3);  // recorded again after clear
  expect_queries(spans, {{2, 4, true}});
}

TEST(SpanSetTest, SpansBeyondTheFirstSizingAreRecorded) {
  SpanSet spans;
  spans.add_span(100, 180);  // span member far beyond 200
  spans.add_span(100, 180);
  expect_queries(spans, {{150, 190, true}, {90, 120, true}, {100, 180, false}});
}

}  // namespace
}  // namespace lorvan
