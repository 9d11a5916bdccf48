// The database cache over its file: look-ups that miss, load from the file,
// change and write back; linking; counts; copy and merge; many entries;
// a process killed in the middle of a sync.
#include "stats/plhash.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "stats/word_seq_counter.h"
#include "stats_fixture.h"

namespace lorvan::statstest {
namespace {

const auto kReadWrite = std::ios::in | std::ios::out;

std::string payload(const std::string& key, const std::string& text) {
  return key + '\0' + text + '\0';
}

std::string dumped(PLHash& db) {
  std::ostringstream out;
  db.dump(out);
  return out.str();
}

class PLHashTest : public StatsTest {
 protected:
  PLHashTest() : header_(header("n.hdr", "n.db", 32, 211)) {}
  std::string header_;
};

TEST_F(PLHashTest, NewFileIsWrittenAtOnceWithTheGlobalInformationFirst) {
  NoteDb db;
  EXPECT_EQ(db.open_file(header_.c_str(), kReadWrite), 0);
  ASSERT_TRUE(exists(path("n.db")));
  std::string bytes = read_file(path("n.db"));
  std::uint32_t data_start = 16 + 4 * 211 + 4 + 12;
  ASSERT_EQ(db.disk_file()->data_start(), data_start);
  EXPECT_EQ(word_at(bytes, data_start), 4u);               // length: one float
  EXPECT_EQ(word_at(bytes, data_start + 4), 0x00015555u);  // one block, whole
  db.inc_total(2.5f);
  db.sync();
  bytes = read_file(path("n.db"));
  const char* total = bytes.data() + data_start + 8;
  EXPECT_EQ(StrBufs::get_float(total), 2.5f);
}

TEST_F(PLHashTest, EntriesGoToTheFileAtSyncAndComeBackOnDemand) {
  {
    NoteDb db;
    ASSERT_EQ(db.open_file(header_.c_str(), kReadWrite), 0);
    db.put("alpha", "first");
    db.put("beta", "second");
    EXPECT_EQ(db.entry_count(), 2);
    db.sync();
    EXPECT_EQ(db.entry_count(), 0);

    PLHash::Place place;
    PLHashEntry* entry = db.search_entry_and_place("ALPHA", place);
    ASSERT_NE(entry, nullptr);
    EXPECT_GT(entry->position(), 0);  // read, unchanged
    EXPECT_EQ(db.entry_count(), 1);
    db.put("alpha", "changed");
    EXPECT_LT(entry->position(), 0);
    db.sync();
  }
  NoteDb db;
  ASSERT_EQ(db.open_file(header_.c_str(), std::ios::in), 1);
  EXPECT_EQ(db.get("alpha"), "changed");
  EXPECT_EQ(db.get("beta"), "second");
  EXPECT_EQ(db.get("gamma"), "(none)");
  EXPECT_EQ(db.existEntry("beta"), 1);
}

TEST_F(PLHashTest, WithoutAFileTheDatabaseIsAPlainTable) {
  NoteDb db;
  db.put("b", "2");
  db.put("A", "1");
  db.sync();
  EXPECT_EQ(db.entry_count(), 2);
  EXPECT_EQ(db.get("a"), "1");
  EXPECT_EQ(dumped(db), "A\t1\nb\t2\n");
  EXPECT_FALSE(db.validate());
}

TEST_F(PLHashTest, KeysMissingFromTheFileAreNotSearchedAgainUntilSync) {
  NoteDb db;
  ASSERT_EQ(db.open_file(header_.c_str(), kReadWrite), 0);
  EXPECT_EQ(db.get("ghost"), "(none)");
  // A record that appears behind the cache's back is not seen ...
  std::string record = payload("ghost", "boo");
  ASSERT_NE(db.disk_file()->insert_new(record.data(), static_cast<std::uint32_t>(record.size())), 0u);
  EXPECT_EQ(db.get("ghost"), "(none)");
  EXPECT_EQ(db.existEntry("ghost"), 0);
  // ... until the next sync forgets the missing keys.
  db.sync();
  EXPECT_EQ(db.existEntry("ghost"), 1);
  EXPECT_EQ(db.entry_count(), 0);  // existEntry loads nothing
  EXPECT_EQ(db.get("ghost"), "boo");
}

TEST_F(PLHashTest, ManySmallAdditionsToTheTotalAreNotLost) {
  NoteDb db;
  for (int i = 0; i < 20000; ++i) db.inc_total(1.0f);
  EXPECT_EQ(db.total_count(), 20000.0f);
  for (int i = 0; i < 200000; ++i) db.inc_total(1.0f);
  EXPECT_EQ(db.total_count(), 220000.0f);
}

TEST_F(PLHashTest, ManyEntriesSurviveGrowingShrinkingAndReopening) {
  std::map<std::string, std::string> model;
  auto text = [](int i, int round) {
    return std::string(static_cast<std::size_t>((i * 7 + round * 13) % 90), static_cast<char>('a' + i % 26));
  };
  std::uint32_t end_before_reuse = 0;
  {
    NoteDb db(1009);
    ASSERT_EQ(db.open_file(header_.c_str(), kReadWrite), 0);
    for (int i = 0; i < 12000; ++i) {
      std::string key = "key" + std::to_string(i);
      db.put(key.c_str(), model[key] = text(i, 0));
    }
    db.sync();
    // Grow some records past their chunks, shrink others back.
    for (int i = 0; i < 12000; i += 3) {
      std::string key = "key" + std::to_string(i);
      db.put(key.c_str(), model[key] = std::string(250, 'G'));
    }
    db.sync();
    for (int i = 0; i < 12000; i += 6) {
      std::string key = "key" + std::to_string(i);
      db.put(key.c_str(), model[key] = "s");
    }
    db.sync();
    ASSERT_FALSE(db.disk_file()->free_list().empty());
    end_before_reuse = db.disk_file()->end();
    // Small new entries fit the freed overflow chunks.
    for (int i = 0; i < 300; ++i) {
      std::string key = "new" + std::to_string(i);
      db.put(key.c_str(), model[key] = "n");
    }
    db.sync();
    EXPECT_EQ(db.disk_file()->end(), end_before_reuse);
  }
  NoteDb db(1009);
  ASSERT_EQ(db.open_file(header_.c_str(), std::ios::in), 1);
  EXPECT_TRUE(db.validate());
  for (const auto& [key, value] : model) ASSERT_EQ(db.get(key.c_str()), value) << key;
  db.clear();
  int records = 0;
  PLHashIterator it(db);
  while (it.next() != nullptr) ++records;
  EXPECT_EQ(records, static_cast<int>(model.size()));
}

TEST_F(PLHashTest, FileOfAnotherKindIsNotLinkedAndStaysUntouched) {
  {
    NoteDb notes;
    notes.open_file(header_.c_str(), kReadWrite);
    notes.put("k", "v");
    notes.sync();
  }
  std::string hdr = header("w.hdr", "w.db", 32, 53);
  {
    WordSeqCounter counter(101, false);
    counter.open_file(hdr.c_str(), kReadWrite);
    std::vector<const char*> words{"new", "york"};
    counter.addEntry(WordSeqCounter::Words(words), 3);
    counter.sync();
  }
  std::string notes_bytes = read_file(path("n.db"));
  std::string counter_bytes = read_file(path("w.db"));
  testing::internal::CaptureStderr();
  WordSeqCounter counter(101, false);
  EXPECT_EQ(counter.open_file(header_.c_str(), kReadWrite), -1);
  EXPECT_EQ(counter.disk_file(), nullptr);
  NoteDb notes;
  EXPECT_EQ(notes.open_file(hdr.c_str(), kReadWrite), -1);
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("Can't open " + path("n.db") + ": it is damaged or belongs to another kind"),
            std::string::npos);
  EXPECT_NE(report.find("Can't open " + path("w.db")), std::string::npos);
  EXPECT_EQ(read_file(path("n.db")), notes_bytes);
  EXPECT_EQ(read_file(path("w.db")), counter_bytes);
}

TEST_F(PLHashTest, LinkingIsRefusedWhenItWouldMixMemoryAndFile) {
  {
    NoteDb db;
    db.open_file(header_.c_str(), kReadWrite);
    db.put("k", "file");
    db.sync();
  }
  testing::internal::CaptureStderr();
  NoteDb linked;
  EXPECT_EQ(linked.open_file(header_.c_str(), std::ios::in), 1);
  EXPECT_EQ(linked.open_file(header_.c_str(), std::ios::in), -1);  // already linked
  NoteDb filled;
  filled.put("k", "memory");
  EXPECT_EQ(filled.open_file(header_.c_str(), kReadWrite), -1);  // would shadow the file
  EXPECT_EQ(filled.get("k"), "memory");
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("already linked"), std::string::npos);
  EXPECT_NE(report.find("already holds entries"), std::string::npos);

