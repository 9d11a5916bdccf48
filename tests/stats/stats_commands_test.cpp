// The database and word-sequence commands as command files use them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command/cmd_interpreter.h"
#include "expr/lexp.h"
#include "stats/word_seq_counter.h"
#include "stats_fixture.h"

namespace lorvan::statstest {
namespace {

// (test-starts-with-n): true for a text that begins with 'n'.
class StartsWithN : public LExp {
 public:
  const char* type_name() const override { return "test-starts-with-n"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<StartsWithN>(*this); }
  void* eval(void* input, int) override {
    const char* text = static_cast<const char*>(input);
    return text != nullptr && text[0] == 'n' ? int_to_value(1) : nullptr;
  }
};

struct Output {
  std::string out;
  std::string err;
};

class StatsCommandsTest : public StatsTest {
 protected:
  StatsCommandsTest() {
    static bool registered = false;
    if (!registered) LExp::exp_proto(std::make_unique<StartsWithN>(), nullptr, "(test-starts-with-n)");
    registered = true;
    dir_.write("counts.txt", "new york\t5\nnew\t7\nnew jersey\t2\ncity\t4\nold town\n");
    header("db.hdr", "db.dat", 64, 211);
  }
  // Runs command text with the folder's names spelled out: every "@" is
  // replaced by the folder path.
  Output run(std::string text) {
    for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir_.path());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    CmdInterpreter::the_interpreter->interpret(text.c_str());
    Output result;
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
  }
  // A unique counter name for each test, since named objects live on.
  std::string name(const char* base) const {
    return std::string(base) + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
};

TEST_F(StatsCommandsTest, CounterIsMadeLoadedCorrectedAndSearched) {
  dir_.write("fix.txt", "new york\t3\n");
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :size 101 :load-from @/counts.txt :corrections @/fix.txt)"
                 "(search-WordSeqCounter " + c + " new york)"
                 "(search-WordSeqCounter " + c + " :phrase \"new jersey\")"
                 "(search-WordSeqCounter " + c + " york)"
                 "(get-total-count " + c + ")"
                 "(load-WordSeqCounter " + c + " :input @/counts.txt)"
                 "(search-WordSeqCounter " + c + " old town)");
  EXPECT_EQ(o.out, "3\n2\n0\n17\n2\n");
  EXPECT_EQ(o.err, "");
  auto* counter = find_word_seq_counter(c.c_str());
  ASSERT_NE(counter, nullptr);
  EXPECT_FALSE(counter->inverse());
}

TEST_F(StatsCommandsTest, SearchPrintsTheEntriesFound) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(s " + c + " city ghost new)"
                 "(s nodb new)");
  EXPECT_EQ(o.out, "city\t4\nnew\t7\nnew jersey\t2\nnew york\t5\n");
  EXPECT_NE(o.err.find("The named object 'nodb' (type=PLHash) is not found"), std::string::npos);
  EXPECT_NE(o.err.find("Database nodb is not found\n"), std::string::npos);
}

TEST_F(StatsCommandsTest, SyncedCounterIsFoundAgainFromItsFile) {
  std::string c = name("c");
  std::string r = name("r");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(link-file " + c + " @/db.hdr RW)"
                 "(sync " + c + ")"
                 "(s " + c + " new city)"
                 "(get-total-count " + c + ")"
                 "(validate " + c + ")"
                 "(unlink-file " + c + ")"
                 "(get-total-count " + c + ")"
                 "(make-WordSeqCounter " + r + ")"
                 "(link-file " + r + " @/db.hdr)"
                 "(search-WordSeqCounter " + r + " new york)"
                 "(get-total-count " + r + ")");
  EXPECT_EQ(o.out, "new\t7\nnew jersey\t2\nnew york\t5\ncity\t4\n19\n0\n5\n19\n");
  EXPECT_EQ(o.err, "");
}

TEST_F(StatsCommandsTest, DumpWritesEveryOrTheSelectedEntriesSorted) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(dump " + c + ")"
                 "(dump " + c + " (test-starts-with-n) @/selected.txt)");
  EXPECT_EQ(o.out, "city\t4\nnew\t7\nnew jersey\t2\nnew york\t5\nold town\t1\n");
  EXPECT_EQ(read_file(path("selected.txt")), "new\t7\nnew jersey\t2\nnew york\t5\n");
}

