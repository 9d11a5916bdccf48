// Property lists: order, look-up, replacement, removal, printing and
// reading entries back.
#include "deptree/prop_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "deptree/builtin_val_types.h"
#include "deptree/val_type.h"
#include "expr/lexp.h"

namespace lorvan {
namespace {

// Value types of the properties used here, registered once for the whole
// program: "pl-s" strings, "pl-i" integers, "pl-l" string lists; "pl-u" is a
// known name without a value type.
class PropListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ValType::add_val_type("pl-s", &strs_, strs_.pointer_type());
    ValType::add_val_type("pl-i", &ints_, ints_.pointer_type());
    ValType::add_val_type("pl-l", &lists_, lists_.pointer_type());
    ValType::get_id("pl-u");
  }

  static int id(const char* name) { return ValType::get_existing_id(name); }
  static void* str(const char* text) { return const_cast<char*>(StrValue::get_str(text)); }

  static std::string printed(const PropList& list) {
    std::ostringstream out;
    list.print(out);
    return out.str();
  }

  // The list read back from `text` with PropList::init.
  static std::string read_back(const char* text) {
    auto tokenizer = make_command_tokenizer();
    auto parsed = make_irslist(text, tokenizer.get());
    PropList list;
    list.init(parsed.get());
    return printed(list);
  }

  static inline StrValue strs_;
  static inline IntValue ints_;
  static inline StrListValue lists_;
};

TEST_F(PropListTest, EntriesStayInAscendingOrderOfId) {
  PropList list;
  list.add_propval(PropVal(id("pl-l"), nullptr, 0));
  list.add_propval(PropVal(id("pl-s"), str("a"), 0));
  list.add_propval(PropVal(id("pl-i"), int_to_value(3), 0));
  list.add_propval(PropVal(id("pl-s"), str("b"), 0));
  ASSERT_EQ(list.length(), 4);
  for (int i = 1; i < list.length(); ++i) EXPECT_LE(list[i - 1].id, list[i].id);
  EXPECT_EQ(list.get_val(id("pl-s")), str("b"));  // newest of the id first
  EXPECT_EQ(value_to_int(list.get_val(id("pl-i"))), 3);
  EXPECT_EQ(list.get_val(id("pl-u")), nullptr);
}

TEST_F(PropListTest, SearchFindsTheFirstEntryOrTheInsertionPoint) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("a"), 0));
  list.add_propval(PropVal(id("pl-s"), str("b"), 0));
  list.add_propval(PropVal(id("pl-l"), nullptr, 0));
  int pos = -1;
  EXPECT_EQ(list.search(id("pl-s"), pos), 1);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(list.search(PropVal(id("pl-s"), str("a"), 0), pos), 1);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(list.search(PropVal(id("pl-s"), str("c"), 0), pos), 0);
  EXPECT_EQ(list.search(id("pl-i"), pos), 0);
  EXPECT_EQ(pos, 2);  // between the strings and the list
  EXPECT_EQ(list.search(0, pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST_F(PropListTest, TheSameValueIsStoredOnceWithTheNewerWeight) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("v"), 0.5f));
  list.add_propval(PropVal(id("pl-s"), str("v"), 0.25f));
  ASSERT_EQ(list.length(), 1);
  EXPECT_EQ(list[0].weight, 0.25f);
  list.add_propval(PropVal(id("pl-s"), str("w"), 0));
  EXPECT_EQ(printed(list), " (pl-s w) (pl-s v 0.25)");
}

TEST_F(PropListTest, StringValuesAreStoredInternedSoLetterCaseDoesNotMatter) {
  PropList list;
  std::string first = "Mixed";
  std::string second = "MIXED";
  list.add_propval(PropVal(id("pl-s"), first.data(), 0));
  list.add_propval(PropVal(id("pl-s"), second.data(), 0));
  ASSERT_EQ(list.length(), 1);
  first = "xxxxx";  // the list holds its own copy
  EXPECT_STREQ(static_cast<const char*>(list.get_val(id("pl-s"))), "Mixed");
}

TEST_F(PropListTest, ListValuesAreCopiedAndFreedByTheList) {
  auto* given = static_cast<StrListValue::List*>(lists_.make_atom_val("x"));
  {
    PropList list;
    list.add_propval(PropVal(id("pl-l"), given, 0));
    list.add_propval(PropVal(id("pl-l"), given, 0));  // copies are never the same value
    EXPECT_EQ(list.length(), 2);
    EXPECT_NE(list.get_val(id("pl-l")), given);
    lists_.del(given);
    EXPECT_EQ(printed(list), " (pl-l \"(x)\") (pl-l \"(x)\")");
    EXPECT_EQ(list.del_prop(id("pl-l")), 1);  // frees both copies
    EXPECT_EQ(list.length(), 0);
    void* y = lists_.make_atom_val("y");
    list.add_propval(PropVal(id("pl-l"), y, 0));
    lists_.del(y);
  }  // the destructor frees the stored copy; the sanitizer checks all of it
}

