// The "SDL" display driver: a window of its own, shown and read by a window thread that
// every 10 ms presents the dirty frame lines and turns the window's events into keys. Every
// SDL video call happens on that thread; the program's thread only takes the frame lock and
// leaves requests (title, pointer) for the thread.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/display_driver.h"
#include "platform/sdl/module/window_events.h"
#include "platform/sdl/parts/frame_converter.h"

namespace textscreen::platform {

class SdlWindow;
class WindowEvents;
struct EventOutcome;

class SdlWindowDriver final : public DisplayDriver {
 public:
  ~SdlWindowDriver() override { close(); }

  std::string_view name() const override { return "SDL"; }
  int32_t open(std::string_view title, int32_t width, int32_t height, int32_t depth,
               int32_t refresh, int32_t flags, DisplayHost& host) override;
  void close() override;
  void lock() override { frame_lock_.lock(); }
  void unlock() override { frame_lock_.unlock(); }
  void set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) override;
  void wait_retrace() override;
  int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  int32_t set_mouse(int32_t x, int32_t y, int32_t shown) override;
  void set_title(std::string_view title) override;
  int32_t list_modes(int32_t depth, int32_t* modes, int32_t capacity) override;
  void flip() override {}

 private:
  enum class Start { waiting, ready, failed };
  struct MouseRequest {
    int32_t x, y;
    bool shown;
  };

  // The window thread: set-up, the cycles, and the tidy-up, all on that thread.
  void run_window_thread();
  bool set_up(SdlWindow& window);
  void signal_start(Start outcome);
  void run_cycles(SdlWindow& window, WindowEvents& events);
  // One cycle's work under the frame lock; the display lines it converted.
  DisplayLines locked_cycle(WindowEvents& events, bool redraw, EventOutcome& outcome);
  void carry_out_requests(SdlWindow& window);
  void read_display_modes(int display);

  // Set by open, read by the window thread.
  std::string title_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t flags_ = 0;
  DisplayHost* host_ = nullptr;

  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex start_mutex_;
  std::condition_variable start_signal_;
  Start start_ = Start::waiting;

  // The frame lock, and what it guards besides the host's frame.
  std::mutex frame_lock_;
  std::array<uint32_t, 256> palette_{};
  bool palette_changed_ = false;
  int32_t mouse_x_ = 0;
  int32_t mouse_y_ = 0;
  int32_t mouse_wheel_ = 0;
  int32_t mouse_buttons_ = 0;

  // Requests of the program's thread, carried out by the window thread.
  std::mutex request_mutex_;
  std::optional<std::string> new_title_;
  std::optional<MouseRequest> mouse_request_;

  // Found by the window thread while it sets up.
  std::atomic<int32_t> refresh_rate_{0};
  // The display modes as (bits per pixel, width << 16 | height); fixed once the thread started.
  std::vector<std::pair<int32_t, int32_t>> display_modes_;
  bool screen_saver_was_on_ = false;

  FrameConverter converter_;       // window thread only
  UnreadKeys unread_keys_;         // window thread only: from one window to the next
  std::vector<uint32_t> display_;  // ARGB staging lines, window thread only
};

}  // namespace textscreen::platform
