#include "vlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace lorvan {
namespace {

int cmp_int(const int& a, const int& b) { return a < b ? -1 : (a > b ? 1 : 0); }

struct Item {
  int key;
  int serial;
};
int cmp_item(Item* a, Item* b) { return cmp_int(a->key, b->key); }

std::vector<int> contents(const TVlist<int>& v) { return std::vector<int>(v.begin(), v.end()); }

TEST(VlistTest, SortMatchesStdSort) {
  std::mt19937 rng(7);
  std::vector<std::vector<int>> inputs = {
      {}, {1}, {2, 1}, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}, std::vector<int>(50, 3), {3, 1, 3, 1, 3, 1, 2}};
  std::vector<int> big(2000);
  for (int& x : big) x = static_cast<int>(rng() % 100);  // many duplicates
  inputs.push_back(big);
  for (const auto& in : inputs) {
    TVlist<int> v;
    for (int x : in) v.append(x);
    v.sort(cmp_int);
    std::vector<int> expected = in;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(contents(v), expected) << "size " << in.size();
  }
}

TEST(VlistTest, BiSearchFindsFirstEqualOrInsertionPosition) {
  TVlist<int> v;
  for (int x : {10, 20, 20, 20, 30}) v.append(x);
  struct Case {
    int x;
    bool found;
    int pos;
  };
  const Case cases[] = {{5, false, 0}, {10, true, 0}, {15, false, 1}, {20, true, 1},
                        {25, false, 4}, {30, true, 4}, {35, false, 5}};
  for (const Case& c : cases) {
    int pos = -1;
    int* e = v.bi_search(c.x, &pos, cmp_int);
    EXPECT_EQ(e != nullptr, c.found) << c.x;
    EXPECT_EQ(pos, c.pos) << c.x;
    if (e != nullptr) {
      EXPECT_EQ(e, &v[c.pos]);
    }
  }
  TVlist<int> empty;
  int pos = -1;
  EXPECT_EQ(empty.bi_search(1, &pos, cmp_int), nullptr);
  EXPECT_EQ(pos, 0);
}

TEST(VlistTest, InsertKeepsOrderAndHonoursUnique) {
  Item items[] = {{5, 0}, {1, 1}, {5, 2}, {3, 3}, {5, 4}, {1, 5}};
  TVlist<Item*> v;
  for (Item& it : items) EXPECT_TRUE(v.insert(&it, cmp_item));
  // Sorted by key; equal keys in insertion order.
  std::vector<int> serials;
  for (Item* it : v) serials.push_back(it->serial);
  EXPECT_EQ(serials, (std::vector<int>{1, 5, 3, 0, 2, 4}));

  Item dup{3, 9};
  Item fresh{4, 10};
  EXPECT_FALSE(v.insert(&dup, cmp_item, true));
  EXPECT_TRUE(v.insert(&fresh, cmp_item, true));
  EXPECT_EQ(v.length(), 7);
  EXPECT_EQ(v[3], &fresh);
}

TEST(VlistTest, UntypedVlistWithCFunction) {
  int a = 2, b = 1, c = 3;
  Vlist v;
  auto by_value = [](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); };
  v.insert(&a, by_value);
  v.insert(&b, by_value);
  v.insert(&c, by_value);
  EXPECT_EQ(v[0], &b);
  EXPECT_EQ(v[2], &c);
  v.del(0);
  EXPECT_EQ(v[0], &a);
}

}  // namespace
}  // namespace lorvan
