// The lexicon: the entry text format and its printed form, phrase keys and
// anchors, look-ups (case, roots through endings, disk dictionaries and the
// absent-word memory), phrase matching, duplicates and bad input.
#include "lexicon/lexicon.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending.h"
#include "lexicon/ending_table.h"
#include "lexicon/lexicon_fixture.h"
#include "lexicon/phrase.h"

namespace lorvan::lexicon_test {
namespace {

class LexiconTest : public LexiconTestBase {};

// ---- Text format: entry text -> printed form -> the same entry again ----

struct PrintCase {
  const char* text;
  const char* key;
  const char* printed;
};

class EntryPrintTest : public LexiconTestBase, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(EntryPrintTest, PrintsAndReadsBack) {
  const PrintCase& c = GetParam();
  auto first = lexicon_of(c.text);
  EXPECT_EQ(err(), "");
  LexEntry* e = first->search_entry(c.key);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(printed(e), c.printed);

  auto second = lexicon_of(printed(e));
  EXPECT_EQ(err(), "");
  EXPECT_EQ(printed(second->search_entry(c.key)), c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryPrintTest,
    ::testing::Values(
        PrintCase{"(book (avm ((cat n) (num sg))) (freq N 10 V 2) (gloss a thing \"to read\"))",
                  "book",
                  "(book\n (avm ((cat n) (num sg)))\n (freq N 10 V 2)\n"
                  " (gloss a thing \"to read\")\n )\n"},
        PrintCase{"(word)", "word", "(word\n )\n"},
        PrintCase{"(\"New York\" (gloss city))", "new york", "(\"New York\"\n (gloss city)\n )\n"},
        PrintCase{"(x (unknowntype y) (gloss z) (freq))", "x", "(x\n (gloss z)\n (freq )\n )\n"},
        PrintCase{"(ago (phrases (ago , long) (don't know) (a-b)))", "ago",
                  "(ago\n (phrases )\n (phrases (ago , long) (don't know) (a-b))\n )\n"},
        PrintCase{"(\"semi;colon\" (gloss \"a (b)\"))", "semi;colon",
                  "(\"semi;colon\"\n (gloss \"a (b)\")\n )\n"}));

TEST_F(LexiconTest, PrintedLexiconReadsBackWithItsPhrases) {
  auto lexicon = lexicon_of(
      "(New York (gloss city)) (ago , long (gloss adv)) (New (gloss adj)) (York (gloss town))");
  EXPECT_EQ(err(), "") << "an anchor made by a phrase is no duplicate of the word's entry";
  std::ostringstream first;
  lexicon->print(first);
  EXPECT_EQ(first.str(),
            "(ago\n (phrases (ago , long))\n )\n"
            "(\"ago, long\"\n (gloss adv)\n )\n"
            "(New\n (gloss adj)\n (phrases (New York))\n )\n"
            "(\"New York\"\n (gloss city)\n )\n"
            "(York\n (gloss town)\n )\n");

  auto again = lexicon_of(first.str());
  const LexEntry* ago = again->search_entry("ago");
  ASSERT_NE(ago, nullptr);
  ASSERT_EQ(ago->phrases().size(), 1u);
  EXPECT_STREQ(ago->phrases()[0]->text(), "ago, long");
  EXPECT_EQ(ago->phrases()[0]->before(), 1);
  EXPECT_EQ(ago->phrases()[0]->after(), 0);
  // Once read back, printing is stable.
  std::ostringstream second, third;
  again->print(second);
  lexicon_of(second.str())->print(third);
  EXPECT_EQ(second.str(), third.str());
}

// ---- Phrase keys and anchors ----

struct PhraseCase {
  const char* text;
  const char* key;
  const char* anchor;
  int before;
  int after;
};

class PhraseKeyTest : public LexiconTestBase, public ::testing::WithParamInterface<PhraseCase> {};

TEST_P(PhraseKeyTest, KeyAndPhraseInTheAnchorEntry) {
  const PhraseCase& c = GetParam();
  auto lexicon = lexicon_of(c.text);
  LexEntry* e = lexicon->search_entry(c.key);
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->key(), c.key);
  EXPECT_EQ(e->meaning_count(), 1);
  LexEntry* anchor = lexicon->search_entry(c.anchor);
  ASSERT_NE(anchor, nullptr);
  ASSERT_EQ(anchor->phrases().size(), 1u);
  EXPECT_STREQ(anchor->phrases()[0]->text(), c.key);
  EXPECT_EQ(anchor->phrases()[0]->before(), c.before);
  EXPECT_EQ(anchor->phrases()[0]->after(), c.after);
  EXPECT_EQ(anchor->meaning_count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, PhraseKeyTest,
    ::testing::Values(PhraseCase{"(New York (gloss c))", "New York", "New", 0, 1},
                      PhraseCase{"(ago , long (gloss a))", "ago, long", "ago", 1, 0},
                      PhraseCase{"(don't know (gloss v))", "don't know", "don't", 0, 2},
                      PhraseCase{"(a-b c (gloss x))", "a-b c", "a-b", 0, 3},
                      PhraseCase{"(as well , as (gloss x))", "as well, as", "as", 1, 1},
                      PhraseCase{"(out of , in and (gloss x))", "out of, in and", "out", 2, 1}));

TEST_F(LexiconTest, HighBytesJoinTheKeyOnlyOutsideAscii) {
  auto ascii = lexicon_of("(\xe6\x97\xa5 \xe6\x9c\xac (gloss jp))");
  EXPECT_NE(ascii->search_entry("\xe6\x97\xa5 \xe6\x9c\xac"), nullptr);

  int saved = TokenizerBase::defaultEncoding;
  TokenizerBase::defaultEncoding = TokenizerBase::kUtf8;
  auto utf8 = lexicon_of("(\xe6\x97\xa5 \xe6\x9c\xac (gloss jp))");
  TokenizerBase::defaultEncoding = saved;
  EXPECT_NE(utf8->search_entry("\xe6\x97\xa5\xe6\x9c\xac"), nullptr);
}

TEST_F(LexiconTest, PhraseIsRecordedOnceWhateverItsCase) {
  auto lexicon = lexicon_of("(New York (gloss a)) (new york (gloss b))", false);
  LexEntry* e = lexicon->search_entry("NEW YORK");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->meaning_count(), 2);
  EXPECT_EQ(lexicon->search_entry("new")->phrases().size(), 1u);
}

// ---- Phrase matching in a sentence ----

struct MatchCase {
  const char* name;
  int encoding;
  const char* phrase;
  int before;
  int after;
  std::vector<const char*> words;  // position 0 is null
  int anchor;
  bool match;
};

class ContainPhraseTest : public LexiconTestBase, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(ContainPhraseTest, Matches) {
  const MatchCase& c = GetParam();
  const char* encodings[] = {"ASCII", "DoubleByte", "UTF8"};
  Lexicon lexicon(11, encodings[c.encoding]);
  Phrase phrase(c.phrase, static_cast<unsigned char>(c.before), static_cast<unsigned char>(c.after));
  EXPECT_EQ(lexicon.contain_phrase(c.words.data(), static_cast<int>(c.words.size()), c.anchor, phrase),
            c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, ContainPhraseTest,
    ::testing::Values(
        MatchCase{"AnchoredAfter", 0, "New York", 0, 1, {nullptr, "new", "YORK", "is"}, 1, true},
        MatchCase{"Longer", 0, "New York", 0, 1, {nullptr, "New", "Yorker"}, 1, false},
        MatchCase{"Shorter", 0, "New York", 0, 1, {nullptr, "New", "Yor"}, 1, false},
        MatchCase{"PastTheEnd", 0, "New York", 0, 1, {nullptr, "New"}, 1, false},
        MatchCase{"BeforeAnchor", 0, "ago, long", 1, 0, {nullptr, "long", "ago"}, 2, true},
        MatchCase{"BeforeTheStart", 0, "ago, long", 1, 0, {nullptr, "ago", "long"}, 1, false},
        MatchCase{"BothSides", 0, "as well, as", 1, 1, {nullptr, "as", "as", "well"}, 2, true},
        MatchCase{"Apostrophe", 0, "I don't know", 0, 3, {nullptr, "I", "don", "'t", "know"}, 1,
                  true},
        MatchCase{"Hyphen", 0, "x a-b", 0, 3, {nullptr, "x", "a", "-", "b"}, 1, true},
        MatchCase{"HyphenNotSplit", 0, "x a-b", 0, 3, {nullptr, "x", "a-b", "c", "d"}, 1, false},
        MatchCase{"DoubleByte", 1, "\xb0\xa1\xb0\xa2", 0, 1, {nullptr, "\xb0\xa1", "\xb0\xa2"}, 1,
                  true},
        MatchCase{"Utf8", 2, "\xe6\x97\xa5\xe6\x9c\xac", 0, 1,
                  {nullptr, "\xe6\x97\xa5", "\xe6\x9c\xac"}, 1, true},
        MatchCase{"Utf8AsciiFirstWord", 2, "New York", 0, 1, {nullptr, "New", "York"}, 1, true}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

// ---- Look-ups ----

TEST_F(LexiconTest, LookUpIgnoresCase) {
  auto lexicon = lexicon_of("(Book (gloss b)) (\"Ice Cream\" (gloss i))");
  EXPECT_STREQ(lexicon->search_entry("BOOK")->key(), "Book");
  EXPECT_STREQ(lexicon->search_entry("ice cream")->key(), "Ice Cream");
  EXPECT_EQ(lexicon->search_entry("books"), nullptr);
  EXPECT_EQ(lexicon->search_entry(nullptr), nullptr);
  EXPECT_EQ(lexicon->size(), 2);
}

class RootTest : public LexiconTest {
 protected:
  RootTest() : lexicon_(lexicon_of("(Walk (gloss v)) (walks (gloss n)) (box (gloss n))")) {
    auto defs = make_irslist("((p s plural) (e es plural \"\" x) (p \"\" bare))",
                             tokenizer_.get());
    table_.init(defs.get());
    lexicon_->set_ending_table(&table_);
  }

  std::vector<std::string> readings(const char* word) {
    std::vector<MorphReading> out;
    lexicon_->morphSearch(word, out);
    std::vector<std::string> text;
    for (const MorphReading& r : out) {
      text.push_back(std::string(r.entry->key()) + "/" + (r.ending ? r.ending->name() : "-"));
    }
    return text;
  }

  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  EndingTable table_;
  std::unique_ptr<Lexicon> lexicon_;
};

TEST_F(RootTest, MorphSearchKeepsTheRootsThatHaveEntries) {
  using V = std::vector<std::string>;
  EXPECT_EQ(readings("walks"), (V{"Walk/plural", "walks/bare"}));
  EXPECT_EQ(readings("WALK"), (V{"Walk/bare"}));
  EXPECT_EQ(readings("boxes"), (V{"box/plural"}));
  EXPECT_EQ(readings("talks"), V{});
  EXPECT_EQ(readings(nullptr), V{});
}

TEST_F(RootTest, GetRootGivesTheLexiconsSpelling) {
  EXPECT_STREQ(lexicon_->getRoot("walking"), "walking");
  EXPECT_STREQ(lexicon_->getRoot("WALKS"), "Walk");
  EXPECT_STREQ(lexicon_->getRoot("boxes"), "box");
  EXPECT_EQ(lexicon_->getRoot(nullptr), nullptr);
  lexicon_->set_ending_table(nullptr);
  EXPECT_STREQ(lexicon_->getRoot("WALKS"), "WALKS");
  EXPECT_EQ(readings("walks"), std::vector<std::string>{"walks/-"});
}

// A disk dictionary that counts how often it is asked.
class FakeDisk : public DiskDictionary {
 public:
  FakeDisk(std::map<std::string, std::string> entries, std::map<std::string, int>& asked,
           bool ok = true)
      : entries_(std::move(entries)), asked_(asked), ok_(ok) {}
  bool ok() const override { return ok_; }
  const char* search(const char* word) override {
    if (word == nullptr) return nullptr;
    ++asked_[word];
    auto it = entries_.find(word);
    if (it == entries_.end()) return nullptr;
    text_ = it->second;
    return text_.c_str();
  }

 private:
  std::map<std::string, std::string> entries_;
  std::map<std::string, int>& asked_;
  bool ok_;
  std::string text_;
};

TEST_F(LexiconTest, DiskEntriesAreLoadedOnceAndMissesRemembered) {
  std::map<std::string, int> asked;
  Lexicon lexicon(101, nullptr);
  ASSERT_TRUE(lexicon.link_disk(std::make_unique<FakeDisk>(
      std::map<std::string, std::string>{{"cat", "(cat (gloss animal))"}}, asked)));

  ASSERT_NE(lexicon.search_entry("cat"), nullptr);
  ASSERT_NE(lexicon.search_entry("cat"), nullptr);
  EXPECT_EQ(asked["cat"], 1);
  EXPECT_EQ(printed(lexicon.search_entry("cat")), "(cat\n (gloss animal)\n )\n");

  EXPECT_EQ(lexicon.search_entry("dog"), nullptr);
  EXPECT_EQ(lexicon.search_entry("DOG"), nullptr);
  EXPECT_TRUE(lexicon.is_absent("Dog"));
  EXPECT_EQ(asked["dog"], 1);

  lexicon.clear();
  EXPECT_EQ(lexicon.size(), 0);
  EXPECT_FALSE(lexicon.is_absent("dog"));
  EXPECT_EQ(lexicon.search_entry("dog"), nullptr);
  EXPECT_NE(lexicon.search_entry("cat"), nullptr);
  EXPECT_EQ(asked["dog"], 2);
  EXPECT_EQ(asked["cat"], 2);
  EXPECT_EQ(lexicon.disk_count(), 1);
}

TEST_F(LexiconTest, LaterDisksAddTheirMeaningsToTheFirstOnesEntry) {
  std::map<std::string, int> asked;
  Lexicon lexicon(101, nullptr);
  lexicon.link_disk(std::make_unique<FakeDisk>(
      std::map<std::string, std::string>{{"cat", "(cat (gloss one))"}}, asked));
  EXPECT_FALSE(lexicon.link_disk(std::make_unique<FakeDisk>(
      std::map<std::string, std::string>{{"cat", "(cat (gloss never))"}}, asked, false)));
  lexicon.link_disk(std::make_unique<FakeDisk>(
      std::map<std::string, std::string>{{"cat", "(cat (gloss two))"}}, asked));
  EXPECT_EQ(lexicon.disk_count(), 2);
  EXPECT_EQ(printed(lexicon.search_entry("cat")), "(cat\n (gloss one)\n (gloss two)\n )\n");
  EXPECT_EQ(err(), "");
}

TEST_F(LexiconTest, PhraseAnchorIsLookedUpOnDisk) {
  std::map<std::string, int> asked;
  Lexicon lexicon(101, nullptr);
  lexicon.link_disk(std::make_unique<FakeDisk>(
      std::map<std::string, std::string>{{"New", "(New (gloss adj))"}}, asked));
  lexicon.make_entry("(New York (gloss city))");
  EXPECT_EQ(printed(lexicon.find_in_memory("new")),
            "(New\n (gloss adj)\n (phrases (New York))\n )\n");
}

TEST_F(LexiconTest, WithoutDisksUnknownWordsAreNotCollected) {
  auto lexicon = lexicon_of("(a (gloss x))");
  EXPECT_EQ(lexicon->search_entry("zzz"), nullptr);
  EXPECT_FALSE(lexicon->is_absent("zzz"));
}

// ---- Building: duplicates, merging, deletion ----

TEST_F(LexiconTest, DuplicatesAreReportedOrJoined) {
  auto reported = lexicon_of("(a (gloss m1)) (A (gloss m2))");
  EXPECT_EQ(err(), "Duplicate entry: A\n") << "the key as written in the rejected entry";
  EXPECT_EQ(printed(reported->search_entry("a")), "(a\n (gloss m1)\n )\n");

  auto joined = lexicon_of("(a (gloss m1)) (A (gloss m2))", false);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(printed(joined->search_entry("a")), "(a\n (gloss m1)\n (gloss m2)\n )\n");
}

TEST_F(LexiconTest, MergeAddsOnlyWhatIsMissing) {
  auto lexicon = lexicon_of("(a (gloss old)) (x y (gloss phrase))");
  lexicon->insert("p q", false);  // a phrase key without meanings
  std::istringstream in("(A (gloss new)) (b (gloss b)) (x y (gloss dropped)) (p q (gloss pq))");
  lexicon->merge(in);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(printed(lexicon->search_entry("a")), "(a\n (gloss old)\n )\n");
  EXPECT_EQ(printed(lexicon->search_entry("b")), "(b\n (gloss b)\n )\n");
  EXPECT_EQ(printed(lexicon->search_entry("x y")), "(\"x y\"\n (gloss phrase)\n )\n");
  EXPECT_EQ(printed(lexicon->search_entry("p q")), "(\"p q\"\n (gloss pq)\n )\n");
}

TEST_F(LexiconTest, InsertAndDelete) {
  Lexicon lexicon(7, nullptr);
  LexEntry* e = lexicon.insert("Word", false);
  EXPECT_EQ(lexicon.insert("WORD", false), e);
  EXPECT_EQ(e->lexicon(), &lexicon);
  lexicon.del_entry("word");
  EXPECT_EQ(lexicon.find_in_memory("Word"), nullptr);
  lexicon.del_entry("word");  // nothing left: nothing happens
  lexicon.del_entry(nullptr);
  EXPECT_EQ(lexicon.size(), 0);
}

TEST_F(LexiconTest, BadEntriesAreReportedAndSkipped) {
  auto lexicon = lexicon_of(
      "(ok (gloss 1)) stray ((gloss nokey)) () ) (\"\" (gloss empty-key)) (open (gloss 2)");
  EXPECT_NE(lexicon->search_entry("ok"), nullptr);
  EXPECT_NE(lexicon->search_entry("open"), nullptr);
  EXPECT_NE(lexicon->search_entry(""), nullptr);
  EXPECT_EQ(lexicon->size(), 3);
  EXPECT_EQ(err(),
            "Lexicon: an entry must be a list beginning with its key: stray\n"
            "Lexicon: an entry must be a list beginning with its key: ((gloss nokey))\n");
  EXPECT_EQ(lexicon->add_entry(nullptr, true), nullptr);
  EXPECT_EQ(lexicon->make_entry(""), nullptr);
  EXPECT_EQ(lexicon->make_entry(nullptr), nullptr);
}

TEST_F(LexiconTest, EncodingNames) {
  struct Case {
    const char* name;
    int encoding;
  } cases[] = {{nullptr, 0}, {"ascii", 0}, {"DoubleByte", 1}, {"utf8", 2}, {"EBCDIC", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(Lexicon(11, c.name).encoding(), c.encoding) << (c.name ? c.name : "null");
  }
  EXPECT_EQ(err(), "Unknown character encoding encountered in Lexicon::Lexicon(): EBCDIC\n");
}

TEST_F(LexiconTest, PrintsSortedOrInTableOrder) {
  auto lexicon = lexicon_of("(b (gloss 2)) (C (gloss 3)) (a (gloss 1))");
  std::ostringstream heads, sorted, unsorted;
  lexicon->print_head_words(heads);
  EXPECT_EQ(heads.str(), "a\nb\nC\n");
  lexicon->print(sorted);
  EXPECT_EQ(sorted.str(), "(a\n (gloss 1)\n )\n(b\n (gloss 2)\n )\n(C\n (gloss 3)\n )\n");
  lexicon->print_no_sorting(unsorted);
  EXPECT_EQ(unsorted.str().size(), sorted.str().size());
  lexicon->print_entry(unsorted, nullptr);
  EXPECT_EQ(unsorted.str().size(), sorted.str().size());
}

}  // namespace
}  // namespace lorvan::lexicon_test
