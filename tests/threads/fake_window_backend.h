// A window backend without a window, for the window thread's tests: the test queues events
// as a window system would, and the fake records what the thread asked of it and on which
// thread. Like a real toolkit's, its `wait` returns at once while events are queued.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/window_backend.h"

namespace textscreen::testing {

class FakeWindowBackend final : public platform::WindowBackend {
 public:
  struct Event {
    enum class Kind { key, text, close, focus } kind;
    platform::WindowKeyEvent key{};
    uint8_t untexted = 0;
    std::string text;
    bool focused = false;
  };

  // Test thread: queues an event and wakes a waiting thread, as a window system does.
  void queue(const Event& event) {
    std::lock_guard<std::mutex> hold(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }
  void queue_text(std::string text) { queue({Event::Kind::text, {}, 0, std::move(text), false}); }
  size_t queued() {
    std::lock_guard<std::mutex> hold(mutex_);
    return events_.size();
  }
  // Whether the window thread sleeps in `wait` now.
  bool sleeping() const { return sleeping_; }

  // Run on every upload, with the converted display lines (the window thread's).
  std::function<void(const uint32_t*, platform::DisplayLines)> on_upload;
  // Run on every pump, with the sink, before the queued events.
  std::function<void(platform::WindowEventSink&)> on_pump;

  bool fail_create = false;
  std::atomic<int> creates{0}, destroys{0}, waits{0}, pumps{0}, presents{0};
  // Set by the test while it holds the frame lock: a present meanwhile is a fault.
  std::atomic<bool> program_holds_lock{false};
  std::atomic<int> presents_under_lock{0};
  // Requests carried out, and whether each came on the thread that created the window.
  std::atomic<int> requests{0}, requests_off_thread{0};
  std::string last_title;  // window thread only; read after the request count moved

  bool create(const platform::WindowSettings&, platform::WindowEventSink&) override {
    ++creates;
    window_thread_ = std::this_thread::get_id();
    return !fail_create;
  }
  void destroy() override { ++destroys; }
  void wait(Deadline deadline) override {
    ++waits;
    std::unique_lock<std::mutex> hold(mutex_);
    sleeping_ = true;
    changed_.wait_until(hold, deadline, [this] { return woken_ || !events_.empty(); });
    sleeping_ = false;
  }
  void wake() override {
    std::lock_guard<std::mutex> hold(mutex_);
    woken_ = true;
    changed_.notify_all();
  }
  platform::PumpResult pump(platform::WindowEventSink& sink) override {
    ++pumps;
    if (on_pump) on_pump(sink);
    std::unique_lock<std::mutex> hold(mutex_);
    woken_ = false;
    while (!events_.empty()) {
      const Event event = events_.front();
      const bool key = event.kind == Event::Kind::key;
      if (key && !sink.room_for_key()) return platform::PumpResult::keys_held;
      if (event.kind == Event::Kind::text && !sink.room_for_text()) {
        return platform::PumpResult::keys_held;
      }
      events_.pop_front();
      hold.unlock();
      deliver(event, sink);
      hold.lock();
    }
    return platform::PumpResult::drained;
  }
  void read_key_states(uint8_t* key_states) override { key_states[0x1E] = 1; }
  void upload(const uint32_t* display, int32_t, platform::DisplayLines lines) override {
    if (on_upload) on_upload(display, lines);
  }
  void present() override {
    if (program_holds_lock) ++presents_under_lock;
    ++presents;
  }
  void set_title(std::string_view title) override {
    last_title = std::string(title);
    count_request();
  }
  void move_pointer(int32_t, int32_t, bool) override { count_request(); }
  void switch_full_screen() override {}
  int32_t refresh_rate() override { return 50; }
  std::vector<platform::DisplayMode> display_modes() override {
    return {{32, 640 << 16 | 480}, {16, 320 << 16 | 200}, {32, 800 << 16 | 600}};
  }

 private:
  static void deliver(const Event& event, platform::WindowEventSink& sink) {
    switch (event.kind) {
      case Event::Kind::key:
        sink.key_down(event.key, event.untexted);
        break;
      case Event::Kind::text:
        sink.text_typed(event.text);
        break;
      case Event::Kind::close:
        sink.close_requested();
        break;
      case Event::Kind::focus:
        sink.focus_changed(event.focused);
        break;
    }
  }
  void count_request() {
    ++requests;
    if (std::this_thread::get_id() != window_thread_) ++requests_off_thread;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Event> events_;
  bool woken_ = false;
  std::atomic<bool> sleeping_{false};
  std::thread::id window_thread_;
};

}  // namespace textscreen::testing
