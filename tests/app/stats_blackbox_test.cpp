// Black-box tests of the databases in parsedemo: one run counts word
// sequences and syncs them to a file, later runs reopen and query it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

class StatsBlackBox : public ::testing::Test {
 protected:
  StatsBlackBox() {
    dir_.write("counts.txt", "new york\t5\nnew\t7\nnew jersey\t2\ncity\t4\n");
    dir_.write("more.txt", "new york\t1\nyork city\n");
    dir_.write("counts.hdr", "; word sequences of the test corpus\ncounts.db 256 1009 strcasecmp\n");
  }
  // Runs parsedemo in the shared folder with this start-up file and input.
  RunResult run(const std::string& startup, const std::string& input) {
    dir_.write("lorvan.lsp", startup);
    dir_.write("input.txt", input);
    return run_parsedemo_in(dir_, {"-p", dir_.path(), "-file", "input.txt", "-d"});
  }

  TempDir dir_;
};

TEST_F(StatsBlackBox, CountsWrittenByOneRunAreQueriedByTheNext) {
  RunResult first = run(
      "(make-WordSeqCounter counts :load-from counts.txt)\n"
      "(link-file counts counts.hdr rw)\n"
      "(sync counts)\n",
      "~(load-WordSeqCounter counts :input more.txt)\n"
      "~(sync counts)\n"
      "~(get-total-count counts)");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.err, "");
  EXPECT_EQ(first.out, "11120\n");
  ASSERT_TRUE(std::filesystem::exists(dir_.file("counts.db")));

  RunResult second = run(
      "(make-WordSeqCounter counts)\n"
      "(link-file counts counts.hdr)\n",
      "~(s counts new york)\n"
      "~(search-WordSeqCounter counts :phrase \"new york\")\n"
      "~(get-total-count counts)\n"
      "~(viterbi-segment :counter counts :input \"the new york city\")");
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.err, "");
  EXPECT_EQ(second.out,
            "1new\t7\nnew jersey\t2\nnew york\t6\nyork city\t1\n"
            "16\n"
            "120\n"
            "1the\nnew york\ncity\n");
}

TEST_F(StatsBlackBox, DamagedDatabaseFileIsReportedAndLeftAlone) {
  run("(make-WordSeqCounter counts :load-from counts.txt)\n"
      "(link-file counts counts.hdr rw)\n"
      "(sync counts)\n",
      "");
  std::filesystem::resize_file(dir_.file("counts.db"), 100);
  auto size_before = std::filesystem::file_size(dir_.file("counts.db"));
  RunResult r = run(
      "(make-WordSeqCounter counts)\n"
      "(link-file counts counts.hdr rw)\n",
      "~(s counts new)\n"
      "~(sync counts)\n"
      "~(echo still here)");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Can't open counts.db: the file is truncated\n");
  EXPECT_EQ(r.out, "111still here\n");
  EXPECT_EQ(std::filesystem::file_size(dir_.file("counts.db")), size_before);
}

}  // namespace
}  // namespace lorvan::testsupport
