#include "llist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvan {
namespace {

struct Rec : Llink {
  Rec(int k, int s) : key(k), serial(s) {}
  int key;
  int serial;
};

int by_key(const Llink* a, const Llink* b) {
  return static_cast<const Rec*>(a)->key - static_cast<const Rec*>(b)->key;
}
int key_vs_rec(int key, const Llink* r) { return key - static_cast<const Rec*>(r)->key; }

std::vector<int> serials(const LList& l) {
  std::vector<int> out;
  for (Llink* x = l.first(); x != nullptr; x = x->lnext) out.push_back(static_cast<Rec*>(x)->serial);
  return out;
}

TEST(LListTest, OrderedInsertSearchDelete) {
  Rec recs[] = {{4, 0}, {2, 1}, {4, 2}, {9, 3}, {1, 4}};
  LList l;
  for (Rec& r : recs) l.ord_insert(&r, by_key);
  EXPECT_EQ(serials(l), (std::vector<int>{4, 1, 0, 2, 3}));  // equal keys in entry order
  EXPECT_EQ(l.length(), 5);

  EXPECT_EQ(l.ord_search(4, key_vs_rec), &recs[0]);
  EXPECT_EQ(l.ord_search(3, key_vs_rec), nullptr);
  int compared = 0;
  auto counting = [&compared](int key, const Llink* r) {
    ++compared;
    return key_vs_rec(key, r);
  };
  EXPECT_EQ(l.ord_search(3, counting), nullptr);
  EXPECT_EQ(compared, 3) << "the search stops at the first larger record";

  EXPECT_EQ(l.ord_del(4, key_vs_rec), &recs[0]);
  EXPECT_EQ(recs[0].lnext, nullptr);
  EXPECT_EQ(l.ord_del(5, key_vs_rec), nullptr);
  EXPECT_EQ(serials(l), (std::vector<int>{4, 1, 2, 3}));
  EXPECT_EQ(l.ord_del(1, key_vs_rec), &recs[4]);  // the head
  EXPECT_EQ(l.ord_del(9, key_vs_rec), &recs[3]);  // the tail
  EXPECT_EQ(serials(l), (std::vector<int>{1, 2}));
}

TEST(LListTest, RemoveAndClearWithDeleter) {
  LList l;
  std::vector<Rec*> made;
  for (int i = 0; i < 4; ++i) {
    made.push_back(new Rec(i, i));
    l.insert(made.back());
  }
  EXPECT_EQ(serials(l), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_TRUE(l.remove(made[2]));
  EXPECT_FALSE(l.remove(made[2]));
  delete made[2];
  std::vector<int> deleted;
  l.clear([&deleted](Llink* x) {
    deleted.push_back(static_cast<Rec*>(x)->serial);
    delete static_cast<Rec*>(x);
  });
  EXPECT_EQ(deleted, (std::vector<int>{3, 1, 0}));
  EXPECT_TRUE(l.empty());
}

}  // namespace
}  // namespace lorvan
