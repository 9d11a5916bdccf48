// Dictionaries on disk: header files, the index and its construction,
// look-up, companion files beside the header, and damaged or unusable
// files, which must be reported, left alone and never used.
#include "lexicon/dict_on_disk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lexicon/lexicon.h"
#include "searchpath.h"
#include "strfuncs.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

// Sorted case-insensitively, with two spellings of book and a quoted
// two-word head word.
constexpr char kDictionary[] =
    "; a small dictionary\n"
    "(apple (noun))\n"
    "(Book (noun (num sg)))\n"
    "(book (verb))\n"
    "(\"New York\" (noun))\n"
    "(run (verb) (noun \"a (run\"))\n"
    "(zebra (noun))\n";

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::uint32_t> words_of(const std::string& bytes) {
  std::vector<std::uint32_t> words;
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    std::uint32_t w = 0;
    for (std::size_t k = 0; k < 4; ++k) w = w << 8 | static_cast<unsigned char>(bytes[i + k]);
    words.push_back(w);
  }
  return words;
}

std::string bytes_of(const std::vector<std::uint32_t>& words) {
  std::string bytes;
  for (std::uint32_t w : words) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(w >> shift & 0xFF);
  }
  return bytes;
}

class DictOnDiskTest : public ::testing::Test {
 protected:
  DictOnDiskTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~DictOnDiskTest() override {
    std::cerr.rdbuf(saved_err_);
    clear_search_path();
  }

  std::string path(const std::string& name) const { return dir_.file(name); }
  void write(const std::string& name, const std::string& content) const {
    dir_.write(name, content);
  }
  // A header "name" for dictionary `dict` and index `index` (relative
  // names, so beside the header).
  void write_header(const std::string& name, const std::string& dict, unsigned buckets,
                    const std::string& index) const {
    write(name, dict + " " + std::to_string(buckets) + " " + index + " ( )\n");
  }
  // A dictionary "d.lex" with header "d.hdr" and index "d.idx".
  void make_dictionary(const std::string& content, unsigned buckets) const {
    write("d.lex", content);
    write_header("d.hdr", "d.lex", buckets, "d.idx");
  }
  std::unique_ptr<DictOnDisk> open(const std::string& header = "d.hdr") {
    return std::make_unique<DictOnDisk>(path(header).c_str());
  }
  // Makes `name` look `seconds` newer (or older) than `than`.
  void set_newer(const std::string& name, const std::string& than, int seconds) const {
    fs::last_write_time(path(name), fs::last_write_time(path(than)) + std::chrono::seconds(seconds));
  }
  std::string take_err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }
  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.path())) names.insert(e.path().filename());
    return names;
  }

  static std::string found(DictOnDisk& dict, const char* word) {
    const char* entry = dict.search(word);
    return entry != nullptr ? entry : "(none)";
  }

  TempDir dir_;
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

// ---- Look-up ----

TEST_F(DictOnDiskTest, FindsEveryEntryByItsHeadWordUnderAnyBucketCount) {
  struct Case {
    const char* word;
    const char* entry;
  };
  const Case cases[] = {
      {"apple", "(apple (noun))"},
      {"APPLE", "(apple (noun))"},
      // Two head words that differ only in case: the first in the file
      // answers to either spelling.
      {"book", "(Book (noun (num sg)))"},
      {"BOOK", "(Book (noun (num sg)))"},
      {"new york", "(\"New York\" (noun))"},
      {"run", "(run (verb) (noun \"a (run\"))"},
      {"zebra", "(zebra (noun))"},
      {"absent", "(none)"},
      {"New", "(none)"},
      {"", "(none)"},
  };
  for (unsigned buckets : {1u, 2u, 3u, 7u, 1009u}) {
    fs::remove(path("d.idx"));
    make_dictionary(kDictionary, buckets);
    std::unique_ptr<DictOnDisk> dict = open();
    ASSERT_TRUE(dict->ok()) << buckets << ": " << take_err();
    for (const Case& c : cases) EXPECT_EQ(found(*dict, c.word), c.entry) << buckets << " " << c.word;
    EXPECT_EQ(dict->search(nullptr), nullptr);
  }
}

