// The meaning kinds: attribute vectors, texts, frequency counts and phrase
// lists; the "Meaning" maker; word frequencies.
#include "lexicon/meaning.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "lexicon/avmeaning.h"
#include "lexicon/freq_meaning.h"
#include "lexicon/lexicon_fixture.h"
#include "lexicon/phrase_meaning.h"
#include "lexicon/str_meaning.h"

namespace lorvan::lexicon_test {
namespace {

class MeaningTest : public LexiconTestBase {
 protected:
  // The first meaning of the entry written as "(w " + meaning + ")".
  Meaning* meaning(const std::string& text) {
    lexicon_ = lexicon_of("(w " + text + ")");
    LexEntry* e = lexicon_->search_entry("w");
    return e != nullptr && e->meaning_count() > 0 ? e->meanings()[0].get() : nullptr;
  }
  // Another entry's first meaning, kept alive with the first.
  Meaning* other(const std::string& text) {
    auto lexicon = lexicon_of("(v " + text + ")");
    others_.push_back(std::move(lexicon));
    LexEntry* e = others_.back()->search_entry("v");
    return e != nullptr && e->meaning_count() > 0 ? e->meanings()[0].get() : nullptr;
  }
  static std::string printed(const Meaning* m) {
    std::ostringstream s;
    m->print(s);
    return s.str();
  }