  // Entries made before linking a new file are written by the next sync.
  NoteDb fresh;
  fresh.put("x", "early");
  std::string other = header("o.hdr", "o.db");
  EXPECT_EQ(fresh.open_file(other.c_str(), kReadWrite), 0);
  fresh.sync();
  NoteDb check;
  check.open_file(other.c_str(), std::ios::in);
  EXPECT_EQ(check.get("x"), "early");
}

TEST_F(PLHashTest, OnlyOneDatabaseAtATimeWritesAFile) {
  NoteDb writer;
  ASSERT_EQ(writer.open_file(header_.c_str(), kReadWrite), 0);
  NoteDb second;
  testing::internal::CaptureStderr();
  EXPECT_EQ(second.open_file(header_.c_str(), kReadWrite), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Can't open " + path("n.db") + ": the file is being written by another user\n");
  NoteDb reader;
  EXPECT_EQ(reader.open_file(header_.c_str(), std::ios::in), 1);
  writer.unlink_file();
  EXPECT_EQ(second.open_file(header_.c_str(), kReadWrite), 1);
}

TEST_F(PLHashTest, ReadOnlyLinkKeepsChangesInMemoryAndShowsThem) {
  {
    NoteDb db;
    db.open_file(header_.c_str(), kReadWrite);
    db.put("a", "1");
    db.put("b", "2");
    db.sync();
  }
  std::string before = read_file(path("n.db"));
  NoteDb db;
  ASSERT_EQ(db.open_file(header_.c_str(), std::ios::in), 1);
  db.put("b", "changed");
  db.put("c", "3");
  db.sync();
  EXPECT_EQ(db.entry_count(), 2);
  EXPECT_EQ(read_file(path("n.db")), before);
  EXPECT_EQ(dumped(db), "a\t1\nb\tchanged\nc\t3\n");
}

TEST_F(PLHashTest, UnlinkSynchronisesThenForgetsEverything) {
  NoteDb db;
  db.open_file(header_.c_str(), kReadWrite);
  db.put("a", "1");
  db.inc_total(4);
  db.unlink_file();
  EXPECT_EQ(db.disk_file(), nullptr);
  EXPECT_EQ(db.entry_count(), 0);
  EXPECT_EQ(db.total_count(), 0.0f);
  ASSERT_EQ(db.open_file(header_.c_str(), std::ios::in), 1);
  EXPECT_EQ(db.get("a"), "1");
  EXPECT_EQ(db.total_count(), 4.0f);
}

TEST_F(PLHashTest, IteratorWalksMemoryOrEveryRecordOfTheFile) {
  NoteDb db;
  db.put("m1", "x");
  db.put("m2", "y");
  std::vector<std::string> keys;
  PLHashIterator memory(db);
  while (PLHashEntry* e = memory.next()) {
    keys.push_back(e->key());
    EXPECT_EQ(memory.current_buffer(), nullptr);
  }
  EXPECT_TRUE(memory.finished());
  EXPECT_EQ(keys.size(), 2u);

  db.open_file(header_.c_str(), kReadWrite);
  db.sync();
  PLHashIterator records(db);
  int count = 0;
  while (PLHashEntry* e = records.next()) {
    ++count;
    EXPECT_GT(e->position(), 0);
    ASSERT_NE(records.current_buffer(), nullptr);
    EXPECT_STREQ(records.current_buffer()->str(), e->key());
  }
  EXPECT_EQ(count, 2);
  records.reset();
  EXPECT_NE(records.next(), nullptr);
}

TEST_F(PLHashTest, KindsThatLackAnOperationSaySo) {
  NoteDb db;
  db.open_file(header_.c_str(), kReadWrite);
  std::istringstream in("k\tv\n");
  testing::internal::CaptureStderr();
  db.populate(in);
  db.reconstruct(in);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "PLHash::populate(istream& istrm) is not implemented\n"
            "PLHash::read_entry must be defined by a subclass.\n");
}