TEST_F(DictOnDiskTest, EntriesInOtherBracketsAreFound) {
  write("d.lex", "[tree [noun]] (ignored) [bush [noun (x]]\n");
  write("d.hdr", "d.lex 5 d.idx [ ]\n");
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok()) << take_err();
  EXPECT_EQ(found(*dict, "bush"), "[bush [noun (x]]");
  EXPECT_EQ(found(*dict, "ignored"), "(none)");
}

TEST_F(DictOnDiskTest, ACandidateIsTakenOnlyWhenItsHeadWordMatches) {
  make_dictionary("(a (x))\n(b (y))\n", 1);
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok());
  EXPECT_STREQ(dict->search("B", 8), "(b (y))");
  EXPECT_EQ(dict->search("a", 8), nullptr);
  EXPECT_STREQ(dict->search("a", 1), "(a (x))");
  EXPECT_EQ(dict->search("a", 0), nullptr);
  EXPECT_EQ(dict->search("a", 1000), nullptr);
}

TEST_F(DictOnDiskTest, AnUnusableDictionarySaysSoAndFindsNothing) {
  std::unique_ptr<DictOnDisk> dict = open("missing.hdr");
  take_err();
  EXPECT_FALSE(dict->ok());
  EXPECT_EQ(dict->search("a"), nullptr);
  EXPECT_EQ(take_err(), "Dictionary file or index file not openned.\n");
}

TEST_F(DictOnDiskTest, ADictionaryChangedAfterLinkingGivesNothingInsteadOfGarbage) {
  make_dictionary(kDictionary, 7);
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok());
  write("d.lex", "(apple");  // truncated under the open dictionary
  EXPECT_EQ(found(*dict, "zebra"), "(none)");
  write("d.lex", std::string(sizeof kDictionary, 'x'));
  EXPECT_EQ(found(*dict, "book"), "(none)");
}

// ---- The index ----

TEST_F(DictOnDiskTest, TheIndexHoldsSinglesInTheTableAndListsAfterIt) {
  struct Case {
    const char* dictionary;
    std::vector<std::uint32_t> index;
  };
  const Case cases[] = {
      // One entry: its position + 1 with the top bit, no list.
      {"(a (x))", {0x80000001u}},
      // Reading for the second entry starts right after the first one.
      {"(a (x))\n(b (y))\n", {4, 1, 8, 0}},
      {"", {0}},
  };
  for (const Case& c : cases) {
    fs::remove(path("d.idx"));
    make_dictionary(c.dictionary, 1);
    EXPECT_TRUE(open()->ok()) << c.dictionary;
    EXPECT_EQ(words_of(read_file(path("d.idx"))), c.index) << c.dictionary;
  }
}

TEST_F(DictOnDiskTest, EachHeadWordGoesToItsHashBucketInDictionaryOrder) {
  // Three buckets for six entries: at least one bucket holds a list.
  make_dictionary(kDictionary, 3);
  ASSERT_TRUE(open()->ok());
  const std::vector<std::uint32_t> index = words_of(read_file(path("d.idx")));
  const std::string text = kDictionary;
  const char* heads[] = {"apple", "Book", "book", "New York", "run", "zebra"};
  const char* entries[] = {"(apple", "(Book", "(book", "(\"New York", "(run", "(zebra"};
  std::vector<std::vector<std::uint32_t>> expected(3);
  for (int i = 0; i < 6; ++i) {
    // Reading for an entry starts just after the previous one.
    const std::size_t start = i == 0 ? 0 : text.rfind(')', text.find(entries[i])) + 1;
    expected[hashpjw(heads[i]) % 3].push_back(static_cast<std::uint32_t>(start + 1));
  }

  std::uint32_t next_list = 12;
  for (std::uint32_t b = 0; b < 3; ++b) {
    const std::vector<std::uint32_t>& want = expected[b];
    if (want.empty()) {
      EXPECT_EQ(index[b], 0u);
    } else if (want.size() == 1) {
      EXPECT_EQ(index[b], want[0] | 0x80000000u);
    } else {
      ASSERT_EQ(index[b], next_list);
      std::vector<std::uint32_t> list(index.begin() + next_list / 4,
                                      index.begin() + next_list / 4 + want.size() + 1);
      std::vector<std::uint32_t> want_list = want;
      want_list.push_back(0);
      EXPECT_EQ(list, want_list) << b;
      next_list += 4 * (want.size() + 1);
    }
  }
  EXPECT_EQ(index.size() * 4, next_list);
}

