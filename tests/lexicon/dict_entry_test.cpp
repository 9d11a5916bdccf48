// Entries of dictionary text files: how they are cut out of the text, where
// each starts, and their head words.
#include "lexicon/dict_on_disk_entry.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "strbufs.h"

namespace lorvan {
namespace {

struct Read {
  std::vector<std::string> entries;
  std::vector<std::uint64_t> starts;  // offset() before each entry
  std::string err;
};

Read read_all(const std::string& text, DictBrackets brackets = {}) {
  std::stringbuf in(text);
  std::ostringstream err;
  std::streambuf* saved = std::cerr.rdbuf(err.rdbuf());
  DictEntryReader reader(brackets);
  reader.attach(&in, 0);
  StrBufs out(16);  // small, so that long entries cross blocks
  Read r;
  for (;;) {
    const std::uint64_t start = reader.offset();
    const char* entry = reader.next(out);
    if (entry == nullptr) break;
    r.entries.emplace_back(entry);
    r.starts.push_back(start);
  }
  std::cerr.rdbuf(saved);
  r.err = err.str();
  return r;
}

TEST(DictEntryReader, CutsBalancedEntriesAndSkipsTheTextBetween) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"(a (m1))\n(b (m2 (x)))\n", {"(a (m1))", "(b (m2 (x)))"}},
      {"junk ; ) between (a) more ) junk (b)", {"(a)", "(b)"}},
      // Brackets inside quotes do not count; a backslash there takes the
      // next character, even a quote, with it.
      {"(a \"x)y(\" (m)) (b)", {"(a \"x)y(\" (m))", "(b)"}},
      {"(a \"q\\\"(\" ) (b)", {"(a \"q\\\"(\" )", "(b)"}},
      // Outside quotes a backslash is an ordinary character.
      {"(a \\) (b)", {"(a \\)", "(b)"}},
      {"", {}},
      {"no entries at all", {}},
      {"(a long entry that is much longer than the first block of the arena (m))",
       {"(a long entry that is much longer than the first block of the arena (m))"}},
  };
  for (const Case& c : cases) {
    Read r = read_all(c.text);
    EXPECT_EQ(r.entries, c.entries) << c.text;
    EXPECT_EQ(r.err, "") << c.text;
  }
}

TEST(DictEntryReader, OffsetsTellWhereReadingForEachEntryStarts) {
  Read r = read_all("(a x)\n(b y)\n\n  (c)");
  EXPECT_EQ(r.entries, (std::vector<std::string>{"(a x)", "(b y)", "(c)"}));
  EXPECT_EQ(r.starts, (std::vector<std::uint64_t>{0, 5, 11}));
}

TEST(DictEntryReader, OtherBracketsDelimitEntries) {
  Read r = read_all("(ignored) [a [b] (c] [d]", {'[', ']'});
  EXPECT_EQ(r.entries, (std::vector<std::string>{"[a [b] (c]", "[d]"}));
}

TEST(DictEntryReader, AnEntryCutShortByTheEndIsReportedWithItsBeginning) {
  Read r = read_all("(a (m)) (b (c)");
  EXPECT_EQ(r.entries, std::vector<std::string>{"(a (m))"});
  EXPECT_EQ(r.err, "DictOnDisk::get_entry: unmatched parenthesis\n(b (c)\n");

  // An open quote runs to the end as well; only 99 characters are shown.
  const std::string tail = "(x \"" + std::string(200, 'q');
  r = read_all(tail);
  EXPECT_TRUE(r.entries.empty());
  EXPECT_EQ(r.err, "DictOnDisk::get_entry: unmatched parenthesis\n" + tail.substr(0, 99) + "\n");
}

TEST(DictHeadWord, IsTheTextBeforeTheFirstBracketOrTheQuotedText) {
  struct Case {
    const char* entry;
    const char* head;  // null: none
  };
  const Case cases[] = {
      {"(book (noun))", "book"},
      {"(\n\t book \n (noun))", "book"},
      {"(New   York (noun))", "New   York"},  // blanks inside stay
      {"(\"New York\" (noun))", "New York"},
      {"( \"a\\\"b(\" (noun))", "a\"b("},
      {"(word)", "word"},
      {"()", ""},
      {"(\"open quote", "open quote"},
      {"(no bracket follows", nullptr},
      {"", nullptr},
  };
  StrBufs out;
  for (const Case& c : cases) {
    const char* head = dict_head_word(c.entry, DictBrackets{}, out);
    if (c.head == nullptr) {
      EXPECT_EQ(head, nullptr) << c.entry;
    } else {
      ASSERT_NE(head, nullptr) << c.entry;
      EXPECT_STREQ(head, c.head) << c.entry;
    }
  }
  EXPECT_STREQ(dict_head_word("[tree (x) [n]]", DictBrackets{'[', ']'}, out), "tree (x)");
}

}  // namespace
}  // namespace lorvan
