// The window driver every toolkit shares: a window thread over a WindowBackend. The thread
// sleeps until something happens (a window event, a line marked dirty, a palette change,
// a request of the program, a key taken from a full key ring, `close`), then does the
// cycle's work under the frame lock (palette, dirty lines, events, key state) and presents
// after releasing it, at most once every 10 ms: a change that comes sooner is shown at the
// 10 ms mark. While nothing happens the thread does not wake at all.
//
// Every call into the backend but `wake` happens on the window thread; the program's
// thread only takes the frame lock and leaves requests (title, pointer) for the thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/display_driver.h"
#include "platform/window/frame_converter.h"
#include "platform/window/window_backend.h"
#include "platform/window/window_policy.h"

namespace textscreen::platform {

class WindowThreadDriver final : public DisplayDriver {
 public:
  // The least time between two presents.
  static constexpr std::chrono::milliseconds PRESENT_INTERVAL{10};

  WindowThreadDriver(std::string name, std::unique_ptr<WindowBackend> backend)
      : name_(std::move(name)), backend_(std::move(backend)) {}
  ~WindowThreadDriver() override { close(); }

  std::string_view name() const override { return name_; }
  int32_t open(std::string_view title, int32_t width, int32_t height, int32_t depth,
               int32_t refresh, int32_t flags, DisplayHost& host) override;
  void close() override;
  void lock() override { frame_lock_.lock(); }
  void unlock() override;
  void set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) override;
  void wait_retrace() override;
  int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  int32_t set_mouse(int32_t x, int32_t y, int32_t shown) override;
  void set_title(std::string_view title) override;
  int32_t list_modes(int32_t depth, int32_t* modes, int32_t capacity) override;
  void flip() override {}
  void keys_taken() override;
  void frame_changed() override { frame_changed_.store(true, std::memory_order_relaxed); }

 private:
  enum class Start { waiting, ready, failed };
  struct PointerRequest {
    int32_t x, y;
    bool shown;
  };
  // What a cycle left for the time after the frame lock.
  struct CycleResult {
    DisplayLines lines;          // converted, to upload and present
    bool lines_waiting = false;  // dirty lines left for the next 10 ms mark
    EventOutcome outcome;
  };

  // The window thread: set-up, the cycles and the tidy-up, all on that thread.
  void run_window_thread();
  void signal_start(Start outcome);
  void run_cycles();
  void wait_for_work(WindowBackend::Deadline deadline);
  CycleResult locked_cycle(bool redraw, bool may_present);
  void carry_out_requests();
  [[noreturn]] static void park_forever();
  // Makes the window thread take a cycle. Any thread; wake-ups not yet taken coalesce.
  void wake_thread();

  const std::string name_;
  const std::unique_ptr<WindowBackend> backend_;

  // Set by open, read by the window thread.
  WindowSettings settings_;
  DisplayHost* host_ = nullptr;

  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex start_mutex_;
  std::condition_variable start_signal_;
  Start start_ = Start::waiting;

  // The frame lock, and what it guards besides the host's frame.
  std::mutex frame_lock_;
  bool palette_changed_ = false;
  std::optional<WindowPolicy> policy_;  // one per window: made by open, dropped by close

  // Wake-ups. `wake_pending_` is set by every wake and cleared by the thread as a cycle
  // starts, so a wake between the two makes the next wait return at once. While key events
  // are held back the backend's queue is not empty and its wait would return at once: the
  // thread then waits on `wake_signal_` instead.
  std::atomic<bool> frame_changed_{false};
  std::atomic<bool> wake_pending_{false};
  std::atomic<bool> keys_held_{false};
  std::mutex wake_mutex_;
  std::condition_variable wake_signal_;
  bool window_exists_ = false;  // guarded by wake_mutex_: `wake` reaches the backend only then

  // Requests of the program's thread, carried out by the window thread.
  std::mutex request_mutex_;
  std::optional<std::string> new_title_;
  std::optional<PointerRequest> pointer_request_;

  // Found by the window thread while it sets up; fixed until the next open.
  std::atomic<int32_t> refresh_rate_{0};
  std::vector<DisplayMode> display_modes_;

  std::string unread_text_;        // from one window to the next, under the frame lock
  FrameConverter converter_;       // window thread only
  std::vector<uint32_t> display_;  // ARGB staging lines, window thread only
};

}  // namespace textscreen::platform
