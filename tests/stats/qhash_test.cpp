// The file layers: block allocation and the free list (QFile), records in
// chained buckets (QHash), header files, checks made when a file is opened.
#include "stats/qhash.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "stats_fixture.h"

namespace lorvan::statstest {
namespace {

const auto kReadWrite = std::ios::in | std::ios::out;

std::string pattern(std::size_t n, char seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7 % 251);
  return s;
}

std::string payload(const std::string& key, const std::string& value) {
  return key + '\0' + value;
}

std::string loaded(QFile& file, std::uint32_t position) {
  StrBufs buffer;
  if (!file.load(position, buffer)) return "(damaged)";
  return std::string(buffer.str(), buffer.length());
}

class QHashTest : public StatsTest {
 protected:
  // A new read-write file "a.db" of block size 32, 5 buckets, strcasecmp.
  std::unique_ptr<QHash> new_file(long buckets = 5, const char* function = "strcasecmp") {
    auto file = std::make_unique<QHash>(kReadWrite);
    EXPECT_EQ(file->init(path("a.db").c_str(), 32, buckets, function), 0);
    EXPECT_TRUE(file->ok());
    return file;
  }
  std::unique_ptr<QHash> reopen(std::ios::openmode mode = kReadWrite) {
    auto file = std::make_unique<QHash>(mode);
    EXPECT_EQ(file->init(path("a.db").c_str(), 32, 5, "strcasecmp"), 1);
    return file;
  }
};

// ---- Layout of a new file ----

TEST_F(QHashTest, NewFileAppearsOnlyAtItsFirstSaveWithTheDocumentedLayout) {
  auto file = new_file();
  EXPECT_FALSE(exists(path("a.db")));
  ASSERT_TRUE(file->saveHeader());
  std::string bytes = read_file(path("a.db"));
  // 12-byte header, N, five empty buckets, the name length, the name padded
  // with copies of its first byte; the data area starts right after.
  ASSERT_EQ(bytes.size(), 52u);
  EXPECT_EQ(word_at(bytes, 0), 52u);
  EXPECT_EQ(word_at(bytes, 4), 0u);
  EXPECT_EQ(word_at(bytes, 8), 32u);
  EXPECT_EQ(word_at(bytes, 12), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(word_at(bytes, 16 + 4 * i), 0u);
  EXPECT_EQ(word_at(bytes, 36), 10u);
  EXPECT_EQ(bytes.substr(40), "strcasecmpss");
  EXPECT_EQ(file->data_start(), 52u);
}

TEST_F(QHashTest, BlockSizeOfANewFileIsAtLeast32AndAMultipleOf4) {
  const struct {
    long requested;
    std::uint32_t used;
  } cases[] = {{10, 32}, {33, 36}, {32, 32}, {100, 100}, {-5, 32}};
  for (const auto& c : cases) {
    QFile file(kReadWrite);
    EXPECT_EQ(file.init(path("b" + std::to_string(c.requested) + ".db").c_str(), c.requested), 0);
    EXPECT_EQ(file.block_size(), c.used) << "requested " << c.requested;
  }
}

// ---- Allocation and the free list ----

TEST_F(QHashTest, AllocationExtendsByAtLeast4096AndReusesFreedSpaceFirstFit) {
  auto file = new_file();
  std::uint32_t blocks = 0;
  std::uint32_t a = file->alloc(10, blocks);
  EXPECT_EQ(a, 52u);
  EXPECT_EQ(blocks, 1u);
  EXPECT_EQ(file->end(), 52u + 4096u);
  std::uint32_t b = file->alloc(100, blocks);
  EXPECT_EQ(b, 84u);
  EXPECT_EQ(blocks, 4u);
  ASSERT_EQ(file->free_list().size(), 1u);
  EXPECT_EQ(file->free_list()[0].position, 212u);

  // Two adjacent chunks freed become one range with the rest.
  EXPECT_TRUE(file->freeChunk(a, 1));
  EXPECT_TRUE(file->freeChunk(b, 4));
  std::ostringstream listing;
  file->printFreeList(listing);
  EXPECT_EQ(listing.str(), "Free list: (52, 4096)\n");

  EXPECT_EQ(file->alloc(32, blocks), 52u);  // first fit
  // Larger than any free range: the file grows by exactly the chunk.
  std::uint32_t end = file->end();
  EXPECT_EQ(file->alloc(5000, blocks), end);
  EXPECT_EQ(blocks, 157u);
  EXPECT_EQ(file->end(), end + 157u * 32u);
}

TEST_F(QHashTest, FreeingSpaceThatIsAlreadyFreeIsRefused) {
  auto file = new_file();
  std::uint32_t blocks = 0;
  std::uint32_t a = file->alloc(64, blocks);
  ASSERT_TRUE(file->freeChunk(a, blocks));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(file->freeChunk(a, blocks));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("already free"), std::string::npos);
  EXPECT_EQ(file->free_list().size(), 1u);
}

// ---- Items ----

TEST_F(QHashTest, ItemsOfManySizesSurviveSavingAndReopening) {
  const std::size_t sizes[] = {0, 1, 23, 24, 25, 56, 57, 100, 4000, 5000, 70000, 2100000};
  std::vector<std::uint32_t> positions;
  {
    auto file = new_file();
    for (std::size_t size : sizes) {
      std::string data = pattern(size, static_cast<char>(size));
      std::uint32_t p = file->save(0, data.data(), static_cast<std::uint32_t>(size));
      ASSERT_NE(p, 0u) << size;
      EXPECT_EQ(loaded(*file, p), data) << size;
      positions.push_back(p);
    }
    ASSERT_TRUE(file->saveHeader());
  }
  auto file = reopen(std::ios::in);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    EXPECT_EQ(loaded(*file, positions[i]), pattern(sizes[i], static_cast<char>(sizes[i])));
  }
}

