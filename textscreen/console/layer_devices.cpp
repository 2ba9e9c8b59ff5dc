#include "console/layer_devices.h"

namespace textscreen::detail {
namespace {

// Stands in while no console is installed: not a console, and nothing to read.
class AbsentConsole final : public platform::ConsoleDevice {
 public:
  bool read_screen_buffer_info(platform::ScreenBufferInfo&) override { return false; }
  bool set_text_attribute(uint16_t) override { return false; }
  bool fill_characters(uint8_t, int32_t, platform::CellPosition) override { return false; }
  bool fill_attributes(uint16_t, int32_t, platform::CellPosition) override { return false; }
  bool write_cells(const platform::ConsoleCell*, int32_t, platform::CellPosition) override {
    return false;
  }
  bool scroll_rectangle(const platform::CellRect&, const platform::CellRect*,
                        platform::CellPosition, platform::ConsoleCell) override {
    return false;
  }
  bool read_cursor_visible(bool&) override { return false; }
  bool set_cursor_visible(bool) override { return false; }
  bool set_cursor_position(platform::CellPosition) override { return false; }
  bool set_window_rect(const platform::CellRect&) override { return false; }
  bool set_buffer_size(platform::CellPosition) override { return false; }
  platform::CellPosition largest_window_size() override { return {}; }
  bool set_active_buffer() override { return false; }
  bool write_raw(const uint8_t*, size_t count, size_t& written) override {
    written = count;
    return true;
  }
  bool peek_input(platform::InputEvent&) override { return false; }
  bool read_input(platform::InputEvent&) override { return false; }
  void wait_for_input(std::chrono::milliseconds) override {}
  bool input_ended() override { return false; }
  // Nothing to close: the process goes on.
  void close_console(std::string_view = {}) override {}
  bool read_input_mode(uint32_t&) override { return false; }
  bool set_input_mode(uint32_t) override { return false; }
  bool set_control_handler(platform::ControlHandler, bool) override { return false; }
  uint8_t virtual_key_to_char(uint16_t) override { return 0; }
};

// Stands in while no clock is installed: time passes only by sleeping, which takes none.
class AbsentClock final : public platform::Clock {
 public:
  Instant now() override { return now_; }
  void sleep_for(std::chrono::milliseconds duration) override {
    if (duration.count() > 0) now_ += duration;
  }
  bool sleep_until_woken(std::chrono::milliseconds duration,
                         platform::WakeSignal& signal) override {
    if (signal.take()) return true;
    sleep_for(duration);
    return false;
  }
  std::tm local_time() override { return {}; }

 private:
  Instant now_{};
};

AbsentConsole absent_console;
AbsentClock absent_clock;
LayerDevices devices{&absent_console, &absent_clock, nullptr, {}};

}  // namespace

void install_devices(const LayerDevices& given) {
  devices = given;
  if (devices.console == nullptr) devices.console = &absent_console;
  if (devices.clock == nullptr) devices.clock = &absent_clock;
}

const LayerDevices& installed_devices() {
  return devices;
}

platform::ConsoleDevice& console() {
  return *devices.console;
}

platform::Clock& clock() {
  return *devices.clock;
}

}  // namespace textscreen::detail