TEST_F(DictOnDiskTest, BuildingReportsProgressEvery5000EntriesAndAtTheEnd) {
  std::string text;
  for (int i = 0; i <= 10000; ++i) text += "(w" + std::to_string(i) + " (n))\n";
  make_dictionary(text, 4001);
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok());
  EXPECT_EQ(take_err(), "Making Index file " + path("d.idx") +
                            ". Please wait.\n5000 entries\n10000 entries\n10001 entries\n");
  EXPECT_EQ(found(*dict, "w0"), "(w0 (n))");
  EXPECT_EQ(found(*dict, "W7777"), "(w7777 (n))");
  EXPECT_EQ(found(*dict, "w10000"), "(w10000 (n))");
  EXPECT_EQ(found(*dict, "w10001"), "(none)");
}

TEST_F(DictOnDiskTest, AnEntryLeftOpenAtTheEndIsReportedAndTheOthersIndexed) {
  make_dictionary("(a (x))\n(b (y)\n", 3);
  std::unique_ptr<DictOnDisk> dict = open();
  EXPECT_EQ(take_err(), "Making Index file " + path("d.idx") +
                            ". Please wait.\nDictOnDisk::get_entry: unmatched parenthesis\n"
                            "(b (y)\n\n1 entries\n");
  ASSERT_TRUE(dict->ok());
  EXPECT_EQ(found(*dict, "a"), "(a (x))");
  EXPECT_EQ(found(*dict, "b"), "(none)");
}

TEST_F(DictOnDiskTest, TheIndexIsRebuiltOnlyWhenTheDictionaryIsNewer) {
  make_dictionary("(old (x))\n", 7);
  ASSERT_TRUE(open()->ok());
  EXPECT_NE(take_err().find("Making Index file"), std::string::npos);

  ASSERT_TRUE(open()->ok());
  EXPECT_EQ(take_err(), "");  // up to date: used as it is

  write("d.lex", "(new (y))\n(old (x))\n");
  set_newer("d.lex", "d.idx", 10);
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok());
  EXPECT_EQ(take_err(), "Making Index file " + path("d.idx") + ". Please wait.\n2 entries\n");
  EXPECT_EQ(found(*dict, "new"), "(new (y))");
  EXPECT_EQ(found(*dict, "old"), "(old (x))");
}

TEST_F(DictOnDiskTest, ADamagedIndexIsReportedLeftAloneAndNotUsed) {
  // Three entries in one bucket: the table word 4, then the list.
  const std::string dictionary = "(a (x))\n(a (y))\n(a (z))\n";
  const std::uint32_t beyond = static_cast<std::uint32_t>(dictionary.size()) + 1;
  const std::vector<std::uint32_t> good = {4, 1, 8, 16, 0};
  struct Case {
    std::string index;
    const char* fault;
  };
  const Case cases[] = {
      {"", "it is shorter than its bucket table"},
      {bytes_of(good).substr(0, 18), "its size is not a multiple of 4"},
      {bytes_of({4, 1, 8, 16}), "a bucket list runs past the end"},
      {bytes_of({4, 1, 8, 16, 0, 0}), "it has data after its last list"},
      {bytes_of({8, 1, 8, 16, 0}), "a bucket list is out of place"},
      {bytes_of({0x80000000u | beyond}), "an entry position is out of range"},
      {bytes_of({4, 1, beyond, 16, 0}), "an entry position is out of range"},
      {bytes_of({4, 1, 0, 16, 0}), "it has data after its last list"},
      {bytes_of({4, 0}), "a bucket list is empty"},
      {"(this is text, not an index file.)\n\n", "a bucket list is out of place"},
  };
  make_dictionary(dictionary, 1);
  ASSERT_TRUE(open()->ok());
  ASSERT_EQ(words_of(read_file(path("d.idx"))), good);
  for (const Case& c : cases) {
    write("d.idx", c.index);
    set_newer("d.idx", "d.lex", 10);
    take_err();
    std::unique_ptr<DictOnDisk> dict = open();
    EXPECT_FALSE(dict->ok());
    EXPECT_EQ(take_err(), "The index file '" + path("d.idx") + "' is damaged (" + c.fault +
                              "); remove it to have it rebuilt\n");
    EXPECT_EQ(read_file(path("d.idx")), c.index);
  }
}

