#include "platform/window/window_thread_driver.h"

#include <algorithm>

namespace textscreen::platform {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto NO_DEADLINE = WindowBackend::Deadline::max();

bool any_line_dirty(const FrameView& frame) {
  const uint8_t* begin = frame.dirty;
  const uint8_t* end = begin + frame.height;
  return std::find_if(begin, end, [](uint8_t flag) { return flag != 0; }) != end;
}

}  // namespace

int32_t WindowThreadDriver::open(std::string_view title, int32_t width, int32_t height,
                                 int32_t depth, int32_t refresh, int32_t flags, DisplayHost& host) {
  (void)depth;    // the display lines are always ARGB8888; the converter reads the frame's depth
  (void)refresh;  // a desktop window takes the display's rate
  close();
  if (flags < 0 || (flags & MODE_OPENGL) != 0 || width <= 0 || height <= 0) return 1;
  settings_ = {std::string(title), width, height, (flags & MODE_FULLSCREEN) != 0,
               (flags & MODE_NO_SWITCH) == 0};
  host_ = &host;
  stop_ = false;
  start_ = Start::waiting;
  palette_changed_ = true;
  wake_pending_ = false;
  keys_held_ = false;
  frame_changed_ = false;
  policy_.emplace(host, flags, unread_text_);
  display_.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  thread_ = std::thread([this] { run_window_thread(); });
  std::unique_lock<std::mutex> wait(start_mutex_);
  start_signal_.wait(wait, [this] { return start_ != Start::waiting; });
  return start_ == Start::ready ? 0 : 1;
}

void WindowThreadDriver::close() {
  stop_ = true;
  {
    // Not through wake_thread: a wake-up not yet taken must not swallow this one.
    std::lock_guard<std::mutex> hold(wake_mutex_);
    wake_pending_ = true;
    if (window_exists_) backend_->wake();
    wake_signal_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  policy_.reset();
  host_ = nullptr;
}

void WindowThreadDriver::unlock() {
  // The common case, a lock with nothing drawn, costs one relaxed load.
  const bool changed =
      frame_changed_.load(std::memory_order_relaxed) && frame_changed_.exchange(false);
  frame_lock_.unlock();
  if (changed) wake_thread();
}

void WindowThreadDriver::set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
  (void)red;  // the converter reads the colours from the host's shown palette
  (void)green;
  (void)blue;
  if (index < 0 || index > 255) return;
  palette_changed_ = true;
  frame_changed();
}

void WindowThreadDriver::wait_retrace() {
  const int32_t rate = refresh_rate_;
  std::this_thread::sleep_for(std::chrono::milliseconds(rate > 0 ? 1000 / rate : 16));
}

int32_t WindowThreadDriver::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  return policy_ ? policy_->get_mouse(x, y, wheel, buttons) : 1;
}

int32_t WindowThreadDriver::set_mouse(int32_t x, int32_t y, int32_t shown) {
  {
    std::lock_guard<std::mutex> hold(request_mutex_);
    pointer_request_ = PointerRequest{x, y, shown != 0};
  }
  wake_thread();
  return 0;
}

void WindowThreadDriver::set_title(std::string_view title) {
  {
    std::lock_guard<std::mutex> hold(request_mutex_);
    new_title_ = std::string(title);
  }
  wake_thread();
}

int32_t WindowThreadDriver::list_modes(int32_t depth, int32_t* modes, int32_t capacity) {
  return list_display_modes(display_modes_, depth, modes, capacity);
}

void WindowThreadDriver::keys_taken() {
  // Only a thread that left keys waiting has anything to do about it.
  if (keys_held_.load(std::memory_order_relaxed)) wake_thread();
}

void WindowThreadDriver::wake_thread() {
  if (wake_pending_.exchange(true)) return;
  std::lock_guard<std::mutex> hold(wake_mutex_);
  if (window_exists_) backend_->wake();
  wake_signal_.notify_all();
}

void WindowThreadDriver::signal_start(Start outcome) {
  std::lock_guard<std::mutex> hold(start_mutex_);
  start_ = outcome;
  start_signal_.notify_all();
}

