// A console that lives in memory, for tests: the buffer may be taller than its window,
// input events are scripted, control events are raised by hand and every cell can be
// read back.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "platform/cell_buffer.h"
#include "platform/clock.h"

namespace textscreen::platform {

class MemoryConsole final : public ConsoleDevice {
 public:
  // A console whose window shows `window_rows` of the buffer's rows (all of them when 0).
  // Its buffer can be resized up to the size a real console allows.
  MemoryConsole(int16_t columns, int16_t rows, int16_t window_rows = 0);

  // Scripting and inspection.
  CellBuffer& buffer() { return buffer_; }
  const CellBuffer& buffer() const { return buffer_; }
  std::string row_text(int16_t row) const;  // the characters of one buffer row
  void push_input(const InputEvent& event) {
    input_.push_back(event);
    input_arrived_.wake();
  }
  // The clock an input wait sleeps on (a scripted one in tests): the wait ends when input
  // is pushed or its time is up. Without one an input wait only counts.
  void set_clock(Clock* clock) { clock_ = clock; }
  void push_key(const KeyEvent& key);  // a key down followed by its key up
  size_t pending_input() const { return input_.size(); }
  const std::string& raw_output() const { return raw_output_; }
  void set_not_a_console(bool value) { not_a_console_ = value; }
  // Input from a pipe or a file: the events still come, but there is no input mode.
  void set_input_not_a_console(bool value) { input_not_a_console_ = value; }
  void set_largest_window(CellPosition size) { largest_window_ = size; }
  void set_fail_cell_writes(bool value) { fail_cell_writes_ = value; }
  ControlHandler control_handler() const { return handler_; }
  // Delivers a control event as the console would: true when the handler took it.
  bool raise_control_event(uint32_t event);
  uint32_t input_mode() const { return input_mode_; }
  int bells() const { return bells_; }
  int flushes() const { return flushes_; }
  int input_waits() const { return input_waits_; }
  int input_mode_reads() const { return input_mode_reads_; }
  // The scripted input ends once its events are read.
  void end_input() { input_ended_ = true; }
  int closes() const { return closes_; }
  // The line the last close was to leave on standard error, empty when none.
  const std::string& close_reason() const { return close_reason_; }
  // Fills, writes, scrolls and cursor moves refused for a position outside the buffer: the
  // layer computes every position it hands a console, so each is a position it got wrong.
  int refused_positions() const { return refused_positions_; }
  int64_t cells_written() const { return cells_written_; }

  // ConsoleDevice.
  bool read_screen_buffer_info(ScreenBufferInfo& info) override;
  bool set_text_attribute(uint16_t attribute) override;
  bool fill_characters(uint8_t character, int32_t count, CellPosition start) override;
  bool fill_attributes(uint16_t attribute, int32_t count, CellPosition start) override;
  bool write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) override;
  bool scroll_rectangle(const CellRect& source, const CellRect* clip, CellPosition destination,
                        ConsoleCell fill) override;
  bool read_cursor_visible(bool& visible) override;
  bool set_cursor_visible(bool visible) override;
  bool set_cursor_position(CellPosition position) override;
  bool set_window_rect(const CellRect& window) override;
  bool set_buffer_size(CellPosition size) override;
  CellPosition largest_window_size() override { return largest_window_; }
  bool set_active_buffer() override { return true; }
  bool write_raw(const uint8_t* bytes, size_t count, size_t& written) override;
  bool peek_input(InputEvent& event) override;
  bool read_input(InputEvent& event) override;
  void wait_for_input(std::chrono::milliseconds timeout) override {
    ++input_waits_;
    if (input_.empty() && clock_ != nullptr) clock_->sleep_until_woken(timeout, input_arrived_);
  }
  bool input_ended() override { return input_ended_ && input_.empty(); }
  void close_console(std::string_view reason = {}) override {
    ++closes_;
    close_reason_ = reason;
    raise_control_event(CONSOLE_CLOSE);
  }
  bool read_input_mode(uint32_t& mode) override;
  bool set_input_mode(uint32_t mode) override;
  bool set_control_handler(ControlHandler handler, bool add) override;
  uint8_t virtual_key_to_char(uint16_t virtual_key) override;
  void flush() override { ++flushes_; }
  void ring_bell() override { ++bells_; }

 private:
  bool counted(bool done) {
    if (!done) ++refused_positions_;
    return done;
  }

  CellBuffer buffer_;
  CellPosition largest_window_;
  std::deque<InputEvent> input_;
  Clock* clock_ = nullptr;
  WakeSignal input_arrived_;
  std::string raw_output_;
  bool not_a_console_ = false;
  bool input_not_a_console_ = false;
  bool fail_cell_writes_ = false;
  ControlHandler handler_ = nullptr;
  uint32_t input_mode_ = 0;
  int bells_ = 0;
  int flushes_ = 0;
  int input_waits_ = 0;
  int input_mode_reads_ = 0;
  bool input_ended_ = false;
  int closes_ = 0;
  std::string close_reason_;
  int refused_positions_ = 0;
  int64_t cells_written_ = 0;
};

}  // namespace textscreen::platform
