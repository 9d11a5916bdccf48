// The binary form of dependency structures: its bytes, pack -> unpack
// giving an equal structure, and truncated or damaged forms.
#include "deptree/deps_binary.h"

#include <gtest/gtest.h>

#include <string>

#include "byte_reader.h"
#include "deptree/deps.h"
#include "deptree/deps_test_fixture.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan::testing_deps {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::string packed(const Deps& deps) {
  StrBufs buffer(64);
  deps.pack(buffer);
  return std::string(buffer.str(), buffer.length());
}

// Unpacks `bytes` into `deps`; whether it succeeded.
bool unpacked(Deps& deps, const std::string& bytes) {
  const char* cursor = bytes.data();
  return deps.unpack(cursor, bytes.data() + bytes.size());
}

std::string text_of(const char* s) { return s != nullptr ? s : "<null>"; }

// Why two structures differ, or "" when they hold the same words and trees
// (names, properties, weights, spaces and the letter case of roots equal to
// their words are not part of the binary form).
std::string difference(const Deps& a, const Deps& b) {
  if (a.sentleng() != b.sentleng()) return "sentence length";
  for (int i = 1; i < a.sentleng(); ++i) {
    if (std::string(a.word(i)) != b.word(i)) return "word " + std::to_string(i);
  }
  if ((a.tree() == nullptr) != (b.tree() == nullptr)) return "tree";
  const DepTree* x = a.tree();
  const DepTree* y = b.tree();
  while (x != nullptr && y != nullptr) {
    const std::string where = " at node of pos " + std::to_string(x->pos());
    if (x->pos() != y->pos() || x->low() != y->low() || x->high() != y->high()) {
      return "span" + where;
    }
    if (text_of(x->raw_cat()) != text_of(y->raw_cat())) return "category" + where;
    if (text_of(x->rel()) != text_of(y->rel())) return "relation" + where;
    // A root equal to the word but for letter case is stored as the word.
    if (strcasecmp(text_of(x->root()).c_str(), text_of(y->root()).c_str()) != 0) {
      return "root" + where;
    }
    if (x->after_head() != y->after_head()) return "after-head flag" + where;
    if (x->length() != y->length()) return "dependents" + where;
    if ((x->attvec() == nullptr) != (y->attvec() == nullptr) ||
        (x->attvec() != nullptr && x->attvec()->cmp(*y->attvec()) != 0)) {
      return "attributes" + where;
    }
    x = next_in_subtree(x, a.tree());
    y = next_in_subtree(y, b.tree());
  }
  return x == y ? "" : "tree shape";
}

class DepsBinaryTest : public DepsTest {};

TEST_F(DepsBinaryTest, NodesArePackedCompactly) {
  Deps deps;
  deps.read("(:id x (a ~ X *))");
  EXPECT_EQ(packed(deps), std::string("\x00\x02"          // 2 word entries
                                      "\x00"              // entry 0
                                      "a\x00"             // word 1
                                      "\x01\xff\x00\x01"  // top: pos -1 in one byte, 1 dependent
                                      "\x03\x01X\x00"     // a: pos 1, category X
                                      "\x00\x00",         // no dependents
                                      15));
  // A span of two words, a relation and a root of its own.
  Deps wide;
  wide.add_word("New");
  wide.add_word("York");
  DepTree* city = wide.new_node();
  city->init(2, "r");
  city->low(1);
  city->root("NY");
  wide.init(city);
  EXPECT_EQ(packed(wide).substr(16), std::string("\x0c"                      // relation, root
                                                 "\x00\x01\x00\x02\x00\x02"  // low, high, pos
                                                 "r\x00NY\x00"
                                                 "\x00\x00",
                                                 14));
  Deps none;
  EXPECT_EQ(packed(none), std::string("\x00\x00", 2));
}

