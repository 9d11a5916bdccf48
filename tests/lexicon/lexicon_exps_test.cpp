// The lexicon expressions: head-word, get-root, meaning-type and the avm
// constant.
#include "lexicon/lexicon_exps.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "command/arg_types.h"
#include "lexicon/avmeaning.h"
#include "lexicon/lexicon_fixture.h"
#include "lexicon/str_meaning.h"

namespace lorvan::lexicon_test {
namespace {

class LexiconExpsTest : public LexiconTestBase {
 protected:
  static void* eval(LExp& e, const void* input, const char* type) {
    return e.eval(const_cast<void*>(input), arg_type_id(type));
  }
  static std::string text(void* value) {
    return value != nullptr ? static_cast<const char*>(value) : "(null)";
  }
};

TEST_F(LexiconExpsTest, HeadWordGivesTheKeyOfAnEntryText) {
  std::unique_ptr<LExp> e = LExp::get_exp("(head-word)");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->output_type(), arg_type_id("char*"));
  EXPECT_EQ(text(eval(*e, "(book (avm ((cat n))))", "char*")), "book");
  EXPECT_EQ(text(eval(*e, "(New|York|(gloss c))", "char*")), "New York");
  EXPECT_EQ(text(eval(*e, "(\"a \\\"b\\\"\" (gloss c))", "char*")), "a \"b\"");
  EXPECT_EQ(eval(*e, nullptr, "char*"), nullptr);
  EXPECT_EQ(err(), "");
  EXPECT_EQ(eval(*e, "(x)", "int"), nullptr);
  EXPECT_NE(err().find("head-word received a wrong type of argument"), std::string::npos);
}

TEST_F(LexiconExpsTest, GetRootUsesTheNamedLexicon) {
  run("(make-lexicon exp-L 51 :ending-table ((p s plural) (p ed past)))"
      "(lex exp-L (Walk (gloss v)))");
  std::unique_ptr<LExp> e = LExp::get_exp("(get-root exp-L)");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(text(eval(*e, "walks", "char*")), "Walk");
  EXPECT_EQ(text(eval(*e, "walked", "char*")), "Walk");
  EXPECT_EQ(text(eval(*e, "talks", "char*")), "talks");
  EXPECT_EQ(eval(*e, nullptr, "char*"), nullptr);
  EXPECT_EQ(err(), "");

  std::unique_ptr<LExp> missing = LExp::get_exp("(get-root exp-none)");
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(err(), "The named object 'exp-none' (type=Lexicon) is not found\n");
  EXPECT_EQ(eval(*missing, "walks", "char*"), nullptr);
  std::unique_ptr<LExp> bare = LExp::get_exp("(get-root)");
  EXPECT_EQ(err(), "get-root: expecting (get-root lexicon-name)\n");
}

TEST_F(LexiconExpsTest, MeaningTypeNamesTheKind) {
  std::unique_ptr<LExp> e = LExp::get_exp("(meaning-type)");
  ASSERT_NE(e, nullptr);
  auto lexicon = lexicon_of("(w (avm ((cat n))) (gloss x) (freq N 1) (phrases (w v)))");
  std::string kinds;
  for (const auto& m : lexicon->search_entry("w")->meanings()) {
    kinds += text(eval(*e, m.get(), "Meaning*")) + " ";
  }
  EXPECT_EQ(kinds, "avm gloss freq phrases ");
  EXPECT_EQ(eval(*e, nullptr, "Meaning*"), nullptr);
}

TEST_F(LexiconExpsTest, AvmConstantMakesAMeaningOnce) {
  std::unique_ptr<LExp> e = LExp::get_exp("(avm avm ((cat v) (num pl)))");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->output_type(), arg_type_id("Meaning*"));
  auto* m = static_cast<Meaning*>(eval(*e, nullptr, "void*"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(eval(*e, "anything", "char*"), m);
  std::ostringstream printed;
  m->print(printed);
  EXPECT_EQ(printed.str(), "(avm ((cat v) (num pl)))");

  std::unique_ptr<LExp> copy = LExp::make_copy(e.get());
  e.reset();
  EXPECT_EQ(eval(*copy, nullptr, "void*"), m) << "copies share the meaning";

  std::unique_ptr<LExp> gloss = LExp::get_exp("(avm gloss some text)");
  ASSERT_NE(gloss, nullptr);
  EXPECT_STREQ(static_cast<StrMeaning*>(eval(*gloss, nullptr, "void*"))->text(), "some text");

  std::unique_ptr<LExp> unknown = LExp::get_exp("(avm nosuch x)");
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(eval(*unknown, nullptr, "void*"), nullptr);
  EXPECT_EQ(err(), "");
}

}  // namespace
}  // namespace lorvan::lexicon_test
