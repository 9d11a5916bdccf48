// The commands set-reldb, set-pairdb and debug-weight.
#include "parser/weight_commands.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "forest_fixture.h"

namespace lorvan {
namespace {

class WeightCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser_ = forest_test::forest_parser();
    ASSERT_NE(parser_, nullptr);
  }
  void TearDown() override { DEBUGW = 0; }

  // The error-stream text of running `commands`.
  static std::string run(const char* commands) {
    ::testing::internal::CaptureStderr();
    CmdInterpreter::the_interpreter->interpret(commands);
    return ::testing::internal::GetCapturedStderr();
  }

  VanticParser* parser_ = nullptr;
};

TEST_F(WeightCommandsTest, HelpTexts) {
  std::ostringstream out;
  CmdInterpreter::the_interpreter->list_entries(out, "set-reldb");
  CmdInterpreter::the_interpreter->list_entries(out, "set-pairdb");
  CmdInterpreter::the_interpreter->list_entries(out, "debug-weight");
  EXPECT_EQ(out.str(),
            "set-reldb\n(det-reldb PARSER DEPDB) use the DEPDB in the parser.\n\n"
            "set-pairdb\n(det-pairdb PARSER PAIRDB) use the PairDb in the parser.\n\n"
            "debug-weight\nNo documentation provided\n\n");
}

TEST_F(WeightCommandsTest, MissingDatabasesAreReportedAndNothingChanges) {
  EXPECT_EQ(run("(set-reldb forest-parser no-db)"),
            "The named object 'no-db' (type=TripleDb) is not found\n");
  EXPECT_EQ(parser_->reldb(), nullptr);
  // Nothing makes pair databases, so this look-up always fails.
  EXPECT_EQ(run("(set-pairdb forest-parser pairs)"),
            "The named object 'pairs' (type=PairDb) is not found\n");
  EXPECT_EQ(parser_->pairdb(), nullptr);
  EXPECT_EQ(run("(set-reldb no-parser no-db)"),
            "The named object 'no-parser' (type=VanticParser) is not found\n"
            "The named object 'no-db' (type=TripleDb) is not found\n");
}

TEST_F(WeightCommandsTest, DebugWeightSetsTheTraceLevelAndResetsEmptyTheCache) {
  EXPECT_EQ(run("(debug-weight 2)"), "");
  EXPECT_EQ(DEBUGW, 2);
  parser_->prob_cache().store("a\tb\tc", 1.0f);
  parser_->reset();
  EXPECT_EQ(parser_->prob_cache().size(), 0);
  run("(debug-weight 0)");
  EXPECT_EQ(DEBUGW, 0);
  parser_->prob_cache().store("a\tb\tc", 1.0f);
  parser_->reset();
  EXPECT_EQ(parser_->prob_cache().size(), 1);
}

}  // namespace
}  // namespace lorvan
