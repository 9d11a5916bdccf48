// The property-name registry and the built-in value types.
#include "deptree/val_type.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "deptree/builtin_val_types.h"
#include "expr/lexp.h"

namespace lorvan {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// Reads one S-expression; its atoms live in the tokenizer kept beside it.
struct Parsed {
  explicit Parsed(const char* text)
      : tokenizer(make_command_tokenizer()), list(make_irslist(text, tokenizer.get())) {}
  std::unique_ptr<Tokenizer> tokenizer;
  std::unique_ptr<IRSlist> list;
};

// make_val() of `args`, printed with toString(), the value then freed.
std::string read_and_print(ValType& type, const char* args) {
  Parsed p(args);
  void* v = type.make_val(p.list.get());
  std::string text = type.toString(v);
  type.del(v);
  return text;
}

TEST(BuiltinValTypes, ReadAndPrintValues) {
  IntValue ints;
  StrValue strs;
  StrListValue lists;
  struct Case {
    ValType* type;
    const char* args;
    const char* printed;
  };
  const std::vector<Case> cases = {
      {&ints, "(42)", "42"},
      {&ints, "(-7 9)", "-7"},  // only the first argument counts
      {&ints, "(abc)", "0"},
      {&strs, "(Foo bar)", "Foo"},
      {&strs, "(\"a b\")", "\"a b\""},
      {&strs, "(\"\")", "\"\""},
      {&lists, "(a \"b c\" d)", "(a \"b c\" d)"},
      {&lists, "(a (b c) () d)", "(a d)"},  // arguments without text are left out
      {&lists, "()", "()"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_and_print(*c.type, c.args), c.printed) << c.args;
}

TEST(BuiltinValTypes, PointerTypes) {
  EXPECT_STREQ(IntValue().pointer_type(), "int");
  EXPECT_STREQ(StrValue().pointer_type(), "char*");
  EXPECT_STREQ(StrListValue().pointer_type(), "TSlist<const char*>*");
}

TEST(BuiltinValTypes, IntValueWithoutTextReportsAndGivesZero) {
  IntValue ints;
  CaptureStderr();
  void* v = ints.make_atom_val(nullptr);
  EXPECT_EQ(GetCapturedStderr(), "IRSlist::get_long_val expecting a string\n");
  EXPECT_EQ(value_to_int(v), 0);
}

TEST(BuiltinValTypes, StringsAreInternedWithTheFirstSpelling) {
  const char* first = StrValue::get_str("InternMe");
  EXPECT_STREQ(first, "InternMe");
  EXPECT_EQ(StrValue::get_str("INTERNME"), first);
  EXPECT_EQ(StrValue::get_str(nullptr), nullptr);

  StrValue strs;
  std::string local = "interNME";
  EXPECT_EQ(strs.copy_val(local.data()), first);
  EXPECT_EQ(strs.make_atom_val("internme"), first);
  EXPECT_EQ(strs.make_atom_val(nullptr), nullptr);
}

TEST(BuiltinValTypes, StringListCopiesAreIndependent) {
  StrListValue lists;
  void* original = lists.make_atom_val("x");
  void* copy = lists.copy_val(original);
  ASSERT_NE(copy, original);
  lists.del(original);  // the copy must not depend on it
  auto* list = static_cast<StrListValue::List*>(copy);
  ASSERT_EQ(list->length(), 1);
  EXPECT_EQ(list->first(), StrValue::get_str("x"));
  EXPECT_STREQ(lists.toString(copy), "(x)");
  lists.del(copy);
  EXPECT_EQ(lists.copy_val(nullptr), nullptr);
}

// ---- Registry ----

TEST(ValTypeRegistry, NamesGetIdsInOrderOfFirstUseIgnoringCase) {
  EXPECT_EQ(ValType::get_existing_id("reg-first"), 0);
  const int first = ValType::get_id("reg-first");
  const int second = ValType::get_id("reg-second");
  EXPECT_GT(first, 0);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(ValType::get_id("REG-FIRST"), first);
  EXPECT_EQ(ValType::get_existing_id("Reg-Second"), second);
  EXPECT_STREQ(ValType::name(first), "reg-first");
  EXPECT_EQ(ValType::get_id(nullptr), 0);
  EXPECT_EQ(ValType::get_existing_id(nullptr), 0);
}

TEST(ValTypeRegistry, NamesWithoutValueTypeHaveNone) {
  const int untyped = ValType::get_id("reg-untyped-far-beyond");
  EXPECT_EQ(ValType::val_type(untyped), nullptr);
  EXPECT_EQ(ValType::type_id(untyped), 0);
  EXPECT_EQ(ValType::val_type(0), nullptr);
  EXPECT_EQ(ValType::val_type(-3), nullptr);
  EXPECT_EQ(ValType::val_type(1 << 20), nullptr);
  EXPECT_EQ(ValType::type_id(1 << 20), 0);
}

TEST(ValTypeRegistry, AddValTypeSetsAndReplacesTheType) {
  StrValue a;
  StrValue b;
  ASSERT_TRUE(ValType::add_val_type("reg-typed", &a, a.pointer_type()));
  const int id = ValType::get_existing_id("reg-typed");
  EXPECT_EQ(ValType::val_type(id), &a);
  EXPECT_EQ(ValType::type_id(id), arg_type_id("char*"));
  ASSERT_TRUE(ValType::add_val_type("REG-TYPED", &b, b.pointer_type()));
  EXPECT_EQ(ValType::val_type(id), &b);
}

TEST(ValTypeRegistry, ValuesOfAPropertyCannotChangeTheirType) {
  IntValue ints;
  StrListValue lists;
  ASSERT_TRUE(ValType::add_val_type("reg-retyped", &ints, ints.pointer_type()));
  CaptureStderr();
  EXPECT_FALSE(ValType::add_val_type("reg-retyped", &lists, lists.pointer_type()));
  EXPECT_EQ(GetCapturedStderr(),
            "The attribute reg-retyped already holds values of the type int, not "
            "TSlist<const char*>*\n");
  EXPECT_EQ(ValType::val_type(ValType::get_id("reg-retyped")), &ints);
}

TEST(ValTypeRegistry, ADestroyedValueTypeLeavesTheRegistry) {
  auto type = std::make_unique<IntValue>();
  ASSERT_TRUE(ValType::add_val_type("reg-gone-1", type.get(), type->pointer_type()));
  ASSERT_TRUE(ValType::add_val_type("reg-gone-2", type.get(), type->pointer_type()));
  type.reset();
  for (const char* name : {"reg-gone-1", "reg-gone-2"}) {
    const int id = ValType::get_existing_id(name);
    EXPECT_EQ(ValType::val_type(id), nullptr) << name;
    // The values stored meanwhile are still ints.
    EXPECT_EQ(ValType::type_id(id), arg_type_id("int")) << name;
  }
}

}  // namespace
}  // namespace lorvan