TEST_F(QHashTest, GrowingItemSplitsAndShrinkingItFreesTheOverflowChunk) {
  auto file = new_file();
  std::string small = pattern(20, 'a');
  std::uint32_t p = file->save(0, small.data(), 20);
  QFile::ItemInfo info;
  ASSERT_TRUE(file->read_item_info(p, info));
  EXPECT_FALSE(info.split());

  const struct {
    std::uint32_t size;
    bool split;
    std::uint32_t overflow_blocks;
  } steps[] = {
      {100, true, 3},  // 76 bytes beyond the chunk: an overflow of 84 bytes
      {150, true, 5},  // no longer fits the overflow: a new one
      {120, true, 5},  // fits the current overflow: kept
      {24, false, 0},  // fits the first chunk again
  };
  std::uint32_t previous_overflow = 0;
  for (const auto& step : steps) {
    std::string data = pattern(step.size, 'x');
    EXPECT_EQ(file->save(p, data.data(), step.size), p) << step.size;
    ASSERT_TRUE(file->read_item_info(p, info));
    EXPECT_EQ(info.split(), step.split) << step.size;
    if (step.split) {
      EXPECT_EQ(info.footer.blocks, step.overflow_blocks) << step.size;
      previous_overflow = info.footer.position;
    }
    EXPECT_EQ(loaded(*file, p), data) << step.size;
    // The same bytes read in two parts: the first chunk's and the rest.
    StrBufs parts;
    ASSERT_TRUE(file->load_front(info, parts));
    ASSERT_TRUE(file->load_rear(info, parts));
    EXPECT_EQ(std::string(parts.str(), parts.length()), data) << step.size;
  }
  bool overflow_is_free = false;
  for (const FreeRange& r : file->free_list()) {
    overflow_is_free |= r.position <= previous_overflow && previous_overflow < r.position + r.size;
  }
  EXPECT_TRUE(overflow_is_free);
}

// ---- Records ----

