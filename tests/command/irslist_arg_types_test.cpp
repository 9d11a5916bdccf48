// The registry of argument-type names.
#include <gtest/gtest.h>

#include <string>

#include "command/arg_types.h"

namespace lorvan {
namespace {

TEST(ArgTypesTest, NamesGetConsecutiveCaseInsensitiveIds) {
  const int first = arg_type_id("AttVec*");
  EXPECT_GT(first, 0);
  EXPECT_EQ(arg_type_id("attvec*"), first);
  const int second = arg_type_id("char*");
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(arg_type_id("CHAR*"), second);
  EXPECT_STREQ(arg_type_name(first), "AttVec*");  // the first spelling
  EXPECT_STREQ(arg_type_name(second), "char*");
  EXPECT_EQ(arg_types().get_id("char*", false), second);
}

TEST(ArgTypesTest, SpecialAndUnknownIds) {
  EXPECT_EQ(arg_type_id(nullptr), -1);
  EXPECT_STREQ(arg_type_name(-1), "void*");
  const int last = arg_type_id("LexItem*");
  EXPECT_EQ(arg_type_name(last + 1), nullptr);

  for (int id : {0, -2, -100}) {
    ::testing::internal::CaptureStderr();
    EXPECT_STREQ(arg_type_name(id), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Unknown type id: " + std::to_string(id) + "\n");
  }
}

}  // namespace
}  // namespace lorvan
