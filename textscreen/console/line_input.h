// Line input: the line editor, the typed line kept for the input fields, and the fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen::detail {

// The last typed line and the read position of the input fields.
struct InputContext {
  std::string line;
  int32_t position = 0;
};

InputContext& input_context();

// Edits one line on the screen until Enter and returns it; the line end is not written.
std::string line_editor();

// The console default of slot read_line. A destination size of -1 means any length.
int32_t console_read_line(std::string_view prompt, std::string* destination,
                          int32_t destination_size, int32_t fill, int32_t add_question,
                          int32_t add_newline);

// The next field of the typed line, at most `max` bytes; the rest stays for the next call.
// Blanks, commas and line ends separate fields; quotes group (and for text, delimit).
std::string read_field(int32_t max, bool is_text);

}  // namespace textscreen::detail