TEST_F(QHashTest, RecordsInSharedBucketsAreFoundRewrittenAndKeepTheirChains) {
  auto file = new_file(3);
  std::vector<std::uint32_t> positions;
  for (int i = 0; i < 40; ++i) {
    std::string key = "key" + std::to_string(i);
    std::string record = payload(key, std::string(static_cast<std::size_t>(i * 5), 'v'));
    positions.push_back(file->insert_new(record.data(), static_cast<std::uint32_t>(record.size())));
    ASSERT_NE(positions.back(), 0u);
  }
  std::string longer = payload("key7", std::string(300, 'w'));
  EXPECT_EQ(file->store(positions[7], longer.data(), static_cast<std::uint32_t>(longer.size()), 0, 0),
            positions[7]);
  StrBufs buffer;
  for (int i = 0; i < 40; ++i) {
    std::string key = "KEY" + std::to_string(i);  // strcasecmp ignores case
    ASSERT_EQ(file->fetch(key.c_str(), buffer), positions[i]) << key;
    std::string expected = i == 7 ? longer : payload("key" + std::to_string(i),
                                                     std::string(static_cast<std::size_t>(i * 5), 'v'));
    EXPECT_EQ(std::string(buffer.str(), buffer.length()), expected);
    EXPECT_EQ(file->getPosition(key.c_str()), positions[i]);
  }
  EXPECT_EQ(file->fetch("key40", buffer), 0u);
  EXPECT_EQ(file->getPosition("ke"), 0u);
}

TEST_F(QHashTest, ComparisonFunctionOfTheFileDecidesWhichKeysAreEqual) {
  auto file = new_file(5, "strcmp");
  std::string record = payload("Paris", "x");
  file->insert_new(record.data(), static_cast<std::uint32_t>(record.size()));
  EXPECT_NE(file->getPosition("Paris"), 0u);
  EXPECT_EQ(file->getPosition("paris"), 0u);
}

TEST_F(QHashTest, SortLinksOrdersEveryChainByPosition) {
  std::uint32_t p[3];
  {
    auto file = new_file(1);
    for (int i = 0; i < 3; ++i) {
      std::string record = payload(std::string(1, static_cast<char>('a' + i)), "v");
      p[i] = file->insert_new(record.data(), static_cast<std::uint32_t>(record.size()));
    }
    // Chain the records highest, lowest, middle.
    file->write_word(QHash::kTablePosition, p[2]);
    file->write_word(p[2] + 8, p[0]);
    file->write_word(p[0] + 8, p[1]);
    file->write_word(p[1] + 8, 0);
    std::vector<std::uint32_t> chain;
    ASSERT_TRUE(file->chain(0, chain));
    EXPECT_EQ(chain, (std::vector<std::uint32_t>{p[2], p[0], p[1]}));
    file->sort_links();
  }
  auto file = reopen();
  std::vector<std::uint32_t> chain;
  ASSERT_TRUE(file->chain(0, chain));
  EXPECT_EQ(chain, (std::vector<std::uint32_t>{p[0], p[1], p[2]}));
  EXPECT_EQ(file->bucket(0), p[0]);
  std::uint32_t last_link = 1;
  file->read_word(p[2] + 8, last_link);
  EXPECT_EQ(last_link, 0u);
}

TEST_F(QHashTest, ProfileCountsTheRecordsOfEveryChain) {
  auto file = new_file(4);
  for (int i = 0; i < 6; ++i) {
    std::string record = payload("k" + std::to_string(i), "");
    file->insert_new(record.data(), static_cast<std::uint32_t>(record.size()));
  }
  testing::internal::CaptureStderr();
  file->show_profile(50);
  std::string profile = testing::internal::GetCapturedStderr();
  EXPECT_NE(profile.find("size=0:"), std::string::npos);
  EXPECT_NE(profile.find("total number of elements = 6"), std::string::npos);
}

// ---- Validation and damaged files ----

