// The console device on a POSIX terminal. The screen buffer lives in memory with the
// terminal's size; flush sends the terminal what changed. Keys come from the terminal in raw
// mode; SIGINT, SIGQUIT, SIGHUP and SIGTERM become control events on a thread of their own;
// Ctrl+Z gives the terminal back and a continue repaints it; a resize resizes the buffer.
// The terminal is always given back: at exit and on every signal that ends the process.
#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <utility>

#include "platform/cell_buffer.h"
#include "platform/clock.h"
#include "platform/terminal/kept_cells.h"
#include "platform/terminal/terminal_input_decoder.h"
#include "platform/terminal/terminal_renderer.h"

namespace textscreen::platform {

class TerminalConsole final : public ConsoleDevice {
 public:
  // Reads keys from `input_fd` and shows the buffer on `output_fd`; `clock` times the
  // escape sequences of the input.
  TerminalConsole(int input_fd, int output_fd, Clock& clock);
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // Everything flushed so far, in bytes.
  uint64_t bytes_sent() const { return bytes_sent_.load(); }
  // Whether a change still waits for its frame's end to reach the terminal. Any thread.
  bool output_owed() {
    std::lock_guard lock(mutex_);
    return flush_owed_;
  }
  // Gives the terminal back (colours, cursor, modes); the screen's contents stay.
  void restore_terminal();

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
  bool set_active_buffer() override { return screen_ok(); }
  bool write_raw(const uint8_t* bytes, size_t count, size_t& written) override;
  bool peek_input(InputEvent& event) override;
  bool read_input(InputEvent& event) override;
  bool input_ended() override;
  void wait_for_input(std::chrono::milliseconds timeout) override;
  void close_console(std::string_view reason = {}) override;
  bool read_input_mode(uint32_t& mode) override;
  bool set_input_mode(uint32_t mode) override;
  bool set_control_handler(ControlHandler handler, bool add) override;
  uint8_t virtual_key_to_char(uint16_t virtual_key) override;
  void flush() override;
  void ring_bell() override;

 private:
  bool screen_ok() const { return output_is_terminal_; }
  // Runs `operation` on the buffer under the lock, when the output is a terminal; with
  // `changes`, the next flush looks at the cells. An operation that returns nothing succeeds.
  template <typename Operation>
  bool on_screen(bool changes, Operation operation) {
    if (!screen_ok()) return false;
    std::lock_guard lock(mutex_);
    if (changes) changed_ = true;
    if constexpr (std::is_void_v<decltype(operation())>) {
      operation();
      return true;
    } else {
      return operation();
    }
  }
  // Raw mode, the alternate screen and a full repaint at the next flush: at start and
  // whenever the program continues after a stop.
  void take_terminal();
  void enter_raw_mode();
  void leave_raw_mode();
  bool fetch_input();
  void send(const std::string& bytes);
  void flush_locked();
  void resize_to_terminal();
  void watch_signals();
  void on_control_signal(int signal_number);
  void suspend();

  int input_fd_;
  Clock& clock_;
  int output_fd_;
  bool input_is_terminal_;
  bool output_is_terminal_;
  bool utf8_output_;  // text written to a file or pipe goes as UTF-8
  termios saved_mode_{};
  bool raw_ = false;
  bool processed_input_ = true;
  bool changed_ = true;            // the buffer changed since the last flush
  bool input_ended_ = false;       // a pipe or file that has given its last byte
  bool quiet_since_wait_ = false;  // wait_for_input saw no input come

  std::mutex mutex_;  // the buffer, the renderer and the terminal's output
  CellBuffer buffer_;
  KeptCells kept_cells_;  // what a smaller terminal cannot show, for when it grows back
  TerminalRenderer renderer_;
  TerminalInputDecoder decoder_;
  std::atomic<ControlHandler> handler_{nullptr};
  // The line a close leaves on standard error once the terminal is given back.
  std::mutex close_reason_mutex_;
  std::string close_reason_;
  std::atomic<uint64_t> bytes_sent_{0};
  std::thread signal_thread_;

  // Output reaches the terminal at most once a frame: what a program prints faster than
  // that goes in one write at the frame's end, sent by the pacing thread, rather than a
  // write for every printed line. A change after a quiet frame goes at once.
  static constexpr std::chrono::milliseconds OUTPUT_FRAME{4};
  void pace_output();
  std::condition_variable flush_due_;  // with mutex_
  bool flush_owed_ = false;            // a change waits for the frame's end
  bool stopping_ = false;
  std::chrono::steady_clock::time_point last_flush_{};
  std::thread pacing_thread_;
};

}  // namespace textscreen::platform
