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
  set_line(std::string("12") + '\xFF' + "34");  // a byte 255 reads as a line end
  EXPECT_EQ(field(), "12");
  EXPECT_EQ(field(), "34");
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

TEST_F(InputFieldsTest, NumbersFromTypedAnswersAndALongFieldCutWithItsRestReadNext) {
  auto type_answer = [&](const std::string& typed) {
    type_text(console_, typed + "\r");
    input_prompt("", 0, -1);
  };
  int32_t first = -1;
  int32_t second = -1;
  type_answer("000000000042 3");  // 11 characters count
  input_int(first);
  input_int(second);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(second, 2);  // the rest of the cut field comes next
  EXPECT_EQ(last_error(), ERROR_NONE);
  float value = -1;
  type_answer("1,5");  // the comma separates; it is no decimal point
  input_single(value);
  EXPECT_EQ(value, 1.0f);
  type_answer("");
  input_single(value);
  EXPECT_EQ(value, 0.0f);
  type_answer("1234567890123456789");
  input_single(value);
  EXPECT_EQ(value, 123456789012345.0f);  // 15 characters count
}

}  // namespace
}  // namespace textscreen::testing
