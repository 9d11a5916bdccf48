// The journaled store under the database files: writes wait for commit();
// a process that dies during a commit leaves the old or the new contents.
// Deaths are made exact with a file-size limit: the child is killed by
// SIGXFSZ at the first write beyond it.
#include "stats/journaled_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include "stats_fixture.h"

namespace lorvan::statstest {
namespace {

constexpr std::size_t kPage = JournaledFile::kPageSize;
constexpr std::size_t kPages = 64;

// Runs `body` in a child process; the signal that killed it, or 0.
int signal_of_child(const std::function<void()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// In a child: no core files, and death at the first write at or beyond
// `bytes`.
void limit_file_size(std::size_t bytes) {
  rlimit core{0, 0};
  setrlimit(RLIMIT_CORE, &core);
  rlimit size{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &size);
}

class JournaledFileTest : public StatsTest {
 protected:
  JournaledFileTest() : file_(path("j.bin")) {}

  // The file: kPages pages, each filled with `fill`.
  void make_pages(char fill) {
    JournaledFile f;
    std::string error;
    ASSERT_TRUE(f.open(file_, true, error)) << error;
    std::string page(kPage, fill);
    for (std::size_t i = 0; i < kPages; ++i) f.write(i * kPage, page.data(), kPage);
    ASSERT_TRUE(f.commit(error)) << error;
  }
  static void fill_page(JournaledFile& f, std::size_t index, char fill) {
    std::string page(kPage, fill);
    f.write(index * kPage, page.data(), kPage);
  }
  // The first byte of every page, as a string.
  std::string page_marks(JournaledFile& f) {
    std::string marks;
    for (std::size_t i = 0; i < kPages; ++i) {
      char c = '?';
      f.read(i * kPage, &c, 1);
      marks += c;
    }
    return marks;
  }
  std::string reopened_marks(bool writable) {
    JournaledFile f;
    std::string error;
    EXPECT_TRUE(f.open(file_, writable, error)) << error;
    return page_marks(f);
  }
  std::string journal() const { return JournaledFile::journal_path(file_); }

  std::string file_;
};

TEST_F(JournaledFileTest, WritesAreReadBackAtOnceAndReachTheDiskAtCommit) {
  JournaledFile f;
  std::string error;
  ASSERT_TRUE(f.open(file_, true, error));
  EXPECT_TRUE(f.is_new());
  ASSERT_TRUE(f.write(5000, "abc", 3));
  EXPECT_EQ(f.size(), 5003u);
  char bytes[4] = {'?', '?', '?', '?'};
  ASSERT_TRUE(f.read(4999, bytes, 4));
  EXPECT_EQ(std::string(bytes, 4), std::string("\0abc", 4));
  EXPECT_FALSE(f.read(5001, bytes, 4));  // beyond the end
  EXPECT_FALSE(exists(file_));
  ASSERT_TRUE(f.commit(error)) << error;
  EXPECT_EQ(read_file(file_).size(), 5003u);
  EXPECT_FALSE(exists(JournaledFile::creation_path(file_)));

  f.write(0, "X", 1);
  f.read(0, bytes, 1);
  EXPECT_EQ(bytes[0], 'X');
  EXPECT_EQ(read_file(file_)[0], '\0');
  f.close();  // the uncommitted write is dropped
  JournaledFile again;
  ASSERT_TRUE(again.open(file_, false, error));
  again.read(0, bytes, 1);
  EXPECT_EQ(bytes[0], '\0');
}

TEST_F(JournaledFileTest, NewFileThatIsNeverCommittedLeavesNothingBehind) {
  {
    JournaledFile f;
    std::string error;
    ASSERT_TRUE(f.open(file_, true, error));
    f.write(0, "abc", 3);
  }
  EXPECT_FALSE(exists(file_));
  EXPECT_FALSE(exists(JournaledFile::creation_path(file_)));
}

TEST_F(JournaledFileTest, DeathWhileWritingTheJournalKeepsTheOldContents) {
  make_pages('A');
  int signal = signal_of_child([this] {
    JournaledFile f;
    std::string error;
    if (!f.open(file_, true, error)) return;
    for (std::size_t i = 0; i < kPages; ++i) fill_page(f, i, 'B');
    limit_file_size(kPages / 2 * kPage);  // the journal is larger than this
    f.commit(error);
  });
  ASSERT_EQ(signal, SIGXFSZ);
  EXPECT_TRUE(exists(journal()));
  EXPECT_EQ(reopened_marks(true), std::string(kPages, 'A'));
  EXPECT_FALSE(exists(journal()));
}

TEST_F(JournaledFileTest, DeathWhileApplyingAFinishedJournalIsCompletedOnOpen) {
  make_pages('A');
  int signal = signal_of_child([this] {
    JournaledFile f;
    std::string error;
    if (!f.open(file_, true, error)) return;
    fill_page(f, 0, 'B');
    for (std::size_t i = kPages - 4; i < kPages; ++i) fill_page(f, i, 'B');
    limit_file_size(kPages / 2 * kPage);  // the journal fits, the last pages do not
    f.commit(error);
  });
  ASSERT_EQ(signal, SIGXFSZ);
  std::string expected = "B" + std::string(kPages - 5, 'A') + "BBBB";
  std::string before = read_file(file_);
  EXPECT_EQ(before[0], 'B');                      // applied before the death
  EXPECT_EQ(before[(kPages - 1) * kPage], 'A');   // not yet applied

  // Read-only, the finished commit is seen without touching the files.
  EXPECT_EQ(reopened_marks(false), expected);
  EXPECT_EQ(read_file(file_), before);
  EXPECT_TRUE(exists(journal()));
  // Read-write, it is completed on disk.
  EXPECT_EQ(reopened_marks(true), expected);
  EXPECT_FALSE(exists(journal()));
  EXPECT_EQ(read_file(file_)[(kPages - 1) * kPage], 'B');
}

TEST_F(JournaledFileTest, DeathWhileAppendingKeepsTheOldContents) {
  make_pages('A');
  int signal = signal_of_child([this] {
    JournaledFile f;
    std::string error;
    if (!f.open(file_, true, error)) return;
    fill_page(f, 0, 'B');
    for (std::size_t i = kPages; i < kPages + 8; ++i) fill_page(f, i, 'C');
    limit_file_size((kPages + 2) * kPage);
    f.commit(error);
  });
  ASSERT_EQ(signal, SIGXFSZ);
  EXPECT_FALSE(exists(journal()));
  EXPECT_EQ(reopened_marks(true), std::string(kPages, 'A'));
}

TEST_F(JournaledFileTest, BrokenJournalIsIgnoredAndRemoved) {
  make_pages('A');
  std::string before = read_file(file_);
  write_file(journal(), "LVJ1 but nothing after it");
  EXPECT_EQ(reopened_marks(false), std::string(kPages, 'A'));
  EXPECT_TRUE(exists(journal()));
  EXPECT_EQ(reopened_marks(true), std::string(kPages, 'A'));
  EXPECT_FALSE(exists(journal()));
  EXPECT_EQ(read_file(file_), before);
}

TEST_F(JournaledFileTest, ReadOnlyFileRefusesWritesAndCommits) {
  make_pages('A');
  JournaledFile f;
  std::string error;
  ASSERT_TRUE(f.open(file_, false, error));
  EXPECT_FALSE(f.write(0, "B", 1));
  EXPECT_FALSE(f.commit(error));
  EXPECT_FALSE(f.open(path("missing.bin"), false, error));
  EXPECT_EQ(error, "no such file");
}

}  // namespace
}  // namespace lorvan::statstest