TEST_F(PLHashTest, CopyReplacesAndMergeCombinesWithinOneKind) {
  NoteDb source;
  source.put("a", "from source");
  source.put("b", "only in source");
  source.inc_total(7);
  NoteDb target;
  target.open_file(header_.c_str(), kReadWrite);
  target.put("a", "old");
  target.put("c", "only in target");
  target.copy(source);
  EXPECT_EQ(target.get("a"), "from source");
  EXPECT_EQ(target.get("b"), "only in source");
  EXPECT_EQ(target.get("c"), "only in target");
  EXPECT_EQ(target.total_count(), 7.0f);
  target.clear();
  EXPECT_EQ(dumped(target), "a\tfrom source\nb\tonly in source\nc\tonly in target\n");

  // NoteDb has no combine: a key in both is reported and kept.
  source.put("d", "new");
  testing::internal::CaptureStderr();
  target.merge(source);
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("PLHash::combine must be defined by a subclass."), std::string::npos);
  EXPECT_EQ(target.get("d"), "new");
  EXPECT_EQ(target.total_count(), 14.0f);
}

TEST_F(PLHashTest, CopyAndMergeRefuseWhatTheyCannotDo) {
  NoteDb a;
  NoteDb unlinked;
  WordSeqCounter counter(101, false);
  a.open_file(header_.c_str(), kReadWrite);
  testing::internal::CaptureStderr();
  a.merge(a);
  a.copy(counter);
  unlinked.merge(a);
  unlinked.copy(a);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Cannot merge a database into itself\n"
            "Cannot copy: the databases are of different kinds\n"
            "PLHash::merge cannot open disk file\n"
            "PLHash::copy cannot open disk file\n");
  EXPECT_EQ(unlinked.total_count(), 0.0f);
}