void WindowThreadDriver::run_window_thread() {
  if (!backend_->create(settings_, *policy_)) {
    backend_->destroy();
    signal_start(Start::failed);
    return;
  }
  refresh_rate_ = backend_->refresh_rate();
  display_modes_ = backend_->display_modes();
  {
    std::lock_guard<std::mutex> hold(wake_mutex_);
    window_exists_ = true;
  }
  {
    std::lock_guard<std::mutex> hold(frame_lock_);
    policy_->mark_active();
  }
  signal_start(Start::ready);
  run_cycles();
  {
    std::lock_guard<std::mutex> hold(wake_mutex_);
    window_exists_ = false;
  }
  backend_->destroy();
}

void WindowThreadDriver::run_cycles() {
  bool redraw = true;     // every line is to be shown at the next present
  bool frame_due = true;  // something waits for the next present
  Clock::time_point next_present{};
  while (!stop_) {
    wait_for_work(frame_due ? next_present : NO_DEADLINE);
    if (stop_) break;
    // From here on a wake-up asks for another cycle.
    wake_pending_ = false;
    carry_out_requests();
    CycleResult cycle = locked_cycle(redraw, Clock::now() >= next_present);
    if (cycle.outcome.display_lost) park_forever();
    redraw = false;
    if (cycle.outcome.switch_screen) {
      // Switching may wait for the display: never under the frame lock.
      backend_->switch_full_screen();
      std::lock_guard<std::mutex> hold(frame_lock_);
      policy_->mark_active();
      redraw = true;
    }
    frame_due = cycle.lines_waiting || redraw;
    if (!cycle.lines.empty()) {
      backend_->upload(display_.data(), settings_.width, cycle.lines);
      next_present = Clock::now() + PRESENT_INTERVAL;
      backend_->present();
    }
  }
}

void WindowThreadDriver::wait_for_work(WindowBackend::Deadline deadline) {
  if (wake_pending_) return;
  if (deadline != NO_DEADLINE && Clock::now() >= deadline) return;
  if (!keys_held_) {
    backend_->wait(deadline);
    return;
  }
  // Held key events keep the backend's queue full: its wait would return at once.
  std::unique_lock<std::mutex> hold(wake_mutex_);
  const auto woken = [this] { return wake_pending_ || stop_; };
  if (deadline == NO_DEADLINE) {
    wake_signal_.wait(hold, woken);
  } else {
    wake_signal_.wait_until(hold, deadline, woken);
  }
}

WindowThreadDriver::CycleResult WindowThreadDriver::locked_cycle(bool redraw, bool may_present) {
  std::lock_guard<std::mutex> hold(frame_lock_);
  CycleResult result;
  WindowPolicy& policy = *policy_;
  policy.hand_over_text();
  const PumpResult pumped = backend_->pump(policy);
  result.outcome = policy.take_outcome();
  if (result.outcome.display_lost) return result;
  keys_held_ = pumped == PumpResult::keys_held || !unread_text_.empty();
  if (policy.key_states_due()) backend_->read_key_states(host_->key_states());
  const FrameView frame = host_->frame();
  if (palette_changed_) {
    // Every indexed pixel may now show another colour.
    converter_.set_palette(frame.shown_palette);
    palette_changed_ = false;
    redraw = true;
  }
  if (redraw || result.outcome.redraw) std::fill_n(frame.dirty, frame.height, uint8_t{1});
  if (may_present) {
    result.lines = converter_.convert(frame, display_.data(), settings_.width);
  } else {
    result.lines_waiting = any_line_dirty(frame);
  }
  return result;
}

void WindowThreadDriver::carry_out_requests() {
  std::optional<std::string> title;
  std::optional<PointerRequest> pointer;
  {
    std::lock_guard<std::mutex> hold(request_mutex_);
    title.swap(new_title_);
    pointer.swap(pointer_request_);
  }
  if (title) backend_->set_title(*title);
  if (pointer) backend_->move_pointer(pointer->x, pointer->y, pointer->shown);
}

void WindowThreadDriver::park_forever() {
  // The host was told the display is gone: the process is ending, and this thread must
  // neither call the window system again nor return to a caller that would.
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace textscreen::platform
