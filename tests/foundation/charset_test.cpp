#include "charset.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvan {
namespace {

// All members of a set, as a string of bytes in ascending order.
std::string members(const CharSet& s) {
  std::string out;
  for (int c = 0; c < 256; ++c) {
    if (s.includes(c)) out.push_back(static_cast<char>(c));
  }
  return out;
}

TEST(CharSet, MemberStringsWithRanges) {
  const std::pair<const char*, std::string> cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"a-e", "abcde"},
      {"0-2x-z", "012xyz"},
      {"a-", "-a"},        // a trailing hyphen is literal
      {"-a", "-a"},        // so is a leading one
      {"a-c-e", "-abce"},  // after a range, "-e" is a hyphen and an e
      {"z-a", ""},         // reversed range is empty
      {"c-c", "c"},
      {"--/", "-./"},
      {"\xFD-\xFF", "\xFD\xFE\xFF"},  // bytes are unsigned
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(members(CharSet(text)), expected) << text;
  }
  EXPECT_EQ(members(CharSet(nullptr)), "");
}

TEST(CharSet, IncludesAcceptsSignedChars) {
  CharSet s("\x80-\xFF");
  char high = '\xE9';
  EXPECT_TRUE(s.includes(high));
  EXPECT_TRUE(s.includes(0xE9));
  EXPECT_FALSE(s.includes('a'));
}

TEST(CharSet, NegInitAddAndSet) {
  CharSet s("a-y");
  s.neg();
  EXPECT_FALSE(s.includes('m'));
  EXPECT_TRUE(s.includes('z'));
  EXPECT_TRUE(s.includes(0));
  EXPECT_TRUE(s.includes(255));
  EXPECT_EQ(members(s).size(), 256u - 25);

  s.init("xy");  // init replaces, it does not add
  EXPECT_EQ(members(s), "xy");
  s.add("0-1");
  s.add(CharSet(" "));
  s.set('x', false);
  s.set('\t');
  EXPECT_EQ(members(s), "\t 01y");
}

}  // namespace
}  // namespace lorvan
