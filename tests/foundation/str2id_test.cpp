#include "str2id.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvan {
namespace {

TEST(Str2Id, AssignsIdsFromOneCaseInsensitively) {
  Str2Id ids(5);
  EXPECT_EQ(ids.get_id("The", true), 1);
  EXPECT_EQ(ids.get_id("dog", true), 2);
  EXPECT_EQ(ids.get_id("the", false), 1);
  EXPECT_EQ(ids.get_id("THE", true), 1);
  EXPECT_EQ(ids.get_id("cat", false), 0);
  EXPECT_EQ(ids.get_id(nullptr, true), 0);
  EXPECT_EQ(ids.size(), 3);
  EXPECT_STREQ(ids.get_str(1), "The");  // the first spelling is kept
  EXPECT_STREQ(ids.get_str(2), "dog");
  EXPECT_EQ(ids.get_str(0), nullptr);
  EXPECT_EQ(ids.get_str(3), nullptr);
  EXPECT_EQ(ids.get_str(-1), nullptr);
}

TEST(Str2Id, CopiesStringsAndKeepsThemStable) {
  Str2Id ids(11);
  std::string word = "volatile";
  int id = ids.get_id(word.c_str(), true);
  const char* kept = ids.get_str(id);
  word[0] = 'X';
  for (int i = 0; i < 5000; ++i) ids.get_id(("w" + std::to_string(i)).c_str(), true);
  EXPECT_STREQ(kept, "volatile");
  EXPECT_EQ(ids.get_str(id), kept);
}

TEST(Str2Id, ManyStringsInFewBucketsAllResolve) {
  Str2Id ids(11);
  for (int i = 0; i < 2000; ++i) {
    ASSERT_EQ(ids.get_id(("Key" + std::to_string(i)).c_str(), true), i + 1);
  }
  for (int i = 1999; i >= 0; --i) {
    EXPECT_EQ(ids.get_id(("kEY" + std::to_string(i)).c_str(), false), i + 1);
  }
}

TEST(Str2Id, PackWritesCountThenStrings) {
  Str2Id ids;
  ids.get_id("ab", true);
  ids.get_id("c", true);
  StrBufs buf(4);
  ids.pack(buf);
  const std::string expected("\0\0\0\x03" "ab\0c\0", 9);
  EXPECT_EQ(std::string(buf.str(), buf.length()), expected);
}

TEST(Str2Id, UnpackRebuildsTheMap) {
  Str2Id source;
  for (const char* w : {"alpha", "Beta", "gamma"}) source.get_id(w, true);
  StrBufs buf;
  source.pack(buf);
  buf.push_int(42);  // something after the table

  Str2Id copy;
  copy.get_id("stale", true);
  const char* cur = buf.str();
  copy.unpack(cur);
  EXPECT_EQ(StrBufs::get_int(cur), 42);
  EXPECT_EQ(copy.size(), 4);
  EXPECT_EQ(copy.get_id("BETA", false), 2);
  EXPECT_EQ(copy.get_id("stale", false), 0);
  EXPECT_STREQ(copy.get_str(3), "gamma");
  EXPECT_EQ(copy.get_id("delta", true), 4);
}

TEST(Str2Id, UnpackOfEmptyTable) {
  Str2Id empty, target;
  target.get_id("x", true);
  StrBufs buf;
  empty.pack(buf);
  const char* cur = buf.str();
  target.unpack(cur);
  EXPECT_EQ(target.size(), 1);
  EXPECT_EQ(cur, buf.str() + 4);
}

TEST(Str2Id, UnpackReportsDuplicatesAndKeepsLaterIds) {
  const std::string packed("\0\0\0\x04" "one\0ONE\0two\0", 16);
  Str2Id ids;
  const char* cur = packed.data();
  testing::internal::CaptureStderr();
  ids.unpack(cur);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Duplicate entry in Str2Id: ONE\n");
  EXPECT_EQ(ids.get_id("one", false), 1);
  EXPECT_EQ(ids.get_id("two", false), 3);  // ids still match the packed order
  EXPECT_EQ(ids.size(), 4);
}

}  // namespace
}  // namespace lorvan
