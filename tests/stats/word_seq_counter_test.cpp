// Word-sequence counts: count files, look-ups, the inverse form,
// corrections, the packed entry, copies and merges between counters with
// different word tables, and the unigram segmenter.
#include "stats/word_seq_counter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "expr/lexp.h"
#include "stats/unigram_segmentor.h"
#include "stats_fixture.h"

namespace lorvan::statstest {
namespace {

const auto kReadWrite = std::ios::in | std::ios::out;

// (test-single-word): true for a text without a space.
class SingleWordExp : public LExp {
 public:
  const char* type_name() const override { return "test-single-word"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<SingleWordExp>(*this); }
  void* eval(void* input, int) override {
    const char* text = static_cast<const char*>(input);
    return text != nullptr && std::strchr(text, ' ') == nullptr ? int_to_value(1) : nullptr;
  }
};

class WordSeqCounterTest : public StatsTest {
 protected:
  WordSeqCounterTest() {
    static bool registered = false;
    if (!registered) LExp::exp_proto(std::make_unique<SingleWordExp>(), nullptr, "(test-single-word)");
    registered = true;
  }
  static void load(WordSeqCounter& counter, const std::string& text) {
    std::istringstream in(text);
    counter.loadCounts(in);
  }
  static float freq(WordSeqCounter& counter, const char* text) { return counter.getFreq(text); }
  static std::string printed(WordSeqCounter& counter) {
    std::ostringstream out;
    counter.dump(out);
    return out.str();
  }
};

TEST_F(WordSeqCounterTest, CountFileGivesEverySequenceItsOwnCount) {
  WordSeqCounter counter(101, false);
  load(counter, "new york\t5\nnew\t7\n");
  EXPECT_EQ(freq(counter, "new york"), 5.0f);
  EXPECT_EQ(freq(counter, "new"), 7.0f);
  EXPECT_EQ(freq(counter, "york"), 0.0f);  // york begins no stored sequence
  EXPECT_EQ(counter.total_count(), 12.0f);
  EXPECT_EQ(counter.total(), 12.0f);  // the pending count is folded in
  EXPECT_DOUBLE_EQ(counter.weight(5), std::log(12.0 / 5));
}

TEST_F(WordSeqCounterTest, CountFileLinesAreSplitAtTheFirstTabAfterAWord) {
  const struct {
    const char* line;
    const char* stored;
  } cases[] = {
      {"a b c\n", "a b c\t1\n"},
      {"a  b\t3\n", "a b\t3\n"},
      {"\tlead\t2\n", "lead\t2\n"},
      {"x\ty\t4\n", "x\t0\n"},
      {"w \t2.5\n", "w\t2.5\n"},
      {"cr\t6\r\n", "cr\t6\n"},
      {"\n   \n", ""},
  };
  for (const auto& c : cases) {
    WordSeqCounter counter(101, false);
    load(counter, c.line);
    EXPECT_EQ(printed(counter), c.stored) << c.line;
  }
}

TEST_F(WordSeqCounterTest, LinesWithoutACountAddOneEachTime) {
  WordSeqCounter counter(101, false);
  load(counter, "big red dog\n");
  load(counter, "big red dog\n");
  EXPECT_EQ(freq(counter, "big red dog"), 2.0f);
}

TEST_F(WordSeqCounterTest, OnlyStoredSequencesHaveCounts) {
  WordSeqCounter counter(101, false);
  load(counter, "new york city\t2\n");
  EXPECT_EQ(freq(counter, "new york"), 0.0f);  // a prefix only
  EXPECT_EQ(freq(counter, "new york city"), 2.0f);
  EXPECT_EQ(freq(counter, "new  york city"), 0.0f);  // two spaces: an empty word
  EXPECT_EQ(freq(counter, "NEW York CITY"), 2.0f);
  std::vector<const WordSeqNode*> nodes;
  std::vector<const char*> words{"new", "york", "city"};
  counter.searchSeq(WordSeqCounter::Words(words), nodes);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_TRUE(nodes[2]->end);
  EXPECT_FALSE(nodes[1]->end);
  std::vector<const char*> prefix{"new", "york"};
  counter.searchSeq(WordSeqCounter::Words(prefix), nodes);
  EXPECT_TRUE(nodes.empty());
}

TEST_F(WordSeqCounterTest, InverseCounterStoresTheLastWordFirstAndPrintsInReadingOrder) {
  WordSeqCounter counter(101, true);
  load(counter, "new york\t5\n");
  EXPECT_NE(counter.find_entry("york"), nullptr);
  EXPECT_EQ(counter.find_entry("new"), nullptr);
  EXPECT_EQ(freq(counter, "york new"), 5.0f);
  EXPECT_EQ(printed(counter), "new york\t5\n");
}

TEST_F(WordSeqCounterTest, CorrectionsSetCountsAndIgnoreUnseenZeroes) {
  WordSeqCounter counter(101, false);
  load(counter, "new york\t5\n");
  std::istringstream corrections("new york\t2\nunseen words\t0\n");
  counter.applyCorrections(corrections);
  EXPECT_EQ(freq(counter, "new york"), 2.0f);
  EXPECT_EQ(counter.find_entry("unseen"), nullptr);
  EXPECT_EQ(counter.total_count(), 2.0f);
}

TEST_F(WordSeqCounterTest, OneWordFormCreatesOnlyForACountAndLeavesTheTotal) {
  WordSeqCounter counter(101, false);
  EXPECT_EQ(counter.addEntry("lone", 0), nullptr);
  EXPECT_EQ(counter.entry_count(), 0);
  ASSERT_NE(counter.addEntry("lone", 3), nullptr);
  EXPECT_EQ(freq(counter, "lone"), 3.0f);
  EXPECT_EQ(counter.total_count(), 0.0f);
}

TEST_F(WordSeqCounterTest, EntryLinesAreSortedWithShorterKeysFirst) {
  WordSeqCounter counter(101, false);
  load(counter, "new york city\t2\nnew york\t5\nnew\t7\nnew jersey\n");
  std::ostringstream out;
  counter.print_entry(*counter.find_entry("new"), out);
  EXPECT_EQ(out.str(), "new\t7\nnew jersey\t1\nnew york\t5\nnew york city\t2\n");
}

TEST_F(WordSeqCounterTest, PackedEntryHasTheDocumentedBytesAndUnpacksToTheSame) {
  WordSeqCounter counter(101, false);
  load(counter, "a\t1\na b\t2\n");
  StrBufs packed;
  counter.v_pack_entry(*counter.find_entry("a"), packed);
  const std::string expected("a\0t\x3f\x80\0\0y\0\0\0\x01t\x40\0\0\0nn", 19);
  EXPECT_EQ(std::string(packed.str(), packed.length()), expected);

  std::unique_ptr<PLHashEntry> copy(counter.v_unpack_entry(packed.str(), packed.length()));
  std::ostringstream out;
  counter.print_entry(*copy, out);
  EXPECT_EQ(out.str(), "a\t1\na b\t2\n");
}

TEST_F(WordSeqCounterTest, DamagedPackedEntriesAreReportedAndReadEmpty) {
  WordSeqCounter counter(101, false);
  load(counter, "a b\t2\n");
  const std::string damaged[] = {
      std::string("a\0q\0\0\0\0n", 9),                          // neither 't' nor 'f'
      std::string("a\0t\x3f\x80", 5),                           // cut short
      std::string("a\0f\0\0\0\0y\0\0\0\x63t\0\0\0\0nn", 19),  // unknown word id 99
  };
  for (const std::string& bytes : damaged) {
    testing::internal::CaptureStderr();
    std::unique_ptr<PLHashEntry> entry(counter.v_unpack_entry(bytes.data(), bytes.size()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "format error in serialized TTrie<int, float>\n");
    ASSERT_NE(entry, nullptr);
    std::ostringstream out;
    counter.print_entry(*entry, out);
    EXPECT_EQ(out.str(), "");
  }
  EXPECT_EQ(counter.v_unpack_entry("no terminator", 13), nullptr);
}

TEST_F(WordSeqCounterTest, WordTableTravelsWithTheFile) {
  std::string hdr = header("w.hdr", "w.db", 32, 101);
  {
    WordSeqCounter counter(101, false);
    ASSERT_EQ(counter.open_file(hdr.c_str(), kReadWrite), 0);
    load(counter, "new york\t5\nold york\t1\n");
    counter.sync();
    load(counter, "new jersey\t2\nnew york\t1\n");  // a new word after the first sync
    counter.sync();
  }
  WordSeqCounter counter(101, false);
  testing::internal::CaptureStderr();
  ASSERT_EQ(counter.open_file(hdr.c_str(), std::ios::in), 1);
  EXPECT_EQ(printed(counter), "new jersey\t2\nnew york\t6\nold york\t1\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(counter.total_count(), 9.0f);
  EXPECT_EQ(counter.getId("jersey") != 0, true);
}

// Counters whose word tables number the same words differently.
class CopyMergeTest : public WordSeqCounterTest {
 protected:
  CopyMergeTest() : source_(101, false), target_(101, false) {
    load(source_, "new york\t5\nnew jersey\t2\nold york\t1\n");
    EXPECT_EQ(target_.open_file(header("t.hdr", "t.db").c_str(), kReadWrite), 0);
    load(target_, "york city\t3\nnew delhi\t4\nnew york\t1\n");
  }
  WordSeqCounter source_;
  WordSeqCounter target_;
};

TEST_F(CopyMergeTest, MergeKeepsEveryPhraseAndAddsTheCounts) {
  target_.merge(source_);
  EXPECT_EQ(printed(target_),
            "new delhi\t4\nnew jersey\t2\nnew york\t6\nold york\t1\nyork city\t3\n");
  EXPECT_EQ(target_.total_count(), 16.0f);
}

TEST_F(CopyMergeTest, MergeFromALinkedSourceReadsItsFile) {
  ASSERT_EQ(source_.open_file(header("s.hdr", "s.db").c_str(), kReadWrite), 0);
  source_.sync();
  target_.merge(source_);
  EXPECT_EQ(freq(target_, "new jersey"), 2.0f);
  EXPECT_EQ(freq(target_, "old york"), 1.0f);
  EXPECT_EQ(freq(target_, "york city"), 3.0f);
}

TEST_F(CopyMergeTest, CopyTakesTheSourcePhrasesAndCounts) {
  WordSeqCounter copy(101, false);
  ASSERT_EQ(copy.open_file(header("c.hdr", "c.db").c_str(), kReadWrite), 0);
  load(copy, "zebra crossing\t9\n");
  copy.copy(source_);
  EXPECT_EQ(printed(copy), "new jersey\t2\nnew york\t5\nold york\t1\nzebra crossing\t9\n");
  EXPECT_EQ(copy.total_count(), 8.0f);
}

TEST_F(CopyMergeTest, CountersOfOppositeOrderAreNotMixed) {
  WordSeqCounter inverse(101, true);
  testing::internal::CaptureStderr();
  target_.merge(inverse);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Cannot merge: the databases are of different kinds\n");
}

// ---- Segmentation ----

class SegmentTest : public WordSeqCounterTest {
 protected:
  std::vector<std::string> segments(const char* text, const char* valid = nullptr,
                                     double* score = nullptr) {
    std::unique_ptr<LExp> expression = valid != nullptr ? LExp::get_exp(valid) : nullptr;
    std::string storage;
    std::vector<const char*> words = split_at_spaces(text, storage);
    UnigramSegmentor segmentor(counter_, expression.get());
    return segmentor.segment(UnigramSegmentor::Words(words), score);
  }
  WordSeqCounter counter_{101, false};
};

TEST_F(SegmentTest, KnownPhrasesAreKeptWholeAndTheScoreIsRelativeToTheWhole) {
  load(counter_, "new york\t3\ncity\t2\n");
  double score = 0;
  EXPECT_EQ(segments("new york city", nullptr, &score),
            (std::vector<std::string>{"new york", "city"}));
  // ln(5/3) + ln(5/2) against an unknown whole: ln(5/0.5).
  EXPECT_NEAR(score, std::log(5.0 / 3) + std::log(5.0 / 2) - std::log(10.0), 1e-9);
}

TEST_F(SegmentTest, SegmentationsTable) {
  load(counter_, "new york\t3\ncity\t2\na b\t1\nb c\t10\na\t10\n");
  const struct {
    const char* input;
    const char* valid;
    std::vector<std::string> expected;
  } cases[] = {
      {"foo bar", nullptr, {"foo", "bar"}},                   // unknown words stand alone
      {"new york", nullptr, {"new", "york"}},                 // the whole input is no candidate
      {"new york city", "(test-single-word)", {"new", "york", "city"}},
      {"city", nullptr, {"city"}},
      {"a b c", nullptr, {"a", "b c"}},                       // the cheaper of two covers
      {"x new york city", nullptr, {"x", "new york", "city"}},
      {"", nullptr, {""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(segments(c.input, c.valid), c.expected) << c.input;
  }
}

}  // namespace
}  // namespace lorvan::statstest