TEST_F(StatsCommandsTest, FileInspectionCommandsReportOnTheErrorStream) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(link-file " + c + " @/db.hdr rw)"
                 "(sync " + c + ")"
                 "(print-free-list " + c + ")"
                 "(profile " + c + " 3)"
                 "(sort-links " + c + ")"
                 "(validate " + c + ")");
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("Free list: ("), std::string::npos);
  EXPECT_NE(o.err.find("total number of elements = 3"), std::string::npos);  // city, new, old
}

TEST_F(StatsCommandsTest, CopyAndMergeCommandsCarryThePhrases) {
  std::string a = name("a");
  std::string b = name("b");
  header("b.hdr", "b.dat");
  Output o = run("(make-WordSeqCounter " + a + " :load-from @/counts.txt)"
                 "(make-WordSeqCounter " + b + ")"
                 "(link-file " + b + " @/b.hdr rw)"
                 "(copy " + b + " " + a + ")"
                 "(merge " + b + " " + a + ")"
                 "(search-WordSeqCounter " + b + " new jersey)"
                 "(get-total-count " + b + ")"
                 "(merge " + b + " nosuch)");
  EXPECT_EQ(o.out, "4\n38\n");
  EXPECT_NE(o.err.find("'nosuch' (type=PLHash) is not found"), std::string::npos);
}

TEST_F(StatsCommandsTest, CountersLackPopulateAndReconstruct) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + ")"
                 "(link-file " + c + " @/db.hdr rw)"
                 "(populate " + c + " @/counts.txt)"
                 "(reconstruct " + c + " @/counts.txt)");
  EXPECT_EQ(o.err,
            "PLHash::populate(istream& istrm) is not implemented\n"
            "PLHash::read_entry must be defined by a subclass.\n");
}

TEST_F(StatsCommandsTest, ViterbiSegmentPrintsOneSegmentPerLine) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(viterbi-segment :counter " + c + " :input \"the new york city\")"
                 "(viterbi-segment :counter " + c + " :valid-segment (test-starts-with-n) "
                 ":input \"old town new york\")");
  EXPECT_EQ(o.out, "the\nnew york\ncity\nold\ntown\nnew york\n");
}

TEST_F(StatsCommandsTest, SelectLinesPrintsTheLinesTheConditionAccepts) {
  Output o = run("(select-lines :cond (test-starts-with-n) :input @/counts.txt)"
                 "(select-lines :cond (test-starts-with-n) :input @/none.txt)");
  EXPECT_EQ(o.out, "new york\t5\nnew\t7\nnew jersey\t2\n");
  EXPECT_NE(o.err.find("none.txt cannot be opened"), std::string::npos);
}

TEST_F(StatsCommandsTest, DuplicateCounterNameKeepsTheFirst) {
  std::string c = name("c");
  Output o = run("(make-WordSeqCounter " + c + " :load-from @/counts.txt)"
                 "(make-WordSeqCounter " + c + ")"
                 "(get-total-count " + c + ")");
  EXPECT_NE(o.err.find("Duplicate definition of " + c), std::string::npos);
  EXPECT_EQ(o.out, "19\n");
}

TEST_F(StatsCommandsTest, EveryCommandOfTheModuleIsRegistered) {
  for (const char* command :
       {"s", "copy", "merge", "dump", "link-file", "unlink-file", "sync", "populate", "reconstruct",
        "get-total-count", "validate", "profile", "sort-links", "print-free-list",
        "make-WordSeqCounter", "load-WordSeqCounter", "search-WordSeqCounter", "viterbi-segment",
        "select-lines", "filter-by-segmentation", "filter-by-segmentation2", "filter-with-sim-words",
        "wordseq-entropy", "filter-wordseq-with-MI", "filter-wordseq-using-prefix", "filter-wordseq",
        "get-phrases"}) {
    EXPECT_NE(CmdInterpreter::the_interpreter->val(command), nullptr) << command;
  }
}

}  // namespace
}  // namespace lorvan::statstest