class DamagedFileTest : public QHashTest {
 protected:
  // A file with a few records, saved; returns the position of the record
  // of "k1".
  std::uint32_t make_file() {
    std::filesystem::remove(path("a.db"));
    auto file = new_file();
    for (int i = 0; i < 4; ++i) {
      std::string record = payload("k" + std::to_string(i), "value");
      file->insert_new(record.data(), static_cast<std::uint32_t>(record.size()));
    }
    std::uint32_t blocks = 0;
    std::uint32_t spare = file->alloc(64, blocks);
    file->freeChunk(spare, blocks);  // leave a saved free list
    EXPECT_TRUE(file->saveHeader());
    return file->getPosition("k1");
  }
  void damage(const std::function<void(std::string&)>& change) {
    std::string bytes = read_file(path("a.db"));
    change(bytes);
    write_file(path("a.db"), bytes);
  }
};

TEST_F(DamagedFileTest, ValidateAcceptsASoundFileSilently) {
  make_file();
  auto file = reopen();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(file->validate());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(DamagedFileTest, ValidateReportsTheFirstFaultyRecord) {
  const struct {
    const char* name;
    std::size_t offset;  // from the record's position
    bool link;           // overwrite the link (else the marker)
    const char* report;
  } cases[] = {
      {"bad marker", 6, false, "invalid header\n"},
      {"link beyond the end", 8, true, "out of bound\n"},
  };
  for (const auto& c : cases) {
    std::uint32_t p = make_file();
    damage([&](std::string& bytes) {
      if (c.link) {
        put_word(bytes, p + c.offset, static_cast<std::uint32_t>(bytes.size() + 64));
      } else {
        put_word(bytes, p + 4, 0x00011234);  // blocks 1, marker 0x1234
      }
    });
    auto file = reopen();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file->validate()) << c.name;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.report) << c.name;
  }
}

TEST_F(DamagedFileTest, RecordWithABadMarkerReadsAsAbsent) {
  std::uint32_t p = make_file();
  damage([&](std::string& bytes) { put_word(bytes, p + 4, 0x00010000); });
  auto file = reopen();
  StrBufs buffer;
  testing::internal::CaptureStderr();
  EXPECT_EQ(file->fetch("k1", buffer), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid magic number!\n");
}

TEST_F(DamagedFileTest, DamagedOrForeignFilesAreNotOpenedAndNotWritten) {
  const struct {
    const char* name;
    std::function<void(std::string&)> change;
    const char* reason;
  } cases[] = {
      {"truncated header", [](std::string& b) { b.resize(10); }, "truncated"},
      {"truncated data", [](std::string& b) { b.resize(b.size() / 2); }, "truncated"},
      {"bad block size", [](std::string& b) { put_word(b, 8, 7); }, "block size"},
      {"no buckets", [](std::string& b) { put_word(b, 12, 0); }, "bucket count"},
      {"free list outside", [](std::string& b) { put_word(b, 4, static_cast<std::uint32_t>(b.size() + 4)); },
       "free list"},
      {"unknown function", [](std::string& b) { b[40 + 9] = 'X'; }, "not registered"},
      {"a text file", [](std::string& b) { b = "This is a plain text file, not a database.\n"; },
       "not a database"},
  };
  for (const auto& c : cases) {
    make_file();
    damage(c.change);
    std::string before = read_file(path("a.db"));
    testing::internal::CaptureStderr();
    {
      QHash file(kReadWrite);
      EXPECT_EQ(file.init(path("a.db").c_str(), 32, 5, "strcasecmp"), 0) << c.name;
      EXPECT_FALSE(file.ok()) << c.name;
      file.saveHeader();
    }
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("Can't open " + path("a.db")), std::string::npos) << c.name;
    EXPECT_NE(report.find(c.reason), std::string::npos) << c.name << ": " << report;
    EXPECT_EQ(read_file(path("a.db")), before) << c.name;
    EXPECT_FALSE(exists(JournaledFile::journal_path(path("a.db")))) << c.name;
  }
}

