#include "hashtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "strfuncs.h"

namespace lorvan {
namespace {

unsigned one_bucket(const char*) { return 0; }
unsigned first_byte(const char* s) { return static_cast<unsigned char>(s[0]); }

std::vector<std::string> elements(const THashTable<const char*>& t) {
  std::vector<std::string> out;
  for (const char* s : t) out.push_back(s);
  return out;
}

TEST(HashTableTest, BucketCountFollowsThePrimeTable) {
  struct Case {
    unsigned requested;
    unsigned buckets;
  };
  const Case cases[] = {{0, 101}, {101, 101}, {102, 1997}, {2000, 9973}, {99991, 99991}, {200000, 200000}};
  for (const Case& c : cases) {
    THashTableWithOrd<const char*> ord(c.requested, &hashpjw, &lorvan::strcasecmp);
    THashTableWithoutOrd<const char*> unord(c.requested, &hashpjw, &lorvan::strcasecmp);
    EXPECT_EQ(ord.bucket_count(), c.buckets) << c.requested;
    EXPECT_EQ(unord.bucket_count(), c.buckets) << c.requested;
  }
}

TEST(HashTableTest, OrderedChainsAreSortedUnorderedKeepEntryOrder) {
  // A constant hash puts every element in one chain, so iteration shows it.
  const char* words[] = {"pear", "Apple", "fig", "banana"};
  THashTable<const char*> ord(7, &one_bucket, &lorvan::strcasecmp, true);
  THashTable<const char*> unord(7, &one_bucket, &lorvan::strcasecmp, false);
  for (const char* w : words) {
    EXPECT_TRUE(ord.insert(w));
    EXPECT_TRUE(unord.insert(w));
  }
  EXPECT_EQ(elements(ord), (std::vector<std::string>{"Apple", "banana", "fig", "pear"}));
  EXPECT_EQ(elements(unord), (std::vector<std::string>{"pear", "Apple", "fig", "banana"}));
  for (auto* t : {&ord, &unord}) {
    EXPECT_FALSE(t->insert("APPLE")) << "duplicate under the compare function";
    ASSERT_NE(t->find("FIG"), nullptr);
    EXPECT_STREQ(*t->find("FIG"), "fig");
    EXPECT_EQ(t->find("grape"), nullptr);
    EXPECT_EQ(t->size(), 4);
  }
}

TEST(HashTableTest, FindThenInsertAtThePlace) {
  // One sorted chain: each place must be the element's sorted position.
  THashTable<const char*> t(3, &one_bucket, &std::strcmp, true);
  decltype(t)::Place place;
  for (const char* s : {"b", "d", "a", "c"}) {
    ASSERT_EQ(t.find(s, place), nullptr);
    EXPECT_STREQ(*t.insert_at(place, s), s);
  }
  EXPECT_EQ(elements(t), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_NE(t.find("c", place), nullptr);
  EXPECT_EQ(t.size(), 4);
}

struct Rec {
  std::string key;
  int value;
};
const char* rec_key(Rec* const& r) { return r->key.c_str(); }
int deleted_recs = 0;
void delete_rec(Rec* r) {
  ++deleted_recs;
  delete r;
}

TEST(HashTableTest, DeleterOwnsElements) {
  deleted_recs = 0;
  {
    THashTableWithOrd<const char*, Rec*> t(10, &hashpjw, &lorvan::strcasecmp, &delete_rec, &rec_key);
    for (const char* k : {"x", "y", "z", "w"}) t.insert(new Rec{k, 0});
    Rec* dup = new Rec{"X", 1};
    EXPECT_FALSE(t.insert(dup));
    delete dup;
    EXPECT_TRUE(t.remove("Y"));  // handed to the deleter
    EXPECT_EQ(deleted_recs, 1);
    Rec* taken = nullptr;
    EXPECT_TRUE(t.remove("z", &taken));  // moved out, not deleted
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->key, "z");
    delete taken;
    EXPECT_EQ(deleted_recs, 1);
    EXPECT_FALSE(t.remove("nope"));
    EXPECT_EQ(t.size(), 2);
  }
  EXPECT_EQ(deleted_recs, 3);  // the destructor deletes the rest
}

TEST(HashTableTest, UntypedTableHashesPointers) {
  int a, b, c;
  auto by_address = [](const void* p) { return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p) >> 3); };
  auto same = [](const void* x, const void* y) { return x < y ? -1 : (x > y ? 1 : 0); };
  HashTableWithoutOrd t(101, by_address, same);
  EXPECT_TRUE(t.insert(&a));
  EXPECT_TRUE(t.insert(&b));
  EXPECT_FALSE(t.insert(&a));
  EXPECT_NE(t.find(&b), nullptr);
  EXPECT_EQ(t.find(&c), nullptr);
  int n = 0;
  t.for_each([&n](void*) { ++n; });
  EXPECT_EQ(n, 2);
}