TEST_F(DictOnDiskTest, AFailedBuildLeavesNothingBehind) {
  make_dictionary("(a (x))\n", 7);
  // The index cannot be created in a folder that does not exist.
  write_header("nodir.hdr", "d.lex", 7, "nodir/d.idx");
  std::unique_ptr<DictOnDisk> dict = open("nodir.hdr");
  EXPECT_FALSE(dict->ok());
  EXPECT_EQ(take_err(), "Making Index file " + path("nodir/d.idx") + ". Please wait.\n" +
                            "Cannot open index file " + path("nodir/d.idx") + "\n");

  // A folder in the index's place cannot be replaced: the folder stays and
  // the half-made file goes.
  write("taken/keep", "precious");
  set_newer("taken", "d.lex", -10);
  write_header("taken.hdr", "d.lex", 7, "taken");
  const std::set<std::string> before = files();
  dict = open("taken.hdr");
  EXPECT_FALSE(dict->ok());
  EXPECT_EQ(take_err(), "Making Index file " + path("taken") + ". Please wait.\n1 entries\n" +
                            "Cannot write index file " + path("taken") + "\n");
  EXPECT_EQ(files(), before);
  EXPECT_EQ(read_file(path("taken/keep")), "precious");
}

// ---- Header files and companion files ----

TEST_F(DictOnDiskTest, MalformedHeadersAreReportedAndNotUsed) {
  struct Case {
    const char* header;
    const char* fault;
  };
  const Case cases[] = {
      {"", "missing the dictionary file name"},
      {"; only a comment\n", "missing the dictionary file name"},
      {"d.lex", "missing the number of buckets"},
      {"d.lex 7", "missing the index file name"},
      {"d.lex 7 d.idx", "missing the opening character"},
      {"d.lex 7 d.idx (", "missing the closing character"},
      {"d.lex abc d.idx ( )", "the number of buckets must be a number from 1 to 536870911, not abc"},
      {"d.lex 0 d.idx ( )", "the number of buckets must be a number from 1 to 536870911, not 0"},
      {"d.lex -3 d.idx ( )", "the number of buckets must be a number from 1 to 536870911, not -3"},
      {"d.lex 536870912 d.idx ( )",
       "the number of buckets must be a number from 1 to 536870911, not 536870912"},
      {"d.lex 7 d.idx ( (",
       "the opening and closing characters must differ and neither may be '\"'"},
      {"d.lex 7 d.idx \"(\" )",
       "the opening and closing characters must differ and neither may be '\"'"},
      {"\"\" 7 d.idx ( )", "the dictionary file name is empty"},
  };
  write("d.lex", "(a (x))\n");
  for (const Case& c : cases) {
    write("bad.hdr", c.header);
    std::unique_ptr<DictOnDisk> dict = open("bad.hdr");
    EXPECT_FALSE(dict->ok()) << c.header;
    EXPECT_EQ(take_err(), "Bad dictionary header " + path("bad.hdr") + ": " + c.fault + "\n")
        << c.header;
  }
  EXPECT_FALSE(fs::exists(path("d.idx")));
}

