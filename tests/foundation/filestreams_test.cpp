// Named streams, raw descriptors, and the count-file reader and writer.
#include "filestreams.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "inbuffer.h"
#include "outbuffer.h"
#include "searchpath.h"
#include "support/run_parsedemo.h"

namespace lorvan {
namespace {

// Works inside a scratch folder that is also the only search directory.
class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    saved_paths_ = PATHS;
    clear_search_path();
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd_);
    PATHS = saved_paths_;
  }

  static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static std::string slurp_fd(int fd) {
    std::string out;
    char buf[256];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) out.append(buf, n);
    return out;
  }

  lorvan::testsupport::TempDir dir_;
  std::filesystem::path old_cwd_;
  std::vector<std::string> saved_paths_;
};

TEST_F(FileTest, DashOrNoNameSelectsTheStandardStreams) {
  for (const char* name : {static_cast<const char*>(nullptr), "-", "-x"}) {
    const char* shown = name ? name : "(null)";
    std::istream* in = make_istream(name);
    EXPECT_EQ(in, &std::cin) << shown;
    std::ostream* out = make_ostream(name);
    EXPECT_EQ(out, &std::cout) << shown;
    release_istream(in);  // the standard streams survive release
    release_ostream(out);
  }
  release_istream(nullptr);
  release_ostream(nullptr);
  EXPECT_TRUE(std::cout.good());
}

TEST_F(FileTest, NamedInputIsFoundOnTheSearchPath) {
  dir_.write("sub/words.txt", "alpha\nbeta\n");
  append_to_search_path(dir_.file("sub").c_str());
  std::istream* in = make_istream("words.txt");
  ASSERT_NE(in, nullptr);
  std::string first;
  std::getline(*in, first);
  EXPECT_EQ(first, "alpha");
  release_istream(in);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(make_istream("absent.txt"), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "The file absent.txt cannot be opened\n");
}

TEST_F(FileTest, NamedOutputTruncatesAndReleaseFlushes) {
  dir_.write("out.txt", "old content that is longer");
  std::ostream* out = make_ostream("out.txt");
  ASSERT_NE(out, nullptr);
  *out << "new";
  release_ostream(out);
  EXPECT_EQ(slurp("out.txt"), "new");
}

TEST_F(FileTest, UnopenableOutputIsReported) {
  const std::string name = dir_.file("no/such/dir/out.txt");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(make_ostream(name.c_str()), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "make_ostream: cannot open the file '" + name + "'\n");
}

TEST_F(FileTest, DescriptorsForTheStandardNames) {
  for (const char* name : {static_cast<const char*>(nullptr), "", "-"}) {
    EXPECT_EQ(openInputFile(name), 0);
    EXPECT_EQ(openOutputFile(name), 1);
  }
  EXPECT_LT(openInputFile("absent.txt"), 0);
}

TEST_F(FileTest, OnlyExactlyDashIsStandardInput) {
  dir_.write("-x", "dash file");
  const int fd = openInputFile("-x");
  ASSERT_GT(fd, 2);
  EXPECT_EQ(slurp_fd(fd), "dash file");
  closeFile(fd);
}

TEST_F(FileTest, OutputDescriptorCreatesWithMode0644AndTruncates) {
  const mode_t old_mask = umask(022);
  dir_.write("existing.txt", "0123456789");
  for (const char* name : {"fresh.txt", "existing.txt"}) {
    const int fd = openOutputFile(name);
    ASSERT_GT(fd, 2) << name;
    ASSERT_EQ(::write(fd, "new", 3), 3);
    closeFile(fd);
    EXPECT_EQ(slurp(name), "new") << name;
  }
  struct stat st;
  ASSERT_EQ(stat("fresh.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  umask(old_mask);
}

using Lines = std::vector<std::pair<std::string, double>>;

Lines read_all(InBuffer& in) {
  Lines lines;
  while (in.next()) lines.emplace_back(in.current(), in.count());
  return lines;
}

TEST(InBufferTest, SplitsAtLastTabAndSkipsEmptyLines) {
  struct Case {
    const char* text;
    Lines expected;
  };
  const Case cases[] = {
      {"a\tb\t3.5\n\nc", {{"a\tb", 3.5}, {"c", 0}}},
      {"x\t-2e3\ny\t7\n", {{"x", -2000}, {"y", 7}}},
      {"\n\n\n", {}},
      {"", {}},
      {"word\tnot-a-number\n", {{"word", 0}}},
      {"\t4\n", {{"", 4}}},  // a line holding only a count
      {"last line", {{"last line", 0}}},
  };
  for (const Case& c : cases) {
    InBuffer in;
    in.setInput(c.text, -1);
    EXPECT_EQ(read_all(in), c.expected) << c.text;
    EXPECT_EQ(in.next(), 0);
  }
}

TEST(InBufferTest, LengthLimitsStringInput) {
  InBuffer in;
  in.setInput("a\nb\n", 1);
  EXPECT_EQ(read_all(in), (Lines{{"a", 0}}));
  in.setInput(nullptr, -1);
  EXPECT_EQ(in.next(), 0);
}

TEST_F(FileTest, InBufferReadsLinesLongerThanItsBuffer) {
  const std::string long_text(3 * InBuffer::kReadSize + 17, 'w');
  dir_.write("counts.txt", "short\t1\n" + long_text + "\t2.5\n\nend\t3");
  InBuffer in("counts.txt");
  EXPECT_EQ(read_all(in), (Lines{{"short", 1}, {long_text, 2.5}, {"end", 3}}));

  EXPECT_FALSE(in.open("absent.txt"));
  EXPECT_EQ(in.next(), 0);
}

TEST_F(FileTest, OutBufferWritesTextTabAndTwoDecimals) {
  {
    OutBuffer out;
    ASSERT_TRUE(out.open("out.txt"));
    out.output(2, "w");
    out.output(-0.125, "neg");
    out.output(1234.567, "a b");
  }  // destruction flushes and closes
  EXPECT_EQ(slurp("out.txt"), "w\t2.00\nneg\t-0.12\na b\t1234.57\n");
}

TEST_F(FileTest, OutBufferWritesWhenPendingExceedsThreshold) {
  OutBuffer out(10);
  ASSERT_TRUE(out.open("out.txt"));
  out.output(1, "ab");  // "ab\t1.00\n" is 8 bytes: kept
  EXPECT_EQ(slurp("out.txt"), "");
  out.output(2, "cd");  // 16 bytes pending: written
  EXPECT_EQ(slurp("out.txt"), "ab\t1.00\ncd\t2.00\n");
  out.output(3, "e");
  out.flush();
  EXPECT_EQ(slurp("out.txt"), "ab\t1.00\ncd\t2.00\ne\t3.00\n");
  out.close();
  out.close();  // closing twice is harmless
}

TEST_F(FileTest, CountFileRoundTrip) {
  {
    OutBuffer out(64);
    ASSERT_TRUE(out.open("round.txt"));
    for (int i = 0; i < 500; ++i) {
      out.output(i * 0.5, ("key " + std::to_string(i)).c_str());
    }
  }
  InBuffer in("round.txt");
  int i = 0;
  for (; in.next(); ++i) {
    ASSERT_EQ(std::string(in.current()), "key " + std::to_string(i));
    ASSERT_DOUBLE_EQ(in.count(), i * 0.5);
  }
  EXPECT_EQ(i, 500);
}

}  // namespace
}  // namespace lorvan
