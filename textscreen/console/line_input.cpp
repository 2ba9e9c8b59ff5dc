#include "console/line_input.h"

#include "console/print_channel.h"
#include "console/screen_state.h"
#include "textscreen/line_input.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {

InputContext& input_context() {
  static InputContext context;
  return context;
}

int32_t console_read_line(std::string_view prompt, std::string* destination,
                          int32_t destination_size, int32_t /*fill*/, int32_t add_question,
                          int32_t add_newline) {
  write_text("", WRITE_FORCE);
  if (!prompt.empty()) print_string(SCREEN_FILE, prompt, 0);
  if (add_question != 0) print_item_text("? ");
  std::string line = line_editor();
  if (add_newline != 0) write_text("\r\n", 0);
  if (destination == nullptr ||
      (destination_size >= 0 && line.size() > static_cast<size_t>(destination_size))) {
    return set_error(ERROR_NO_ROOM);
  }
  *destination = std::move(line);
  return set_error(ERROR_NONE);
}

}  // namespace textscreen::detail

namespace textscreen {

int32_t input_prompt(std::string_view prompt, int32_t add_question, int32_t add_newline) {
  detail::OutputBatch batch;
  detail::ensure_print_channel();
  detail::InputContext& context = detail::input_context();
  context.line.clear();
  context.position = 0;
  auto read_line = detail::screen_state().hooks.read_line;
  if (read_line == nullptr) read_line = detail::console_read_line;
  return detail::set_error(read_line(prompt, &context.line, -1, 0, add_question, add_newline));
}

}  // namespace textscreen