TEST(HashTableTest, ShowProfilePrintsChainHistogram) {
  // Buckets by first byte modulo 3: "a"(97%3=1) "d"(100%3=1) "g"(103%3=1) "b"(98%3=2)
  THashTable<const char*> t(3, &first_byte, &std::strcmp, false);
  for (const char* s : {"a", "d", "g", "b"}) t.insert(s);
  std::ostringstream out;
  t.show_profile(out, 5);
  EXPECT_EQ(out.str(),
            "size=0:1\tsize=1:1\tsize=2:0\tsize=3:1\tsize=4:0\n"
            "size=5:0\n"
            "total number of elements = 4\n");
  std::ostringstream capped;
  t.show_profile(capped, 2);  // the last class counts chains of 2 or more
  EXPECT_EQ(capped.str(), "size=0:1\tsize=1:1\tsize=2:1\ntotal number of elements = 4\n");
}

TEST(SHashTableTest, CaseInsensitiveWithAtLeastElevenBuckets) {
  SHashTable<Rec*> small(5, &rec_key, &delete_rec);
  SHashTable<Rec*> big(50, &rec_key);
  EXPECT_EQ(small.bucket_count(), 11u);
  EXPECT_EQ(big.bucket_count(), 50u);
  small.insert(new Rec{"Lexicon", 1});
  small.insert(new Rec{"tokenizer", 2});
  ASSERT_NE(small.find("LEXICON"), nullptr);
  EXPECT_EQ((*small.find("lexicon"))->value, 1);
  EXPECT_TRUE(small.ordered());
}

// Intrusive records for the string-keyed intrusive table.
struct Entry : Llink {
  explicit Entry(std::string k) : word(std::move(k)) {}
  const char* key() const { return word.c_str(); }
  std::string word;
};
int deleted_entries = 0;
void delete_entry(Entry* e) {
  ++deleted_entries;
  delete e;
}

TEST(LHashTableTest, EnterSearchRemove) {
  deleted_entries = 0;
  {
    TLHashTable<Entry> t(13, &str_to_upper_cmp, &delete_entry);
    Entry* the = new Entry("the");
    EXPECT_EQ(t.enter(the), the);
    Entry* other = new Entry("THE");
    EXPECT_EQ(t.enter(other), the);  // already present: the old record is returned
    delete other;
    EXPECT_EQ(t.search("The"), the);
    EXPECT_EQ(t.search("a"), nullptr);

    TLHashTable<Entry>::Place place;
    EXPECT_EQ(t.search("dog", place), nullptr);
    Entry* dog = new Entry("dog");
    t.insert(place, dog);
    EXPECT_EQ(t.search("DOG"), dog);
    EXPECT_EQ(t.size(), 2);

    EXPECT_EQ(t.remove("dog"), dog);  // unchained, not deleted
    EXPECT_EQ(deleted_entries, 0);
    delete dog;
    EXPECT_EQ(t.remove("dog"), nullptr);
  }
  EXPECT_EQ(deleted_entries, 1);
}

TEST(LHashTableTest, BucketIsSignedHashModuloBucketCount) {
  // Keys with bytes of 128 and above hash differently under the signed
  // variant; iteration goes bucket by bucket, so its order shows the buckets.
  const unsigned n = 7;
  std::vector<std::string> keys = {"\xe9t\xe9", "caf\xe9", "na\xefve", "abc", "xyz", "\xff"};
  TLHashTable<Entry> t(n, &std::strcmp, &delete_entry);
  for (const std::string& k : keys) t.enter(new Entry(k));
  std::vector<unsigned> buckets;
  t.for_each([&](Entry* e) { buckets.push_back(hashpjw_signed(e->key()) % n); });
  ASSERT_EQ(buckets.size(), keys.size());
  EXPECT_TRUE(std::is_sorted(buckets.begin(), buckets.end()));
  bool differs = false;
  for (const std::string& k : keys) differs |= (hashpjw(k.c_str()) % n) != (hashpjw_signed(k.c_str()) % n);
  EXPECT_TRUE(differs) << "the fixture should tell the two hash variants apart";

  std::multimap<unsigned, std::string> by_bucket;
  for (const std::string& k : keys) by_bucket.insert({hashpjw_signed(k.c_str()) % n, k});
  std::ostringstream expected_profile, profile;
  std::vector<long> counts(4, 0);
  for (unsigned b = 0; b < n; ++b) {
    long c = static_cast<long>(by_bucket.count(b));
    counts[c < 3 ? c : 3] += 1;
  }
  print_chain_profile(expected_profile, counts, 6);
  t.show_profile(profile, 3);
  EXPECT_EQ(profile.str(), expected_profile.str());
}

}  // namespace
}  // namespace lorvan