TEST_F(DepsBinaryTest, UnpackingGivesAnEqualStructure) {
  std::string many = "(:id long";
  for (int i = 0; i < 140; ++i) many += " (w ~ X *)";
  many += " (last ~ X >>>>>>>>>> w))";
  struct Case {
    const char* label;
    std::string text;
  };
  const Case cases[] = {
      {"a sentence with a trace",
       "(:id a 1 (Who ~ WP < saw obj) 2 (did do VBD *) 3 (you ~ PRP < saw subj)"
       " 4 (saw see VB > did vc) E5 (() ~ NP > saw obj (ante 1)) 5 (? ~ . > did punc))"},
      {"roots equal to the word but for case, and roots of their own",
       "(:id b (Dogs dogs NNS < run) (run RUN VB *) (fast quick RB > run adv))"},
      {"positions beyond one byte", many},
      {"an empty node above words", "(:id c E1 (() PRO NP *) 1 (rain ~ VB - E1 pred) (here))"},
      {"attribute vectors",
       "(:id d (dogs dog NNS * (atts (+plu (per 3) (num pl)))) (bark ~ VB > dogs (atts ())))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Deps original(agr());
    CaptureStderr();
    original.read(c.text.c_str());
    EXPECT_EQ(GetCapturedStderr(), "");
    const std::string bytes = packed(original);
    Deps copy(agr());
    ASSERT_TRUE(unpacked(copy, bytes));
    EXPECT_EQ(difference(original, copy), "");
    EXPECT_EQ(packed(copy), bytes);
  }
}

TEST_F(DepsBinaryTest, UnpackedWordsAreSeparatedByBlanks) {
  Deps original;
  original.read("(:id s (Don do VB *) :nogap ('t not RB > Don neg))");
  Deps copy;
  ASSERT_TRUE(unpacked(copy, packed(original)));
  EXPECT_STREQ(copy.space(2), " ");
  EXPECT_STREQ(copy.words(1, 2), "Don 't");
}

TEST_F(DepsBinaryTest, EveryTruncationIsReportedAndLeavesTheStructureEmpty) {
  Deps original(agr());
  original.read(
      "(:id t (big ~ JJ < dogs mod) (dogs dog NNS * (atts (+plu (num pl)))) E1 (() ~ T > dogs))");
  const std::string bytes = packed(original);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE(n);
    Deps copy(agr());
    CaptureStderr();
    EXPECT_FALSE(unpacked(copy, bytes.substr(0, n)));
    EXPECT_NE(GetCapturedStderr(), "");
    EXPECT_EQ(copy.tree(), nullptr);
    EXPECT_EQ(copy.sentleng(), 0);
  }
}

TEST_F(DepsBinaryTest, DamagedFormsAreReported) {
  struct Case {
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {std::string("\x00\x01\x00\x41\xff\x00\x00", 7),
       "Deps::unpack: the binary form is damaged\n"},  // unknown flag bits
      {std::string("\xff\xff", 2), "Deps::unpack: the binary form is damaged\n"},  // too many words
      {std::string("\x00\x02\x00" "abc", 6), "Deps::unpack: the binary form is truncated\n"},
  };
  for (const Case& c : cases) {
    Deps deps;
    CaptureStderr();
    EXPECT_FALSE(unpacked(deps, c.bytes));
    EXPECT_EQ(GetCapturedStderr(), c.message);
    EXPECT_EQ(deps.tree(), nullptr);
  }
}

TEST_F(DepsBinaryTest, ACursorMovesPastOneFormOnly) {
  Deps first;
  first.read("(:id a (one ~ X *))");
  Deps second;
  second.read("(:id b (two ~ Y *) (more ~ Z > two))");
  const std::string bytes = packed(first) + packed(second);
  const char* cursor = bytes.data();
  const char* end = bytes.data() + bytes.size();
  Deps a;
  Deps b;
  ASSERT_TRUE(a.unpack(cursor, end));
  ASSERT_TRUE(b.unpack(cursor, end));
  EXPECT_EQ(cursor, end);
  EXPECT_EQ(difference(a, first), "");
  EXPECT_EQ(difference(b, second), "");
}

TEST_F(DepsBinaryTest, AVectorWithoutTypeEndsTheProgram) {
  Deps original(agr());
  original.read("(:id v (dogs dog NNS * (atts (+plu))))");
  const std::string bytes = packed(original);
  EXPECT_EXIT(
      {
        Deps untyped;
        unpacked(untyped, bytes);
      },
      ::testing::ExitedWithCode(1), "The type of AttVec in dependency tree is not defined\n");
}

}  // namespace
}  // namespace lorvan::testing_deps