TEST_F(PropListTest, DelPropRemovesEveryEntryOfTheId) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("a"), 0));
  list.add_propval(PropVal(id("pl-i"), int_to_value(1), 0));
  list.add_propval(PropVal(id("pl-s"), str("b"), 0));
  EXPECT_EQ(list.del_prop(id("pl-s")), 1);
  EXPECT_EQ(list.del_prop(id("pl-s")), 0);
  ASSERT_EQ(list.length(), 1);
  EXPECT_EQ(list[0].id, id("pl-i"));
}

TEST_F(PropListTest, GetValsAppendsTheEntriesOfTheIdInOrder) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("a"), 0.5f));
  list.add_propval(PropVal(id("pl-i"), int_to_value(1), 0));
  list.add_propval(PropVal(id("pl-s"), str("b"), 0));
  TSlist<PropVal> out;
  out.append(PropVal(id("pl-u"), nullptr, 0));  // appended to, not replaced
  EXPECT_EQ(list.get_vals(id("pl-s"), out), 2);
  ASSERT_EQ(out.length(), 3);
  std::vector<const void*> values;
  for (const PropVal& e : out) values.push_back(e.value);
  EXPECT_EQ(values, (std::vector<const void*>{nullptr, str("b"), str("a")}));
  EXPECT_EQ(list.get_vals(id("pl-l"), out), 0);
}

TEST_F(PropListTest, ValChecksTheRequestedType) {
  const PropVal s(id("pl-s"), str("a"), 0);
  const PropVal u(id("pl-u"), str("a"), 0);
  EXPECT_EQ(s.val(-1), str("a"));
  EXPECT_EQ(s.val(arg_type_id("char*")), str("a"));
  EXPECT_EQ(s.val(arg_type_id("int")), nullptr);
  EXPECT_EQ(u.val(-1), str("a"));
  EXPECT_EQ(u.val(arg_type_id("char*")), nullptr);
}

TEST_F(PropListTest, PrintWritesTypedEntriesWithNonZeroWeights) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("Foo"), 0.5f));
  list.add_propval(PropVal(id("pl-i"), int_to_value(-12), 0));
  list.add_propval(PropVal(id("pl-u"), str("hidden"), 1));
  EXPECT_EQ(printed(list), " (pl-s Foo 0.5) (pl-i -12)");
}

TEST_F(PropListTest, PrintedValuesAreQuotedOnceMore) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("a b"), 0));
  auto tokenizer = make_command_tokenizer();
  auto words = make_irslist("(a \"b c\")", tokenizer.get());
  void* l = lists_.make_val(words.get());
  list.add_propval(PropVal(id("pl-l"), l, 0));
  lists_.del(l);
  EXPECT_EQ(printed(list), " (pl-s \"\\\"a b\\\"\") (pl-l \"(a \\\"b c\\\")\")");
}

TEST_F(PropListTest, InitReadsTypedEntriesInTheOrderWritten) {
  struct Case {
    const char* text;
    const char* printed;
  };
  const std::vector<Case> cases = {
      {"((pl-s Foo 0.5) (pl-i 7))", " (pl-s Foo 0.5) (pl-i 7)"},
      // entries of one id keep the order written; ids are kept in order
      {"((pl-i 2) (pl-s a) (pl-s b))", " (pl-s a) (pl-s b) (pl-i 2)"},
      // list values are read as they stand
      {"((pl-l (a b) 2))", " (pl-l \"(a b)\" 2)"},
      // unknown, untyped, valueless, atom and textless elements are skipped
      {"(name (pl-u x) (pl-never-seen x) (pl-s) ((pl-s) x) () (pl-i 4))", " (pl-i 4)"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_back(c.text), c.printed) << c.text;
}

TEST_F(PropListTest, PrintedEntriesReadBack) {
  PropList list;
  list.add_propval(PropVal(id("pl-s"), str("x1"), 0.25f));
  list.add_propval(PropVal(id("pl-s"), str("x2"), 0));
  list.add_propval(PropVal(id("pl-i"), int_to_value(99), 1.5f));
  const std::string text = printed(list);
  EXPECT_EQ(read_back(("(" + text + ")").c_str()), text);
}

TEST_F(PropListTest, LookUpsStayCorrectAfterInit) {
  auto tokenizer = make_command_tokenizer();
  auto parsed = make_irslist("((pl-l (z)) (pl-i 5) (pl-s q))", tokenizer.get());
  PropList list;
  list.init(parsed.get());
  EXPECT_EQ(value_to_int(list.get_val(id("pl-i"))), 5);
  EXPECT_EQ(list.get_val(id("pl-s")), str("q"));
  EXPECT_NE(list.get_val(id("pl-l")), nullptr);
}

}  // namespace
}  // namespace lorvan
