// Search-path construction, file look-up order, environment references and
// the messages of open_file_on_search_path().
#include "searchpath.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

using Paths = std::vector<std::string>;

// Runs every test in an empty working directory inside a scratch folder that
// also holds the search directories A and B; restores the working
// directory, the search path and HOME afterwards.
class SearchPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = std::filesystem::current_path();
    if (const char* home = std::getenv("HOME")) old_home_ = home;
    std::filesystem::create_directories(dir_.file("cwd"));
    std::filesystem::create_directories(A());
    std::filesystem::create_directories(B());
    std::filesystem::current_path(dir_.file("cwd"));
    saved_paths_ = PATHS;
    clear_search_path();
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd_);
    PATHS = saved_paths_;
    setenv("HOME", old_home_.c_str(), 1);
  }

  std::string A() const { return dir_.file("A"); }
  std::string B() const { return dir_.file("B"); }
  void put(const std::string& path, const std::string& content = "x") {
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(content.c_str(), f);
    std::fclose(f);
  }

  lorvan::testsupport::TempDir dir_;
  std::filesystem::path old_cwd_;
  std::string old_home_;
  Paths saved_paths_;
};

TEST_F(SearchPathTest, SetSearchPathsAppendsSegmentsDotAndEmptyEntry) {
  struct Case {
    const char* text;
    Paths expected;
  };
  const Case cases[] = {
      {"A:B", {".", "A", "B", ""}},
      {nullptr, {".", ""}},
      {"", {".", ""}},
      {"A::B", {".", "A", "", "B"}},  // inner empty segment, no second ""
      {"A:", {".", "A", ""}},         // trailing empty segment adds nothing
      {":A", {".", "", "A"}},
      {"A:A:.", {".", "A", ""}},      // duplicates are dropped
      {"a:A", {".", "a", "A", ""}},   // ...compared case-sensitively
  };
  for (const Case& c : cases) {
    clear_search_path();
    set_search_paths(c.text);
    EXPECT_EQ(PATHS, c.expected) << (c.text ? c.text : "(null)");
  }
}

TEST_F(SearchPathTest, AppendStartsWithDotAndSkipsDuplicates) {
  append_to_search_path(nullptr);
  EXPECT_EQ(PATHS, Paths{"."});
  append_to_search_path("x");
  append_to_search_path("x");
  append_to_search_path(".");
  EXPECT_EQ(PATHS, (Paths{".", "x"}));
  clear_search_path();
  append_to_search_path("y");
  EXPECT_EQ(PATHS, (Paths{".", "y"}));
}

TEST_F(SearchPathTest, SetSearchPathReadsTheEnvironment) {
  const std::string value = A() + ":" + B();
  setenv("LORVAN_TEST_SEARCH_PATH", value.c_str(), 1);
  set_search_path("LORVAN_TEST_SEARCH_PATH");
  EXPECT_EQ(PATHS, (Paths{".", A(), B(), ""}));
  unsetenv("LORVAN_TEST_SEARCH_PATH");
  clear_search_path();
  set_search_path("LORVAN_TEST_SEARCH_PATH");
  EXPECT_EQ(PATHS, (Paths{".", ""}));
}

TEST_F(SearchPathTest, LookUpTriesNameItselfThenEveryEntryInOrder) {
  set_search_paths((A() + ":" + B()).c_str());
  EXPECT_EQ(locate_file("n.txt"), nullptr);
  // The name itself goes in front: N, ./N, A/N, B/N, N.
  EXPECT_EQ(PATHS, (Paths{"", ".", A(), B(), ""}));
  EXPECT_EQ(current_directory(), nullptr);

  put(B() + "/n.txt");
  ASSERT_NE(locate_file("n.txt"), nullptr);
  EXPECT_EQ(std::string(locate_file("n.txt")), B() + "/n.txt");
  EXPECT_EQ(std::string(current_directory()), B() + "/");

  put(A() + "/n.txt");
  EXPECT_EQ(std::string(locate_file("n.txt")), A() + "/n.txt");

  put("n.txt");  // in the working directory: found as given
  EXPECT_EQ(std::string(locate_file("n.txt")), "n.txt");
  EXPECT_EQ(std::string(current_directory()), "");
  EXPECT_EQ(PATHS.size(), 5u);  // the front entry is inserted only once
}

