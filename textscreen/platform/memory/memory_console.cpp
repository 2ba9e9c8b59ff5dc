#include "platform/memory/memory_console.h"

#include "platform/keyboard_layout.h"

namespace textscreen::platform {

MemoryConsole::MemoryConsole(int16_t columns, int16_t rows, int16_t window_rows)
    : buffer_(columns, rows), largest_window_{columns, rows} {
  if (window_rows > 0 && window_rows < rows) {
    buffer_.set_window(
        {0, 0, static_cast<int16_t>(columns - 1), static_cast<int16_t>(window_rows - 1)});
  }
}

std::string MemoryConsole::row_text(int16_t row) const {
  std::string text;
  for (int16_t c = 0; c < buffer_.size().column; ++c) {
    text.push_back(static_cast<char>(buffer_.at(c, row).character));
  }
  return text;
}

void MemoryConsole::push_key(const KeyEvent& key) {
  KeyEvent down = key;
  down.key_down = true;
  push_input({InputEventType::key, down});
  KeyEvent up = key;
  up.key_down = false;
  push_input({InputEventType::key, up});
}

bool MemoryConsole::raise_control_event(uint32_t event) {
  return handler_ != nullptr && handler_(event);
}

bool MemoryConsole::read_screen_buffer_info(ScreenBufferInfo& info) {
  if (not_a_console_) return false;
  info = buffer_.info(largest_window_);
  return true;
}

bool MemoryConsole::set_text_attribute(uint16_t attribute) {
  if (not_a_console_) return false;
  buffer_.set_attribute(attribute);
  return true;
}

bool MemoryConsole::fill_characters(uint8_t character, int32_t count, CellPosition start) {
  return !not_a_console_ && counted(buffer_.fill_characters(character, count, start));
}

bool MemoryConsole::fill_attributes(uint16_t attribute, int32_t count, CellPosition start) {
  return !not_a_console_ && counted(buffer_.fill_attributes(attribute, count, start));
}

bool MemoryConsole::write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) {
  cells_written_ += count;
  return !not_a_console_ && !fail_cell_writes_ && counted(buffer_.write_cells(cells, count, start));
}

bool MemoryConsole::scroll_rectangle(const CellRect& source, const CellRect* clip,
                                     CellPosition destination, ConsoleCell fill) {
  return !not_a_console_ && counted(buffer_.scroll_rectangle(source, clip, destination, fill));
}

bool MemoryConsole::read_cursor_visible(bool& visible) {
  if (not_a_console_) return false;
  visible = buffer_.cursor_visible();
  return true;
}

bool MemoryConsole::set_cursor_visible(bool visible) {
  if (not_a_console_) return false;
  buffer_.set_cursor_visible(visible);
  return true;
}

bool MemoryConsole::set_cursor_position(CellPosition position) {
  return !not_a_console_ && counted(buffer_.set_cursor(position));
}

bool MemoryConsole::set_window_rect(const CellRect& window) {
  return !not_a_console_ && buffer_.set_window(window);
}

bool MemoryConsole::set_buffer_size(CellPosition size) {
  if (not_a_console_) return false;
  // A buffer may never be smaller than the window that shows it.
  const CellRect& w = buffer_.window();
  if (size.column < w.right + 1 || size.row < w.bottom + 1) return false;
  return buffer_.resize(size);
}

bool MemoryConsole::write_raw(const uint8_t* bytes, size_t count, size_t& written) {
  raw_output_.append(reinterpret_cast<const char*>(bytes), count);
  written = count;
  return true;
}

bool MemoryConsole::peek_input(InputEvent& event) {
  if (input_.empty()) return false;
  event = input_.front();
  return true;
}

bool MemoryConsole::read_input(InputEvent& event) {
  if (input_.empty()) return false;
  event = input_.front();
  input_.pop_front();
  return true;
}

bool MemoryConsole::read_input_mode(uint32_t& mode) {
  ++input_mode_reads_;
  if (input_not_a_console_) return false;
  mode = input_mode_;
  return true;
}

bool MemoryConsole::set_input_mode(uint32_t mode) {
  if (input_not_a_console_) return false;
  input_mode_ = mode;
  return true;
}

bool MemoryConsole::set_control_handler(ControlHandler handler, bool add) {
  if (add) {
    handler_ = handler;
  } else if (handler_ == handler) {
    handler_ = nullptr;
  }
  return true;
}

uint8_t MemoryConsole::virtual_key_to_char(uint16_t virtual_key) {
  return unshifted_character(virtual_key);
}

}  // namespace textscreen::platform