TEST_F(QHashTest, NewFileWithAnUnknownFunctionEndsTheProgram) {
  EXPECT_EXIT(
      {
        QHash file(kReadWrite);
        file.init(path("a.db").c_str(), 32, 5, "nosuch");
      },
      testing::ExitedWithCode(1), "The function 'nosuch' is not registered as a named object");
  EXPECT_FALSE(exists(path("a.db")));
}

// ---- Read-only files ----

TEST_F(QHashTest, ReadOnlyFileIsReadButNeverWritten) {
  {
    auto file = new_file();
    std::string record = payload("k", "v");
    file->insert_new(record.data(), static_cast<std::uint32_t>(record.size()));
    file->saveHeader();
  }
  std::string before = read_file(path("a.db"));
  auto file = reopen(std::ios::in);
  EXPECT_NE(file->getPosition("k"), 0u);
  std::uint32_t blocks = 0;
  EXPECT_EQ(file->alloc(10, blocks), 0u);
  std::string record = payload("new", "v");
  EXPECT_EQ(file->insert_new(record.data(), static_cast<std::uint32_t>(record.size())), 0u);
  testing::internal::CaptureStderr();
  EXPECT_EQ(file->save(0, "abc", 3), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Trying to write read-only file!\n");
  EXPECT_TRUE(file->saveHeader());
  EXPECT_EQ(read_file(path("a.db")), before);
}

TEST_F(QHashTest, MissingFileCannotBeOpenedReadOnly) {
  QHash file(std::ios::in);
  testing::internal::CaptureStderr();
  EXPECT_EQ(file.init(path("none.db").c_str(), 32, 5, "strcasecmp"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can't open " + path("none.db") + "\n");
  EXPECT_FALSE(file.ok());
}

// ---- Header files ----

TEST_F(QHashTest, HeaderFileNamesTheDataFileBesideItAndItsParameters) {
  dir_.write("sub/db.hdr", "; the test database\n\"data file.db\"  64\n  7 strcmp\n");
  {
    QHash file(kReadWrite);
    EXPECT_EQ(file.init(path("sub/db.hdr").c_str()), 0);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.path(), path("sub/data file.db"));
    EXPECT_EQ(file.block_size(), 64u);
    EXPECT_EQ(file.bucket_count(), 7u);
    EXPECT_EQ(file.function_name(), "strcmp");
    file.saveHeader();
  }
  // An existing file keeps its own parameters.
  dir_.write("sub/db.hdr", "\"data file.db\" 128 999 strcasecmp\n");
  QHash file(kReadWrite);
  EXPECT_EQ(file.init(path("sub/db.hdr").c_str()), 1);
  EXPECT_EQ(file.block_size(), 64u);
  EXPECT_EQ(file.bucket_count(), 7u);
  EXPECT_EQ(file.function_name(), "strcmp");
}

TEST_F(QHashTest, AbsoluteDataFileNameIsTakenAsItIs) {
  dir_.write("sub/db.hdr", path("abs.db") + " 32 5 strcasecmp\n");
  QHash file(kReadWrite);
  EXPECT_EQ(file.init(path("sub/db.hdr").c_str()), 0);
  EXPECT_EQ(file.path(), path("abs.db"));
}

TEST_F(QHashTest, IncompleteOrMissingHeaderLinksNothing) {
  dir_.write("short.hdr", "data.db 64\n");
  QHash file(kReadWrite);
  testing::internal::CaptureStderr();
  EXPECT_EQ(file.init(path("short.hdr").c_str()), 0);
  EXPECT_FALSE(file.ok());
  EXPECT_EQ(file.init(path("missing.hdr").c_str()), -1);
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("must give the data file"), std::string::npos);
  EXPECT_NE(report.find("missing.hdr cannot be opened"), std::string::npos);
  EXPECT_FALSE(exists(path("data.db")));
}

}  // namespace
}  // namespace lorvan::statstest
