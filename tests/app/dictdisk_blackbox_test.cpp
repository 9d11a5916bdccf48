// Black-box tests of lexicons linked to dictionaries on disk through
// link-lex-file, run from parsedemo's start-up file and command lines.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

namespace fs = std::filesystem;

constexpr char kMeaningTypes[] =
    "(make-str-meaning-proto noun)\n"
    "(make-str-meaning-proto verb)\n"
    "(make-lexicon L 101)\n";

class DictDiskBlackBox : public ::testing::Test {
 protected:
  DictDiskBlackBox() {
    dir_.write("dict/words.lex",
               "(apple (noun fruit))\n"
               "(Book (noun sg) (verb))\n"
               "(book (verb past))\n"
               "(\"New York\" (noun city))\n"
               "(zebra (noun))\n");
    dir_.write("dict/words.hdr", "; found on the search path; its files lie beside it\n"
                                 "words.lex 7 words.idx ( )\n");
    dir_.write("more.lex", "(apple (verb))\n(pear (noun))\n");
    dir_.write("more.hdr", "more.lex 3 more.idx ( )\n");
  }
  // Runs parsedemo in the shared folder, with the folder and dict/ on the
  // search path; the start-up file ends with an echo of END, and `out` is
  // what the start-up file and the command lines wrote before and after it.
  RunResult run(const std::string& startup, const std::string& input = "") {
    dir_.write("lorvan.lsp", startup + "(echo END)\n");
    dir_.write("input.txt", input);
    return run_parsedemo_in(
        dir_, {"-p", dir_.path() + ":" + dir_.file("dict"), "-file", "input.txt", "-d"});
  }
  // The messages of building the index `path` (as the header was found).
  static std::string building(const std::string& path, int entries) {
    return "Making Index file " + path + ". Please wait.\n" + std::to_string(entries) +
           " entries\n";
  }
  static std::string before_end(const std::string& out) {
    return out.substr(0, out.find("END\n"));
  }

  TempDir dir_;
};

TEST_F(DictDiskBlackBox, WordsMissingFromMemoryAreLoadedFromTheLinkedFile) {
  RunResult r = run(std::string(kMeaningTypes) +
                    "(lex L (zebra (noun striped)))\n"
                    "(link-lex-file L words.hdr)\n"
                    "(lex-entry L BOOK \"new york\" zebra unknown)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(before_end(r.out),
            "(Book\n (noun sg)\n (verb )\n )\n"
            "(\"New York\"\n (noun city)\n )\n"
            "(zebra\n (noun striped)\n )\n");  // the entry in memory wins
  EXPECT_EQ(r.err, building(dir_.file("dict/words.idx"), 5));
  EXPECT_TRUE(fs::exists(dir_.file("dict/words.idx")));

  // The next run uses the index as it is.
  r = run(std::string(kMeaningTypes) + "(link-lex-file L words.hdr)\n", "~(lex-entry L apple)\n");
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("(apple\n (noun fruit)\n )\n"), std::string::npos) << r.out;
}

TEST_F(DictDiskBlackBox, LaterDictionariesAddTheirMeaningsToTheSameEntry) {
  RunResult r = run(std::string(kMeaningTypes) +
                    "(link-lex-file L words.hdr more.hdr)\n"
                    "(lex-entry L apple pear)\n");
  EXPECT_EQ(before_end(r.out), "(apple\n (noun fruit)\n (verb )\n )\n(pear\n (noun )\n )\n");
  EXPECT_EQ(r.err, building(dir_.file("dict/words.idx"), 5) + building("more.idx", 2));
}

TEST_F(DictDiskBlackBox, ATouchedDictionaryIsReindexedAtTheNextLink) {
  ASSERT_EQ(run(std::string(kMeaningTypes) + "(link-lex-file L more.hdr)\n").status, 0);
  dir_.write("more.lex", "(apple (verb))\n(pear (noun))\n(plum (noun))\n");
  fs::last_write_time(dir_.file("more.lex"),
                      fs::last_write_time(dir_.file("more.idx")) + std::chrono::seconds(5));
  RunResult r = run(std::string(kMeaningTypes) + "(link-lex-file L more.hdr)\n",
                    "~(lex-entry L plum)\n");
  EXPECT_EQ(r.err, building("more.idx", 3));
  EXPECT_NE(r.out.find("(plum\n (noun )\n )\n"), std::string::npos) << r.out;
}

TEST_F(DictDiskBlackBox, UnusableDictionariesAreReportedAndTheRunGoesOn) {
  dir_.write("bad.hdr", "more.lex many more.idx ( )\n");
  dir_.write("broken.hdr", "more.lex 3 broken.idx ( )\n");
  dir_.write("broken.idx", "not an index");
  fs::last_write_time(dir_.file("broken.idx"),
                      fs::last_write_time(dir_.file("more.lex")) + std::chrono::seconds(5));
  RunResult r = run(std::string(kMeaningTypes) +
                        "(link-lex-file NOPE more.hdr)\n"
                        "(link-lex-file L nothere.hdr bad.hdr broken.hdr)\n",
                    "~(lex-entry L pear)\n~(echo STILL-HERE)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "The named object 'NOPE' (type=Lexicon) is not found\n"
            "The file nothere.hdr cannot be opened\n"
            "Bad dictionary header bad.hdr: the number of buckets must be a number from 1 to "
            "536870911, not many\n"
            "The index file 'broken.idx' is damaged (a bucket list is out of place); remove "
            "it to have it rebuilt\n");
  EXPECT_EQ(r.out.find("(pear"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("STILL-HERE"), std::string::npos) << r.out;
  std::ifstream index(dir_.file("broken.idx"));
  std::stringstream kept;
  kept << index.rdbuf();
  EXPECT_EQ(kept.str(), "not an index");
}

TEST_F(DictDiskBlackBox, HelpShowsTheCallForm) {
  RunResult r = run("(help link-lex-file)\n");
  EXPECT_EQ(before_end(r.out),
            "link-lex-file\n(link-lex-file lexicon-name header.hdr) Link a lexicon to a disk "
            "file so that if an entry is not found, the disk file will be searched.\n\n");
}

}  // namespace
}  // namespace lorvan::testsupport
