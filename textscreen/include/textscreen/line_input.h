// Line input: shows the prompt (and "? " when asked), lets the user type one line and keeps
// it for input_int and input_single, which take its fields one after another.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen {

int32_t input_prompt(std::string_view prompt, int32_t add_question, int32_t add_newline);
void input_int(int32_t& value);
void input_single(float& value);

}  // namespace textscreen
