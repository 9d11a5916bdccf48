#include "symtab.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace lorvan {
namespace {

int one = 1, two = 2, three = 3;

TEST(SymTab, BucketCountIsTheRequestButAtLeastEleven) {
  const std::pair<unsigned, unsigned> cases[] = {{0, 11}, {5, 11}, {10, 11}, {11, 11}, {23, 23}};
  for (auto [requested, buckets] : cases) {
    EXPECT_EQ(SymTab(requested).bucket_count(), buckets) << requested;
  }
}

TEST(SymTab, LookUpIgnoresCaseAndCopiesStrings) {
  SymTab table(5);
  std::string name = "Load-File", doc = "(load-file f) loads f";
  ASSERT_TRUE(table.enter(name.c_str(), &one, doc.c_str()));
  name.assign("clobbered");
  doc.assign("clobbered");
  EXPECT_EQ(table.lookup("load-file"), &one);
  EXPECT_EQ(table.lookup("LOAD-FILE"), &one);
  EXPECT_EQ(table.lookup("load"), nullptr);
  EXPECT_EQ(table.lookup("load-file-x"), nullptr);
  const SymTab::Entry* e = table.find("load-FILE");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->name, "Load-File");
  EXPECT_STREQ(e->doc, "(load-file f) loads f");
  EXPECT_EQ(table.find("nothing"), nullptr);
}

TEST(SymTab, DuplicateEnterReportsAndKeepsTheOldEntry) {
  SymTab table(5);
  table.enter("help", &one, "old");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(table.enter("HELP", &two, "new"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Duplicate definition of HELP\n");
  EXPECT_EQ(table.lookup("help"), &one);
  EXPECT_STREQ(table.find("help")->doc, "old");
  EXPECT_EQ(table.size(), 1u);
}

TEST(SymTab, ReEnterReplacesOrAdds) {
  SymTab table;
  table.enter("x", &one, "first");
  table.re_enter("X", &two, nullptr);
  table.re_enter("y", &three, "why");
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.lookup("x"), &two);
  EXPECT_EQ(table.find("x")->doc, nullptr);
  EXPECT_STREQ(table.find("x")->name, "x");  // the original spelling stays
  EXPECT_EQ(table.lookup("Y"), &three);
}

TEST(SymTab, ManyNamesInFewBucketsAllResolveAndIterate) {
  TSymTab<int*> table(11);
  int values[500];
  for (int i = 0; i < 500; ++i) {
    ASSERT_TRUE(table.enter(("name" + std::to_string(i * 7919 % 500)).c_str(), &values[i]));
  }
  for (int i = 0; i < 500; ++i) {
    EXPECT_EQ(table.val(("NAME" + std::to_string(i * 7919 % 500)).c_str()), &values[i]);
  }
  EXPECT_EQ(table.val("name500"), nullptr);
  int count = 0;
  for (const SymTab::Entry& e : table) {
    EXPECT_EQ(TSymTab<int*>::value_of(e), &values[count]);  // in entering order
    ++count;
  }
  EXPECT_EQ(count, 500);
}

class SymTabListing : public testing::Test {
 protected:
  SymTabListing() {
    table_.enter("def-word", &one, "(def-word w) defines w");
    table_.enter("Apply", &two, nullptr);
    table_.enter("undef", &three, "(undef)");
    table_.enter("default", &one, "(default)");
  }
  std::string list(const char* pattern) {
    std::ostringstream out;
    table_.list_entries(out, pattern);
    return out.str();
  }
  SymTab table_;
};

TEST_F(SymTabListing, AllEntriesSortedIgnoringCase) {
  EXPECT_EQ(list(nullptr),
            "Apply\nNo documentation provided\n\n"
            "def-word\n(def-word w) defines w\n\n"  // '-' sorts before 'a'
            "default\n(default)\n\n"
            "undef\n(undef)\n\n");
}

TEST_F(SymTabListing, PatternMustMatchANonEmptyPrefix) {
  const std::pair<const char*, std::string> cases[] = {
      {"def", "def-word\n(def-word w) defines w\n\ndefault\n(default)\n\n"},
      {"^def-", "def-word\n(def-word w) defines w\n\n"},
      {"un|Ap", "Apply\nNo documentation provided\n\nundef\n(undef)\n\n"},
      {"DEF", ""},    // matching is case-sensitive
      {"word", ""},   // anchored at the start
      {"x*", ""},     // an empty match lists nothing
      {"d.f.*t$", "default\n(default)\n\n"},
  };
  for (const auto& [pattern, expected] : cases) EXPECT_EQ(list(pattern), expected) << pattern;
}

TEST_F(SymTabListing, RejectedPatternEndsTheProgram) {
  EXPECT_EXIT(list("(unclosed"), testing::ExitedWithCode(1), "regexp\\(3\\): ");
}

}  // namespace
}  // namespace lorvan
