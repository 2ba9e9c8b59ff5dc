// Fields of the typed line and the numbers read from them.
#include <gtest/gtest.h>

#include <cmath>

#include "console/line_input.h"
#include "support/layer_fixture.h"
#include "support/typing.h"

namespace textscreen::testing {
namespace {

class InputFieldsTest : public LayerTest {
 protected:
  void set_line(const std::string& line) { detail::input_context() = {line, 0}; }
  std::string field(int32_t max = 11, bool is_text = false) {
    return detail::read_field(max, is_text);
  }
};

TEST_F(InputFieldsTest, BlanksCommasAndLineEndsSeparateNumberFields) {
  set_line("42,7");
  EXPECT_EQ(field(), "42");
  EXPECT_EQ(field(), "7");
  EXPECT_EQ(field(), "");
  set_line("42 ,7");
  EXPECT_EQ(field(), "42");
  EXPECT_EQ(field(), "");
  EXPECT_EQ(field(), "7");
  set_line("  \t\r\n 5\r\n6\r7\n8");
  EXPECT_EQ(field(), "5");
  EXPECT_EQ(field(), "6");
  EXPECT_EQ(field(), "7");
  EXPECT_EQ(field(), "8");
}

TEST_F(InputFieldsTest, QuotesGroupANumberAndDelimitAText) {
  set_line("\"1,5\"");
  EXPECT_EQ(field(), "1,5");
  set_line("\" a b \" , next");
  EXPECT_EQ(field(80, true), " a b ");
  EXPECT_EQ(field(80, true), "next");
  set_line("ab\"c d");
  EXPECT_EQ(field(80, true), "ab\"c d");
}

TEST_F(InputFieldsTest, ALongFieldIsCutAndTheRestReadNext) {
  set_line("123456789012345");
  EXPECT_EQ(field(11), "12345678901");
  EXPECT_EQ(field(11), "2345");
}

TEST_F(InputFieldsTest, Byte255EndsTheLine) {
  set_line(
      "12\xFF"
      "34");
  EXPECT_EQ(field(), "12");
  EXPECT_EQ(field(), "34");
}

TEST_F(InputFieldsTest, IntegersFromTypedAnswers) {
  int32_t value = -1;
  auto answer = [&](const std::string& typed) {
    type_text(console_, typed + "\r");
    input_prompt("", 0, 0);
    input_int(value);
    return value;
  };
  EXPECT_EQ(answer("12.5"), 12);
  EXPECT_EQ(answer("abc"), 0);
  EXPECT_EQ(answer("000000000042"), 4);
  EXPECT_EQ(answer("-17"), -17);
  EXPECT_EQ(answer(""), 0);
  EXPECT_EQ(answer("1,5"), 1);
  EXPECT_EQ(last_error(), ERROR_NONE);
  // Consecutive reads take consecutive fields of the same line.
  type_text(console_, "3 4\r");
  input_prompt("", 0, 0);
  int32_t first = 0;
  int32_t second = 0;
  input_int(first);
  input_int(second);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(second, 4);
}

TEST_F(InputFieldsTest, SinglesFromTypedAnswers) {
  float value = -1;
  auto answer = [&](const std::string& typed) {
    type_text(console_, typed + "\r");
    input_prompt("", 0, -1);
    input_single(value);
    return value;
  };
  EXPECT_EQ(answer("2.5e1"), 25.0f);
  EXPECT_EQ(answer("1,5"), 1.0f);
  EXPECT_EQ(answer(""), 0.0f);
  EXPECT_EQ(answer("0.1"), 0.1f);
  EXPECT_TRUE(std::isinf(answer("1e39")));
  EXPECT_EQ(answer("1234567890123456789"), 123456789012345.0f);  // 15 characters count
}

}  // namespace
}  // namespace textscreen::testing