TEST_F(SearchPathTest, CurrentDirectoryIncludesDirectoryPartOfName) {
  put(A() + "/sub/f.lsp");
  set_search_paths((A() + "/").c_str());  // an entry already ending in "/"
  ASSERT_NE(locate_file("sub/f.lsp"), nullptr);
  EXPECT_EQ(std::string(current_directory()), A() + "/sub/");
  EXPECT_EQ(std::string(CURRENT_DIRECTORY), A() + "/sub/");

  const std::string absolute = A() + "/sub/f.lsp";
  ASSERT_NE(locate_file(absolute.c_str()), nullptr);
  EXPECT_EQ(std::string(current_directory()), A() + "/sub/");
}

TEST_F(SearchPathTest, WithoutAPathTheWorkingDirectoryIsSearched) {
  put("here.txt");
  ASSERT_NE(locate_file("here.txt"), nullptr);
  EXPECT_EQ(PATHS, (Paths{"", "."}));
}

TEST_F(SearchPathTest, FileWithoutOwnerReadBitIsSkipped) {
  set_search_paths((A() + ":" + B()).c_str());
  put(A() + "/locked.txt");
  put(B() + "/locked.txt");
  ASSERT_EQ(chmod((A() + "/locked.txt").c_str(), 0200), 0);
  ASSERT_NE(locate_file("locked.txt"), nullptr);
  EXPECT_EQ(std::string(locate_file("locked.txt")), B() + "/locked.txt");
}

TEST_F(SearchPathTest, DirectoryOfTheSameNameDoesNotHideAFile) {
  set_search_paths(A().c_str());
  std::filesystem::create_directories("data");  // in the working directory
  put(A() + "/data");
  ASSERT_NE(locate_file("data"), nullptr);
  EXPECT_EQ(std::string(locate_file("data")), A() + "/data");
  EXPECT_EQ(locate_file(""), nullptr);  // not "./"
}

TEST_F(SearchPathTest, EnvironmentReferencesAreSubstituted) {
  setenv("HOME", A().c_str(), 1);
  put(A() + "/home.txt");
  const char* found = locate_file("$(HOME)/home.txt");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(std::string(found), A() + "/home.txt");

  unsetenv("LORVAN_SURELY_UNSET");
  setenv("LORVAN_X", "1", 1);
  ASSERT_NE(substitute_env_vars("a$(LORVAN_SURELY_UNSET)b$(LORVAN_X)c"),
            nullptr);
  EXPECT_STREQ(substitute_env_vars("a$(LORVAN_SURELY_UNSET)b$(LORVAN_X)c"),
               "ab1c");
  EXPECT_STREQ(substitute_env_vars("no refs (here)"), "no refs (here)");
}

TEST_F(SearchPathTest, MalformedReferenceIsASyntaxError) {
  for (const char* name : {"$HOME/home.txt", "tail$", "tail$(", "$(HOME",
                           "a$b"}) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(substitute_env_vars(name), nullptr) << name;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string("syntax error in ") + name + "\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(locate_file(name), nullptr) << name;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string("syntax error in ") + name + "\n");
  }
}

TEST_F(SearchPathTest, OpenFileOnSearchPathReadsOrReports) {
  set_search_paths(A().c_str());
  put(A() + "/data.txt", "hello\r\nworld");
  auto in = open_file_on_search_path("data.txt");
  ASSERT_NE(in, nullptr);
  std::string content((std::istreambuf_iterator<char>(*in)),
                      std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "hello\r\nworld");  // binary: no translation

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(open_file_on_search_path("missing.txt"), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "The file missing.txt cannot be opened\n");

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(open_file_on_search_path("$x"), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "syntax error in $x\nThe file $x cannot be opened\n");
}

}  // namespace
}  // namespace lorvan