  std::unique_ptr<Lexicon> lexicon_;
  std::vector<std::unique_ptr<Lexicon>> others_;
};

// ---- Attribute-vector meanings ----

TEST_F(MeaningTest, AVMeaningReadsPrintsAndCopies) {
  Meaning* m = meaning("(avm ((cat n) (num sg)))");
  ASSERT_NE(m, nullptr);
  EXPECT_STREQ(m->type_name(), "avm");
  EXPECT_EQ(printed(m), "(avm ((cat n) (num sg)))");
  AVMeaning* avm = AVMeaning::castToAVMeaning(m);
  ASSERT_NE(avm, nullptr);
  EXPECT_EQ(avm->owner(), lexicon_->search_entry("w"));

  std::unique_ptr<Meaning> copy(m->duplicate());
  EXPECT_EQ(copy->owner(), m->owner());
  EXPECT_EQ(printed(copy.get()), printed(m));
  AVMeaning::castToAVMeaning(copy.get())->vec().init();
  EXPECT_EQ(printed(m), "(avm ((cat n) (num sg)))") << "the copy has its own vector";
}

TEST_F(MeaningTest, AVMeaningComparesAndUnifiesVectors) {
  struct Case {
    const char* a;
    const char* b;
    int cmp;
    int consistent;
  } cases[] = {
      {"(avm ((cat n)))", "(avm ((cat n)))", 0, 1},
      {"(avm ((cat n) (num sg)))", "(avm ((cat n)))", 1, 1},
      {"(avm ((cat n)))", "(avm ((cat n) (num sg)))", -1, 1},
      {"(avm ((cat n)))", "(avm ((cat v)))", 2, 0},
      {"(avm ((cat n)))", "(gloss n)", -2, 0},
  };
  for (const Case& c : cases) {
    Meaning* a = meaning(c.a);
    Meaning* b = other(c.b);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->cmp(*b), c.cmp) << c.a << " vs " << c.b;
    EXPECT_EQ(a->consistent(*b) != 0, c.consistent != 0) << c.a << " vs " << c.b;
  }
}

TEST_F(MeaningTest, OnlyVectorMeaningsCastToAVMeaning) {
  EXPECT_EQ(AVMeaning::castToAVMeaning(meaning("(gloss x)")), nullptr);
  EXPECT_EQ(AVMeaning::castToAVMeaning(static_cast<Meaning*>(nullptr)), nullptr);
  StrMeaning named_avm("avm");  // a text meaning that a file called "avm"
  EXPECT_EQ(AVMeaning::castToAVMeaning(&named_avm), nullptr);
}

TEST_F(MeaningTest, MakeAVMeaningProtoChecksItsArguments) {
  run("(make-avmeaning-proto lxt)");
  EXPECT_NE(err().find("make-avmeaning-proto: expecting"), std::string::npos);
  run("(make-avmeaning-proto no-such-type noun2)");
  EXPECT_NE(err().find("no-such-type"), std::string::npos);
  EXPECT_EQ(Meaning::maker()->prototype("noun2"), nullptr);

  run("(make-avmeaning-proto lxt noun)");
  EXPECT_EQ(err(), "");
  Meaning* m = meaning("(noun ((cat n)))");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(printed(m), "(avm ((cat n)))") << "printed under the kind's own name";
}

// ---- Text meanings ----

TEST_F(MeaningTest, StrMeaningKeepsTheRestOfTheListOnOneLine) {
  Meaning* m = meaning("(gloss a (b c) \"d e\")");
  ASSERT_NE(m, nullptr);
  EXPECT_STREQ(m->type_name(), "gloss");
  EXPECT_STREQ(static_cast<StrMeaning*>(m)->text(), "a (b c) \"d e\"");
  EXPECT_EQ(printed(m), "(gloss a (b c) \"d e\")");
}

TEST_F(MeaningTest, StrMeaningComparesTexts) {
  run("(make-str-meaning-proto note)");
  EXPECT_EQ(meaning("(gloss a b)")->cmp(*other("(gloss a b)")), 0);
  EXPECT_EQ(meaning("(gloss a b)")->cmp(*other("(gloss a c)")), 2);
  EXPECT_EQ(meaning("(gloss a b)")->cmp(*other("(note a b)")), -2);
  EXPECT_EQ(meaning("(gloss a)")->consistent(*other("(gloss a)")), 1);
  StrMeaning empty("gloss");
  EXPECT_EQ(empty.cmp(*meaning("(gloss)")), 2) << "(gloss) has an empty text";
  EXPECT_EQ(empty.cmp(StrMeaning("gloss")), 0);
}

TEST_F(MeaningTest, MakeStrMeaningProtoTakesExactlyOneName) {
  run("(make-str-meaning-proto)(make-str-meaning-proto a b)");
  EXPECT_EQ(err(),
            "make-str-meaning-proto: expecting (make-str-meaning-proto type) --- define type to "
            "be a type of str-meaning.\n"
            "make-str-meaning-proto: expecting (make-str-meaning-proto type) --- define type to "
            "be a type of str-meaning.\n");
  run("(make-str-meaning-proto gloss)");
  EXPECT_EQ(err(), "Duplicate definition of gloss\n");
}

// ---- Frequencies ----

TEST_F(MeaningTest, FreqReadsPairsOrReportsAnOddCount) {
  struct Case {
    const char* text;
    const char* printed;
    int size;
    const char* message;
  } cases[] = {
      {"(freq N 10 V 2)", "(freq N 10 V 2)", 2, ""},
      {"(freq N 2.5)", "(freq N 2.5)", 1, ""},
      {"(freq)", "(freq )", 0, ""},
      {"(freq N 10 V)", "(freq )", 0, "Incorrect format for (freq ...)"},
  };
  for (const Case& c : cases) {
    Meaning* m = meaning(c.text);
    ASSERT_NE(m, nullptr) << c.text;
    EXPECT_EQ(printed(m), c.printed);
    EXPECT_EQ(static_cast<FreqMN*>(m)->size(), c.size) << c.text;
    EXPECT_EQ(err(), c.message) << c.text;
    std::unique_ptr<Meaning> copy(m->duplicate());
    EXPECT_EQ(printed(copy.get()), c.printed);
  }
}

TEST_F(MeaningTest, FreqCountFindsTheFirstPairOfTheName) {
  auto lexicon = lexicon_of("(w (gloss x) (freq N 10 v 2 V 7)) (bare (gloss y))");
  const LexEntry* w = lexicon->search_entry("w");
  struct Case {
    const LexEntry* entry;
    const char* name;
    bool found;
    float count;
  } cases[] = {
      {w, "N", true, 10}, {w, "n", true, 10},  {w, "V", true, 2},  {w, "adj", false, -1},
      {w, nullptr, false, -1}, {nullptr, "N", false, -1},
      {lexicon->search_entry("bare"), "N", false, -1},
  };
  for (const Case& c : cases) {
    float out = -1;
    EXPECT_EQ(freq_count(c.entry, c.name, out), c.found) << (c.name ? c.name : "null");
    EXPECT_EQ(out, c.count) << (c.name ? c.name : "null");
  }
}

TEST_F(MeaningTest, FreqWeightTruncatesTowardZero) {
  auto lexicon = lexicon_of("(w (freq a 2.9 b -1.5 c 1e30 d -1e30))");
  const LexEntry* w = lexicon->search_entry("w");
  EXPECT_EQ(freq_weight(w, "a", 18), 2);
  EXPECT_EQ(freq_weight(w, "b", 18), -1);
  EXPECT_EQ(freq_weight(w, "none", 18), 18);
  EXPECT_EQ(freq_weight(nullptr, "a", 18.7f), 18);
  EXPECT_EQ(freq_weight(w, "c", 0), std::numeric_limits<int>::max());
  EXPECT_EQ(freq_weight(w, "d", 0), std::numeric_limits<int>::min());
}

// ---- Phrase lists ----

TEST_F(MeaningTest, PhrasesMeaningRecordsPhrasesInItsEntry) {
  auto lexicon = lexicon_of("(w (phrases (w x) (W X) (w , v) atom))");
  const LexEntry* w = lexicon->search_entry("w");
  ASSERT_EQ(w->phrases().size(), 2u);
  EXPECT_STREQ(w->phrases()[0]->text(), "w x");
  EXPECT_STREQ(w->phrases()[1]->text(), "w, v");
  EXPECT_EQ(w->phrases()[1]->before(), 1);
  ASSERT_EQ(w->meaning_count(), 1);
  EXPECT_EQ(printed(w->meanings()[0].get()), "(phrases )");
  PhraseMeaning free_standing;
  free_standing.initialize(nullptr);  // no owner, nothing to do
}

// ---- The maker and the base kind ----

TEST_F(MeaningTest, MakeMeaningNeedsAKnownTypeAtom) {
  std::unique_ptr<Tokenizer> t = make_command_tokenizer();
  std::unique_ptr<IRSlist> unknown = make_irslist("(nosuch a b)", t.get());
  EXPECT_EQ(Meaning::make_meaning(unknown.get()), nullptr);
  EXPECT_EQ(unknown->length(), 3) << "nothing is removed";
  std::unique_ptr<IRSlist> list_first = make_irslist("((gloss) a)", t.get());
  EXPECT_EQ(Meaning::make_meaning(list_first.get()), nullptr);
  EXPECT_EQ(Meaning::make_meaning(nullptr), nullptr);
  EXPECT_EQ(err(), "");

  std::unique_ptr<IRSlist> gloss = make_irslist("(gloss a b)", t.get());
  std::unique_ptr<Meaning> m(Meaning::make_meaning(gloss.get()));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(gloss->length(), 2) << "the type atom is consumed";
  EXPECT_EQ(static_cast<StrMeaning*>(m.get())->text(), nullptr) << "not initialized yet";
}

class Plain : public Meaning {
 public:
  const char* type_name() const override { return "plain"; }
  Meaning* duplicate() const override { return new Plain(*this); }
};

class Other : public Plain {
 public:
  const char* type_name() const override { return "other"; }
};

TEST_F(MeaningTest, BaseComparisonIsIdentity) {
  Plain a, b;
  Other c;
  EXPECT_EQ(a.cmp(a), 0);
  EXPECT_NE(a.cmp(b), 0);
  EXPECT_NE(a.cmp(b), -2);
  EXPECT_EQ(a.cmp(c), -2);
  EXPECT_EQ(a.consistent(a), 1);
  EXPECT_EQ(a.consistent(b), 0);
  EXPECT_EQ(printed(&a), "(plain )");
}

TEST_F(MeaningTest, EntryMeaningsAreFoundAndDeletedByType) {
  auto lexicon = lexicon_of("(w (gloss a) (freq N 1) (gloss b))");
  LexEntry* w = lexicon->search_entry("w");
  Meaning* first = w->get_meaning("gloss");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(printed(first), "(gloss a)");
  EXPECT_EQ(w->get_meaning("GLOSS"), nullptr) << "type names compare exactly";
  w->del_meaning(first);
  EXPECT_EQ(printed(w->get_meaning("gloss")), "(gloss b)");
  Plain stranger;
  w->del_meaning(&stranger);
  EXPECT_EQ(w->meaning_count(), 2);
}

}  // namespace
}  // namespace lorvan::lexicon_test
