#include "slist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace lorvan {
namespace {

std::vector<int> contents(const TSlist<int>& l) { return std::vector<int>(l.begin(), l.end()); }

TSlist<int> make(std::initializer_list<int> xs) {
  TSlist<int> l;
  for (int x : xs) l.append(x);
  return l;
}

int cmp_int(int a, int b) { return a < b ? -1 : (a > b ? 1 : 0); }

// The ring must stay consistent: first(), last(), length() agree with the
// contents, and appending lands at the back.
void expect_consistent(TSlist<int>& l, const std::vector<int>& expected) {
  EXPECT_EQ(contents(l), expected);
  EXPECT_EQ(l.length(), static_cast<int>(expected.size()));
  if (!expected.empty()) {
    EXPECT_EQ(l.first(), expected.front());
    EXPECT_EQ(l.last(), expected.back());
  }
  l.append(99);
  EXPECT_EQ(l.last(), 99);
  EXPECT_EQ(l.first(), expected.empty() ? 99 : expected.front());
}

TEST(SlistTest, InsertAppendGet) {
  TSlist<int> l;
  EXPECT_TRUE(l.empty());
  EXPECT_EQ(l.get(), 0);  // empty list gives T()
  l.append(2);
  l.insert(1);
  l.append(3);
  EXPECT_EQ(l.get(), 1);
  expect_consistent(l, {2, 3});

  Slist u;
  EXPECT_EQ(u.get(), nullptr);
  int a;
  u.append(&a);
  EXPECT_EQ(u.first(), &a);
  EXPECT_EQ(u.get(), &a);
  EXPECT_TRUE(u.empty());
}

TEST(SlistTest, OrderedOperations) {
  std::vector<std::pair<int, int>> items = {{3, 0}, {1, 1}, {3, 2}, {2, 3}, {1, 4}};
  TSlist<std::pair<int, int>*> l;
  auto by_key = [](const std::pair<int, int>* a, const std::pair<int, int>* b) {
    return cmp_int(a->first, b->first);
  };
  for (auto& it : items) EXPECT_TRUE(l.ord_insert(&it, by_key));
  std::vector<int> serials;
  for (auto* p : l) serials.push_back(p->second);
  EXPECT_EQ(serials, (std::vector<int>{1, 4, 3, 0, 2}));  // equal keys keep entry order

  std::pair<int, int> probe{3, -1};
  EXPECT_FALSE(l.ord_insert(&probe, by_key, true));
  auto** found = l.ord_search(&probe, by_key);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ((*found)->second, 0);  // the first equal element
  std::pair<int, int> absent{0, -1};
  EXPECT_EQ(l.ord_search(&absent, by_key), nullptr);
  EXPECT_FALSE(l.ord_del(&absent, by_key));
  EXPECT_TRUE(l.ord_del(&probe, by_key));
  EXPECT_EQ(l.length(), 4);
  EXPECT_EQ(l.last()->second, 2);
}

TEST(SlistTest, OrderedSearchStopsAtTheFirstLargerElement) {
  TSlist<int> l = make({1, 3, 5, 7});
  int calls = 0;
  auto counting = [&calls](int a, int b) {
    ++calls;
    return cmp_int(a, b);
  };
  EXPECT_EQ(l.ord_search(4, counting), nullptr);
  EXPECT_EQ(calls, 3);
}

TEST(SlistTest, SortIsStableAndMatchesStableSort) {
  std::mt19937 rng(3);
  for (int n : {0, 1, 2, 3, 10, 257}) {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < n; ++i) v.push_back({static_cast<int>(rng() % 7), i});
    TSlist<std::pair<int, int>> l;
    for (auto& p : v) l.append(p);
    auto by_key = [](const std::pair<int, int>& a, const std::pair<int, int>& b) {
      return cmp_int(a.first, b.first);
    };
    l.sort(by_key);
    std::stable_sort(v.begin(), v.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::pair<int, int>> sorted(l.begin(), l.end());
    EXPECT_EQ(sorted, v) << n;
    if (n > 0) {
      EXPECT_EQ(l.last(), v.back());
    }
  }
}

TEST(SlistTest, ReverseMergeConcat) {
  TSlist<int> l = make({1, 2, 3});
  l.reverse();
  expect_consistent(l, {3, 2, 1});

  TSlist<std::pair<int, char>> a, b;
  for (auto p : {std::pair{1, 'a'}, {3, 'a'}, {5, 'a'}}) a.append(p);
  for (auto p : {std::pair{1, 'b'}, {2, 'b'}, {5, 'b'}, {6, 'b'}}) b.append(p);
  a.merge(b, [](auto& x, auto& y) { return cmp_int(x.first, y.first); });
  std::string order;
  for (auto& p : a) order += std::to_string(p.first) + p.second;
  EXPECT_EQ(order, "1a1b2b3a5a5b6b");  // ties: this list's element first
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(a.length(), 7);
  EXPECT_EQ(a.last().first, 6);

  TSlist<int> x = make({1, 2}), y = make({3}), none;
  x.concat(y);
  x.concat(none);
  EXPECT_TRUE(y.empty());
  expect_consistent(x, {1, 2, 3});
  none.concat(x);
  expect_consistent(none, {1, 2, 3, 99});
}

TEST(SlistTest, SearchDelAndFunctionalHelpers) {
  TSlist<int> l = make({4, 5, 6, 5});
  ASSERT_NE(l.search(5), nullptr);
  EXPECT_EQ(l.search(9), nullptr);
  EXPECT_TRUE(l.del(5));
  expect_consistent(l, {4, 6, 5});
  EXPECT_TRUE(l.del(99));  // the appended last element
  EXPECT_TRUE(l.del(5));   // now the last again
  expect_consistent(l, {4, 6});

  TSlist<int> m = make({1, 2, 3, 4});
  EXPECT_EQ(contents(m.select([](int x) { return x % 2 == 0; })), (std::vector<int>{2, 4}));
  TSlist<std::string> words = m.collect([](int x) { return std::string(x, '*'); });
  EXPECT_EQ(words.last(), "****");
  m.map([](int x) { return x * 10; });
  int sum = 0;
  m.apply([&sum](int x) { sum += x; });
  EXPECT_EQ(sum, 100);
  EXPECT_EQ(*m.search_if([](int x) { return x > 15; }), 20);
}

TEST(SlistTest, CopyIsDeepAndClearCallsDeleter) {
  TSlist<int> a = make({1, 2});
  TSlist<int> b = a;
  b.append(3);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2}));
  TSlist<int> c = std::move(b);
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(c.length(), 3);

  TSlist<int*> owned;
  for (int i = 0; i < 3; ++i) owned.append(new int(i));
  int deleted = 0;
  owned.clear([&deleted](int* p) {
    ++deleted;
    delete p;
  });
  EXPECT_EQ(deleted, 3);
  EXPECT_TRUE(owned.empty());
}