TEST_F(DictOnDiskTest, HeadersMayQuoteNamesAndCarryComments) {
  write("my words.lex", "(a (x))\n");
  write("d.hdr", "; the dictionary\n\"my words.lex\" ; its name\n  13\n\"my index\"\n(\n)\n");
  std::unique_ptr<DictOnDisk> dict = open();
  ASSERT_TRUE(dict->ok()) << take_err();
  EXPECT_EQ(found(*dict, "a"), "(a (x))");
  EXPECT_TRUE(fs::exists(path("my index")));
}

TEST_F(DictOnDiskTest, MissingOrUnopenableFilesAreReported) {
  struct Case {
    std::string header;  // contents of d.hdr; empty: no header at all
    std::string message;
  };
  write("folder/x", "");
  const Case cases[] = {
      {"", "The file " + path("d.hdr") + " cannot be opened\n"},
      {"none.lex 7 d.idx ( )", path("none.lex") + " does not exist\n"},
      {"folder 7 d.idx ( )", "Error openning dictionary " + path("folder") + "\n"},
  };
  for (const Case& c : cases) {
    fs::remove(path("d.hdr"));
    if (!c.header.empty()) write("d.hdr", c.header);
    std::unique_ptr<DictOnDisk> dict = open();
    EXPECT_FALSE(dict->ok());
    EXPECT_EQ(take_err(), c.message);
  }
  EXPECT_FALSE(fs::exists(path("d.idx")));
}

TEST_F(DictOnDiskTest, CompanionFilesLieBesideTheHeaderFoundOnTheSearchPath) {
  write("data/sub/words.hdr", "words.lex 11 words.idx ( )\n");
  write("data/sub/words.lex", "(sub (x))\n");
  write("other/abs.hdr", path("data/sub/words.lex") + " 11 " + path("other/abs.idx") + " ( )\n");
  set_search_paths(path("data").c_str());

  auto dict = std::make_unique<DictOnDisk>("sub/words.hdr");
  ASSERT_TRUE(dict->ok()) << take_err();
  EXPECT_EQ(found(*dict, "sub"), "(sub (x))");
  EXPECT_TRUE(fs::exists(path("data/sub/words.idx")));

  // Absolute names in a header are used as they are.
  dict = std::make_unique<DictOnDisk>(path("other/abs.hdr").c_str());
  ASSERT_TRUE(dict->ok()) << take_err();
  EXPECT_EQ(found(*dict, "SUB"), "(sub (x))");
  EXPECT_TRUE(fs::exists(path("other/abs.idx")));
}

// ---- Linking to a lexicon ----

// Counts the searches that reach a dictionary.
class CountingDictionary : public DiskDictionary {
 public:
  CountingDictionary(std::unique_ptr<DiskDictionary> inner, int& count)
      : inner_(std::move(inner)), count_(count) {}
  bool ok() const override { return inner_->ok(); }
  const char* search(const char* word) override {
    ++count_;
    return inner_->search(word);
  }

 private:
  std::unique_ptr<DiskDictionary> inner_;
  int& count_;
};

TEST_F(DictOnDiskTest, ALexiconLinksOnlyUsableDictionaries) {
  make_dictionary(kDictionary, 7);
  Lexicon lexicon(11, nullptr);
  lexicon.add_disk_file(path("missing.hdr").c_str());
  EXPECT_EQ(lexicon.disk_count(), 0);
  lexicon.add_disk_file(path("d.hdr").c_str());
  EXPECT_EQ(lexicon.disk_count(), 1);
}

TEST_F(DictOnDiskTest, AWordMissingFromDiskIsSearchedOnceUntilTheLexiconIsCleared) {
  make_dictionary(kDictionary, 7);
  Lexicon lexicon(11, nullptr);
  int searches = 0;
  lexicon.link_disk(std::make_unique<CountingDictionary>(open(), searches));
  EXPECT_EQ(lexicon.search_entry("unknown"), nullptr);
  EXPECT_EQ(lexicon.search_entry("UNKNOWN"), nullptr);
  EXPECT_EQ(searches, 1);
  lexicon.clear();
  EXPECT_EQ(lexicon.search_entry("unknown"), nullptr);
  EXPECT_EQ(searches, 2);
}

}  // namespace
}  // namespace lorvan
