// The console device on the Windows console: each operation is the console call of the same
// name, with the console's own cells as the screen buffer. Every byte the programs print is
// a character of code page 852, whatever code page the console itself is set to: cells are
// written through the wide-character calls and typed characters come back as 852 bytes, so
// the user's console settings are never changed.
//
// Where consoles differ at the edges (a fill or a scroll reaching past the buffer), the
// device checks positions and clips rectangles itself and hands the console only requests
// that every console carries out alike.
//
// Standard input that is not a console (a pipe or a file) gives its bytes as keys, and its
// end ends the input; standard output that is not a console takes the bytes unchanged.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/console_device.h"
#include "platform/windows/scripted_input.h"
#include "platform/windows/windows_api.h"

namespace textscreen::platform {

class Win32Console final : public ConsoleDevice {
 public:
  // Works on the given input and output handles (the process's standard handles, or a
  // console's own in tests); it does not own them.
  Win32Console(HANDLE input, HANDLE output);
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

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
  CellPosition largest_window_size() override;
  bool set_active_buffer() override;
  bool write_raw(const uint8_t* bytes, size_t count, size_t& written) override;
  bool peek_input(InputEvent& event) override { return next_input(event, false); }
  bool read_input(InputEvent& event) override { return next_input(event, true); }
  void wait_for_input(std::chrono::milliseconds timeout) override;
  bool input_ended() override;
  void close_console(std::string_view reason = {}) override;
  bool read_input_mode(uint32_t& mode) override;
  bool set_input_mode(uint32_t mode) override;
  bool set_control_handler(ControlHandler handler, bool add) override;
  uint8_t virtual_key_to_char(uint16_t virtual_key) override;
  void ring_bell() override;

  // The exit status of a process whose console was closed under it, as Windows gives it.
  static constexpr UINT CLOSED_CONSOLE_STATUS = 0xC000013A;

 private:
  // The buffer's size, or false when the output is not a console. The size is read once and
  // again after every read of the buffer's information (the layer reads it after each of its
  // writes, so a size the user changes is seen) and after every resize of the device's own.
  bool buffer_size(CellPosition& size);
  bool inside_buffer(CellPosition position);
  // The oldest input event, taken out with `take`; false when none waits. Never waits.
  bool next_input(InputEvent& event, bool take);
  // Writes the fill cell over a rectangle already inside the buffer.
  bool fill_rectangle(const SMALL_RECT& area, ConsoleCell fill);

  HANDLE input_;
  HANDLE output_;
  bool input_is_console_;
  std::optional<CellPosition> known_size_;
  std::unique_ptr<ScriptedInput> scripted_input_;  // when the input is not a console
  std::atomic<bool> closing_{false};
};

}  // namespace textscreen::platform