// The iterator: deleting while walking and inserting next to the current
// element, checked on the visited sequence and the resulting list.
TEST(SlistIteratorTest, EditsWhileWalking) {
  struct Case {
    const char* name;
    std::vector<int> input;
    int at;         // element at which to act
    char action;    // 'd' del, 'b' insert_before(0), 'a' insert_after(0)
    std::vector<int> visited;
    std::vector<int> result;
  };
  const Case cases[] = {
      {"del first", {1, 2, 3}, 1, 'd', {1, 2, 3}, {2, 3}},
      {"del middle", {1, 2, 3}, 2, 'd', {1, 2, 3}, {1, 3}},
      {"del last", {1, 2, 3}, 3, 'd', {1, 2, 3}, {1, 2}},
      {"del only", {1}, 1, 'd', {1}, {}},
      {"before first", {1, 2}, 1, 'b', {1, 2}, {0, 1, 2}},
      {"before last", {1, 2}, 2, 'b', {1, 2}, {1, 0, 2}},
      {"after first", {1, 2}, 1, 'a', {1, 0, 2}, {1, 0, 2}},
      {"after last", {1, 2}, 2, 'a', {1, 2, 0}, {1, 2, 0}},
  };
  for (const Case& c : cases) {
    TSlist<int> l;
    for (int x : c.input) l.append(x);
    TSlistIterator<int> it(l);
    std::vector<int> visited;
    while (int* p = it.next()) {
      visited.push_back(*p);
      if (*p != c.at) continue;
      if (c.action == 'd') it.del();
      if (c.action == 'b') it.insert_before(0);
      if (c.action == 'a') it.insert_after(0);
    }
    EXPECT_EQ(visited, c.visited) << c.name;
    expect_consistent(l, c.result);
  }
}

TEST(SlistIteratorTest, DeleteAllThenInsertAroundTheGap) {
  TSlist<int> l = make({1, 2, 3, 4});
  TSlistIterator<int> it(l);
  while (int* p = it.next()) {
    int v = *p;
    if (v % 2 == 0) {
      it.del();
      EXPECT_EQ(it.current(), nullptr);
      it.insert_before(-v * 10);  // lands where the deleted one was, not visited
    }
  }
  expect_consistent(l, {1, -20, 3, -40});

  Slist empty;
  SlistIterator none_left(empty);
  EXPECT_EQ(none_left.next(), nullptr);
  EXPECT_EQ(none_left.next(), nullptr);
}

TEST(SlistIteratorTest, InsertAfterADeletedElementIsVisitedNext) {
  TSlist<int> l = make({1, 2, 3});
  TSlistIterator<int> it(l);
  std::vector<int> visited;
  while (int* p = it.next()) {
    visited.push_back(*p);
    if (*p == 2) {
      it.del();
      it.insert_after(7);
    }
  }
  EXPECT_EQ(visited, (std::vector<int>{1, 2, 7, 3}));
  expect_consistent(l, {1, 7, 3});
}

}  // namespace
}  // namespace lorvan
