// Fields of the typed line and the numbers read from them.
#include <gtest/gtest.h>

#include <vector>

#include "console/line_input.h"
#include "support/layer_fixture.h"
#include "support/typing.h"

namespace textscreen::testing {
namespace {

using Fields = std::vector<std::string>;
using InputFieldsTest = LayerTest;

// The first `count` fields of `line`: numbers take 11 characters at most, texts 80.
Fields fields(const std::string& line, int count, bool is_text = false) {
  detail::input_context() = {line, 0};
  Fields read;
  while (count-- > 0) read.push_back(detail::read_field(is_text ? 80 : 11, is_text));
  return read;
}

TEST_F(InputFieldsTest, BlanksCommasLineEndsAndQuotesSeparateFields) {
  EXPECT_EQ(fields("42,7", 3), (Fields{"42", "7", ""}));
  EXPECT_EQ(fields("42 ,7", 3), (Fields{"42", "", "7"}));
  EXPECT_EQ(fields("  \t\r\n 5\r\n6\r7\n8", 4), (Fields{"5", "6", "7", "8"}));
  EXPECT_EQ(fields("\"1,5\"", 1), Fields{"1,5"});  // quotes group a number
  EXPECT_EQ(fields("\" a b \" , next", 2, true), (Fields{" a b ", "next"}));
  EXPECT_EQ(fields("ab\"c d", 1, true), Fields{"ab\"c d"});
  EXPECT_EQ(fields("\xFF\x35", 2), (Fields{"", "5"}));  // byte 255 reads as the line's end
}

TEST_F(InputFieldsTest, NumbersFromTypedAnswersAndALongFieldCutWithItsRestReadNext) {
  auto type_answer = [&](const std::string& typed) {
    type_text(console_, typed + "\r");
    input_prompt("", 0, -1);
  };
  int32_t first = -1, second = -1;
  type_answer("000000000042 3");  // 11 characters count
  input_int(first);
  input_int(second);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(second, 2);  // the rest of the cut field comes next
  EXPECT_EQ(last_error(), ERROR_NONE);
  float value = -1;
  type_answer("");
  input_single(value);
  EXPECT_EQ(value, 0.0f);
  type_answer("1234567890123456789");
  input_single(value);
  EXPECT_EQ(value, 123456789012345.0f);  // 15 characters count
}

}  // namespace
}  // namespace textscreen::testing