// A child rewrites every entry and syncs, generation after generation, and
// is killed at some moment; the reopened file must hold one whole
// generation -- the last one the child finished, or the one it was
// writing.
TEST_F(PLHashTest, KillDuringSyncLeavesTheOldOrTheNewState) {
  constexpr int kKeys = 2000;
  auto text = [](int generation, int key) {
    return "g" + std::to_string(generation) + std::string(static_cast<std::size_t>((generation * 31 + key) % 120), 'x');
  };
  auto key_of = [](int i) { return "key" + std::to_string(i); };
  {
    NoteDb db(4001);
    ASSERT_EQ(db.open_file(header_.c_str(), kReadWrite), 0);
    for (int i = 0; i < kKeys; ++i) db.put(key_of(i).c_str(), text(0, i));
    db.sync();
  }
  int generation = 0;
  bool saw_progress = false;
  for (int delay_ms : {2, 9, 20, 35, 55, 80, 120, 170}) {
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    pid_t pid = fork();
    if (pid == 0) {
      close(pipe_fds[0]);
      NoteDb db(4001);
      if (db.open_file(header_.c_str(), kReadWrite) != 1) _exit(2);
      for (int g = generation + 1;; ++g) {
        for (int i = 0; i < kKeys; ++i) db.put(key_of(i).c_str(), text(g, i));
        db.inc_total(1);
        db.sync();
        if (write(pipe_fds[1], &g, sizeof g) != sizeof g) _exit(3);
      }
    }
    close(pipe_fds[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself";
    int finished = generation;
    for (int g = 0; read(pipe_fds[0], &g, sizeof g) == sizeof g;) finished = g;
    close(pipe_fds[0]);

    NoteDb db(4001);
    ASSERT_EQ(db.open_file(header_.c_str(), kReadWrite), 1) << "after " << delay_ms << " ms";
    int found = static_cast<int>(db.total_count());
    ASSERT_TRUE(found == finished || found == finished + 1)
        << "total " << found << ", finished generation " << finished;
    ASSERT_TRUE(db.validate());
    for (int i = 0; i < kKeys; ++i) ASSERT_EQ(db.get(key_of(i).c_str()), text(found, i)) << i;
    saw_progress |= found > generation;
    generation = found;
  }
  EXPECT_TRUE(saw_progress);
}

}  // namespace
}  // namespace lorvan::statstest
