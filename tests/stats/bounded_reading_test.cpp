// Reading packed data from untrusted files: the bounds-checked cursor and
// the bounded unpacking of a word table.
#include <gtest/gtest.h>

#include <string>

#include "byte_reader.h"
#include "str2id.h"

namespace lorvan {
namespace {

TEST(ByteReader, DecodesPackedValuesAndFailsForGoodAtTheEnd) {
  StrBufs packed;
  packed.push_int(-2);
  packed.push_short(513);
  packed.push_float(1.5f);
  packed.push(static_cast<const void*>("key"), 4);
  packed.push_char('z');
  ByteReader in(packed.str(), packed.length());
  EXPECT_EQ(in.get_int(), -2);
  EXPECT_EQ(in.get_unsigned_short(), 513);
  EXPECT_EQ(in.get_float(), 1.5f);
  EXPECT_STREQ(in.get_str(), "key");
  EXPECT_EQ(in.remaining(), 1u);
  EXPECT_EQ(in.get_int(), 0);  // only one byte left
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.remaining(), 1u);  // a failed read consumes nothing
  EXPECT_EQ(in.get_char(), '\0');  // and the reader stays failed
}

TEST(ByteReader, StringWithoutATerminatorIsNotRead) {
  ByteReader in("abc", 3);
  EXPECT_EQ(in.get_str(), nullptr);
  EXPECT_FALSE(in.ok());
}

TEST(Str2IdBoundedUnpack, AcceptsOnlyACompletePackedTable) {
  Str2Id source;
  source.get_id("alpha", true);
  source.get_id("beta", true);
  StrBufs buffer;
  source.pack(buffer);
  const std::string good(buffer.str(), buffer.length());
  const struct {
    const char* name;
    std::string bytes;
    bool accepted;
  } cases[] = {
      {"complete", good, true},
      {"cut in the count", good.substr(0, 2), false},
      {"cut in a string", good.substr(0, good.size() - 1), false},
      {"count beyond the strings", std::string("\0\0\0\x09" "a\0", 6), false},
      {"count zero", std::string("\0\0\0\0", 4), false},
      {"empty table", std::string("\0\0\0\x01", 4), true},
  };
  for (const auto& c : cases) {
    Str2Id table;
    table.get_id("kept", true);
    const char* cursor = c.bytes.data();
    EXPECT_EQ(table.unpack(cursor, c.bytes.data() + c.bytes.size()), c.accepted) << c.name;
    if (c.accepted) {
      EXPECT_EQ(cursor, c.bytes.data() + c.bytes.size()) << c.name;
      EXPECT_EQ(table.get_id("kept", false), 0) << c.name;
    } else {
      EXPECT_EQ(cursor, c.bytes.data()) << c.name;
      EXPECT_EQ(table.get_id("kept", false), 1) << c.name;  // unchanged
    }
  }
  Str2Id table;
  const char* cursor = good.data();
  ASSERT_TRUE(table.unpack(cursor, good.data() + good.size()));
  EXPECT_EQ(table.get_id("BETA", false), 2);
}

}  // namespace
}  // namespace lorvan
