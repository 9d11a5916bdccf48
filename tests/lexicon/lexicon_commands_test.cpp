// The lexicon commands through the interpreter: making, loading, querying,
// clearing and printing lexicons; the sorted-file utility commands on files;
// help texts; bad arguments.
#include "lexicon/lexicon_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lexicon/ending_table.h"
#include "lexicon/lexicon_fixture.h"

namespace lorvan::lexicon_test {
namespace {

namespace fs = std::filesystem;

class LexiconCommandsTest : public LexiconTestBase {
 protected:
  LexiconCommandsTest()
      : dir_(fs::temp_directory_path() /
             ("lexicon_commands_test_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::create_directories(dir_);
  }
  ~LexiconCommandsTest() override { fs::remove_all(dir_); }

  // Writes a file in the test folder and returns its path.
  std::string write(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name) << content;
    return path(name);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool exists(const std::string& name) const { return fs::exists(dir_ / name); }

  static Lexicon* named(const char* name) {
    return static_cast<Lexicon*>(get_named_obj(name, "Lexicon", 0));
  }

 private:
  fs::path dir_;
};

TEST_F(LexiconCommandsTest, HelpTexts) {
  struct Case {
    const char* name;
    const char* help;
  } cases[] = {
      {"make-lexicon",
       "(make-lexicon <name> <size>)  <name> is the name of the lexicon, which is accessible as "
       "a named object.  <size> is the size of the internal hashtable"},
      {"lex", "(lex <lexicon>  <entry>  ... ...  <entry>)  Load the entries into <lexicon>."},
      {"load-lex", "(load-lex <lexicon> <file>) --- load entries in <file> into <lexicon>"},
      {"lex-entry",
       "(lex-entry lexicon-name word1 word2 ...) print the entries for word1 word2 ... in the "
       "lexicon"},
      {"clear-lexicon",
       "(clear-lexicon lexicon-name) remove the entries in the lexicon (the disk file is "
       "unchanged)."},
      {"print-lex", "(print-lex <lexicon> [file]) --- print the entries in the lexicon to a file"},
      {"make-str-meaning-proto",
       "(make-str-meaning-proto type) --- define type to be a type of str-meaning."},
      {"make-avmeaning-proto", "No documentation provided"},
      {"select",
       "(select lexp input output) --- select the entries that satisfy the\nexpression lexp and "
       "print it to the output stream."},
      {"diff", "(diff file1 file2 output) --- print different entries in file1 and file2"},
      {"update-lex",
       "(update-lex addendum old-dict new-dict) --- \nnew-dict will consist of entries in "
       "addendum and old-dict entries\nthat are not found in addendum. Both addendum and "
       "old-dict are assumed\nto be sorted"},
      {"combine-lex", "(combine-lex dict1 dict2 new-dict)"},
      {"filter-entries", "(filter-entries <rules> <input> <output>) --- modifies the entries."},
      {"get-entry", "(get-entry dict (word ... word)) --- retrieve words from dict file."},
      {"merge-entries", "(merge-entries <input> <output>) --- merge the entries."},
      {"sort-lex",
       "(sort-lex source destination) sort the entries in source, the results are stored in "
       "destination."},
      {"rm-duplicates",
       "(rm-duplicates source destination) remove the duplicate entries in source, the results "
       "are stored in destination. The source lexicon is assumed to be sorted."},
  };
  for (const Case& c : cases) {
    std::ostringstream listing;
    CmdInterpreter::the_interpreter->list_entries(listing, c.name);
    EXPECT_NE(listing.str().find(std::string(c.name) + "\n" + c.help + "\n\n"), std::string::npos)
        << listing.str();
  }
}

TEST_F(LexiconCommandsTest, MakeLexiconRegistersItAndRefusesBadArguments) {
  run("(make-lexicon cmd-L 51 :encoding UTF8)");
  ASSERT_NE(named("cmd-L"), nullptr);
  EXPECT_EQ(named("CMD-l")->encoding(), Lexicon::kUtf8);
  EXPECT_EQ(err(), "");

  run("(make-lexicon cmd-L 51)");
  EXPECT_EQ(err(), "Duplicate definition of cmd-L\n");
  run("(make-lexicon cmd-bad 0)(make-lexicon cmd-bad)(make-lexicon)");
  EXPECT_EQ(named("cmd-bad"), nullptr);
  EXPECT_EQ(err(),
            "make-lexicon: the size must be a positive number, not 0\n"
            "make-lexicon: expecting (make-lexicon <name> <size>)  <name> is the name of the "
            "lexicon, which is accessible as a named object.  <size> is the size of the "
            "internal hashtable\n"
            "make-lexicon: expecting (make-lexicon <name> <size>)  <name> is the name of the "
            "lexicon, which is accessible as a named object.  <size> is the size of the "
            "internal hashtable\n");
}

TEST_F(LexiconCommandsTest, EndingTableGivenAsListOrByName) {
  run("(make-lexicon cmd-E1 51 :ending-table ((p s plural) (p \"\" bare)))"
      "(lex cmd-E1 (dog (gloss d)))");
  ASSERT_NE(named("cmd-E1"), nullptr);
  EXPECT_STREQ(named("cmd-E1")->getRoot("dogs"), "dog");

  auto* table = new EndingTable;
  std::unique_ptr<Tokenizer> tokenizer = make_command_tokenizer();
  auto defs = make_irslist("((p ies y-plural y))", tokenizer.get());
  table->init(defs.get());
  register_named_obj("cmd-endings", table, "EndingTable", delEndingTable);
  run("(make-lexicon cmd-E2 51 :ending-table cmd-endings)(lex cmd-E2 (pony (gloss p)))");
  EXPECT_EQ(named("cmd-E2")->ending_table(), table);
  EXPECT_STREQ(named("cmd-E2")->getRoot("ponies"), "pony");

  run("(make-lexicon cmd-E3 51 :ending-table no-such-table)");
  EXPECT_EQ(named("cmd-E3")->ending_table(), nullptr);
  EXPECT_NE(err().find("no-such-table"), std::string::npos);
}

TEST_F(LexiconCommandsTest, LexLoadQueryClearAndPrint) {
  write("words.lex", "(cat (gloss animal))\n(dog (gloss one))\n(dog (gloss two))\n");
  run("(make-lexicon cmd-Q 51)"
      "(lex cmd-Q (bird (gloss flies)) (cat (gloss mine)))"
      "(load-lex cmd-Q \"" + path("words.lex") + "\" :no-dup 0)");
  EXPECT_EQ(err(), "");
  run("(lex-entry cmd-Q CAT dog nothing)");
  EXPECT_EQ(out(),
            "(cat\n (gloss mine)\n (gloss animal)\n )\n"
            "(dog\n (gloss one)\n (gloss two)\n )\n");

  run("(load-lex cmd-Q \"" + path("words.lex") + "\")");
  EXPECT_EQ(err(), "Duplicate entry: cat\nDuplicate entry: dog\nDuplicate entry: dog\n");

  run("(print-lex cmd-Q \"" + path("printed.lex") + "\")");
  EXPECT_EQ(read("printed.lex"),
            "(bird\n (gloss flies)\n )\n"
            "(cat\n (gloss mine)\n (gloss animal)\n )\n"
            "(dog\n (gloss one)\n (gloss two)\n )\n");
  run("(clear-lexicon cmd-Q)(print-lex cmd-Q)");
  EXPECT_EQ(out(), "");
  EXPECT_EQ(named("cmd-Q")->size(), 0);
}

TEST_F(LexiconCommandsTest, UnknownLexiconsAndFilesAreReported) {
  run("(lex-entry cmd-none a)(lex cmd-none (a (gloss x)))(clear-lexicon)");
  EXPECT_EQ(err(),
            "The named object 'cmd-none' (type=Lexicon) is not found\n"
            "The named object 'cmd-none' (type=Lexicon) is not found\n"
            "A lexicon name is needed: (clear-lexicon lexicon-name) remove the entries in the "
            "lexicon (the disk file is unchanged).\n");
  run("(make-lexicon cmd-F 11)(load-lex cmd-F \"" + path("missing.lex") + "\")(load-lex cmd-F)");
  EXPECT_EQ(err(), "The file " + path("missing.lex") +
                       " cannot be opened\n"
                       "load-lex: a file name is needed: (load-lex <lexicon> <file>) --- load "
                       "entries in <file> into <lexicon>\n");
  EXPECT_EQ(out(), "");
}

TEST_F(LexiconCommandsTest, FileUtilitiesReadAndWriteNamedFiles) {
  write("a.lex", "(a (m1))\n(b (m2))\n");
  write("b.lex", "(b (m3))\n(c (m4))\n");
  write("unsorted.lex", "(b 1)\n(a 2)\n(a 2)\n");
  const std::string a = path("a.lex"), b = path("b.lex"), u = path("unsorted.lex");
  run("(update-lex \"" + a + "\" \"" + b + "\" \"" + path("update.out") + "\")"
      "(combine-lex \"" + a + "\" \"" + b + "\" \"" + path("combine.out") + "\")"
      "(diff \"" + a + "\" \"" + b + "\" \"" + path("diff.out") + "\")"
      "(sort-lex \"" + u + "\" \"" + path("sorted.out") + "\")"
      "(rm-duplicates \"" + path("sorted.out") + "\" \"" + path("unique.out") + "\")"
      "(merge-entries \"" + b + "\" \"" + path("merged.out") + "\")"
      "(select (head-word) \"" + a + "\" \"" + path("selected.out") + "\")");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(read("update.out"), "(a (m1))\n(b (m2))\n(c (m4))\n");
  EXPECT_EQ(read("combine.out"), "(a (m1))\n(b\n (m2)\n (m3)\n )\n(c (m4))\n");
  EXPECT_EQ(read("diff.out"), "< (a (m1))\n\n< (b (m2))\n> (b (m3))\n\n> (c (m4))\n");
  EXPECT_EQ(read("sorted.out"), "(a 2)\n(a 2)\n(b 1)\n");
  EXPECT_EQ(read("unique.out"), "(a 2)\n(b 1)\n");
  EXPECT_EQ(read("merged.out"), "(b\n (m3)\n )\n(c\n (m4)\n )\n");
  EXPECT_EQ(read("selected.out"), "(a (m1))\n(b (m2))\n");
}

TEST_F(LexiconCommandsTest, FileUtilitiesDoNothingWithoutTheirInputs) {
  write("a.lex", "(a (m1))\n");
  run("(diff \"" + path("a.lex") + "\" \"" + path("none.lex") + "\" \"" + path("diff.out") +
      "\")(sort-lex \"" + path("a.lex") + "\")");
  EXPECT_FALSE(exists("diff.out"));
  EXPECT_EQ(err(), "The file " + path("none.lex") +
                       " cannot be opened\n"
                       "sort-lex: expecting (sort-lex source destination) sort the entries in "
                       "source, the results are stored in destination.\n");
  run("(merge-entries \"" + path("a.lex") + "\" \"" + path("no/such/dir/out") + "\")");
  EXPECT_EQ(out(), "(a\n (m1)\n )\n") << "merge-entries falls back on the standard output";
  EXPECT_NE(err().find("make_ostream: cannot open the file"), std::string::npos);
}

TEST_F(LexiconCommandsTest, FilterEntriesRunsItsExpressionsOnEachEntry) {
  write("in.lex", "(a (gloss x))\n(b (freq N 1))\n");
  run("(filter-entries \"" + path("in.lex") + "\" (t) () (exec-commands (echo entry)))");
  EXPECT_EQ(out(), "entry\nentry\n");
  EXPECT_EQ(err(), "");
}

TEST_F(LexiconCommandsTest, GetEntryReadsADictionaryOnDisk) {
  write("d.dic", "(apple (gloss fruit))\n(\"New York\" (gloss city))\n");
  write("d.hdr", "d.dic 11 d.idx ( )\n");
  run("(get-entry \"" + path("d.hdr") + "\" (APPLE pear \"new york\"))");
  EXPECT_EQ(out(), "(apple (gloss fruit))\n(\"New York\" (gloss city))\n");
  run("(get-entry \"" + path("d.hdr") + "\" apple)");
  EXPECT_EQ(out(), "");
  EXPECT_NE(err().find("get-entry: expecting"), std::string::npos);
}

}  // namespace
}  // namespace lorvan::lexicon_test
