#include "platform/sdl/module/sdl_window_driver.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

#include "platform/sdl/module/display_loss.h"
#include "platform/sdl/module/sdl_window.h"
#include "platform/sdl/module/video_start.h"
#include "platform/sdl/module/window_events.h"

namespace textscreen::platform {
namespace {

constexpr auto CYCLE = std::chrono::milliseconds(10);

void mark_every_line(const FrameView& frame) {
  std::fill_n(frame.dirty, frame.height, uint8_t{1});
}

// An SDL pixel format's depth as a program names it: 24-bit colour in 32-bit pixels is 32.
int32_t depth_of(Uint32 format) {
  if (SDL_BYTESPERPIXEL(format) == 4) return 32;
  return static_cast<int32_t>(SDL_BITSPERPIXEL(format));
}

}  // namespace

int32_t SdlWindowDriver::open(std::string_view title, int32_t width, int32_t height, int32_t depth,
                              int32_t refresh, int32_t flags, DisplayHost& host) {
  (void)depth;    // the texture is always ARGB8888; the converter reads the frame's depth
  (void)refresh;  // a desktop window takes the display's rate
  close();
  if (flags < 0 || (flags & MODE_OPENGL) != 0 || width <= 0 || height <= 0) return 1;
  if (!display_named()) return 1;
  title_ = std::string(title);
  width_ = width;
  height_ = height;
  flags_ = flags;
  host_ = &host;
  stop_ = false;
  start_ = Start::waiting;
  palette_changed_ = true;
  display_.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  thread_ = std::thread([this] { run_window_thread(); });
  std::unique_lock<std::mutex> wait(start_mutex_);
  start_signal_.wait(wait, [this] { return start_ != Start::waiting; });
  return start_ == Start::ready ? 0 : 1;
}

void SdlWindowDriver::close() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  host_ = nullptr;
}

void SdlWindowDriver::set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (index < 0 || index > 255) return;
  palette_[static_cast<size_t>(index)] =
      static_cast<uint32_t>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
  palette_changed_ = true;
}

void SdlWindowDriver::wait_retrace() {
  const int32_t rate = refresh_rate_;
  SDL_Delay(static_cast<Uint32>(rate > 0 ? 1000 / rate : 16));
}

int32_t SdlWindowDriver::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  x = mouse_x_;
  y = mouse_y_;
  wheel = mouse_wheel_;
  buttons = mouse_buttons_;
  mouse_wheel_ = 0;
  return 0;
}

int32_t SdlWindowDriver::set_mouse(int32_t x, int32_t y, int32_t shown) {
  std::lock_guard<std::mutex> hold(request_mutex_);
  mouse_request_ = MouseRequest{x, y, shown != 0};
  return 0;
}

void SdlWindowDriver::set_title(std::string_view title) {
  std::lock_guard<std::mutex> hold(request_mutex_);
  new_title_ = std::string(title);
}

int32_t SdlWindowDriver::list_modes(int32_t depth, int32_t* modes, int32_t capacity) {
  int32_t count = 0;
  for (const auto& [mode_depth, size] : display_modes_) {
    if (mode_depth != depth) continue;
    if (count < capacity && modes != nullptr) modes[count] = size;
    ++count;
  }
  return count;
}

void SdlWindowDriver::signal_start(Start outcome) {
  std::lock_guard<std::mutex> hold(start_mutex_);
  start_ = outcome;
  start_signal_.notify_all();
}

void SdlWindowDriver::run_window_thread() {
  // SDL is not to switch the screen saver by itself: the driver does that, and gives it back.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (!start_video()) {
    signal_start(Start::failed);
    return;
  }
  {
    SdlWindow window;
    if (set_up(window)) {
      WindowEvents events(*host_, flags_, unread_keys_);
      events.mark_active();
      signal_start(Start::ready);
      run_cycles(window, events);
      events.keep_unread_keys();
      if (screen_saver_was_on_) SDL_EnableScreenSaver();
    } else {
      signal_start(Start::failed);
    }
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  stop_watching_display_loss();
}

bool SdlWindowDriver::set_up(SdlWindow& window) {
  if (!window.create(title_, width_, height_, (flags_ & MODE_FULLSCREEN) != 0)) return false;
  watch_display_loss(window.window(), *host_);
  SDL_StartTextInput();
  const int display = std::max(SDL_GetWindowDisplayIndex(window.window()), 0);
  SDL_DisplayMode mode{};
  refresh_rate_ = SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
  read_display_modes(display);
  screen_saver_was_on_ = SDL_IsScreenSaverEnabled() == SDL_TRUE;
  SDL_DisableScreenSaver();
  SDL_RaiseWindow(window.window());
  return true;
}

void SdlWindowDriver::read_display_modes(int display) {
  display_modes_.clear();
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    display_modes_.emplace_back(depth_of(mode.format), mode.w << 16 | mode.h);
  }
}

void SdlWindowDriver::run_cycles(SdlWindow& window, WindowEvents& events) {
  bool redraw = true;
  auto next = std::chrono::steady_clock::now();
  while (!stop_) {
    EventOutcome outcome;
    const DisplayLines lines = locked_cycle(events, redraw, outcome);
    if (outcome.display_lost) wait_to_be_ended();
    carry_out_requests(window);
    // Switching, uploading and presenting may wait for the display: never under the frame
    // lock.
    if (outcome.switch_screen) {
      window.switch_full_screen();
      events.mark_active();
    }
    if (outcome.refit) window.fit();
    redraw = outcome.redraw || outcome.switch_screen;
    if (!lines.empty()) {
      window.upload(display_.data(), lines);
      window.present();
    }
    next += CYCLE;
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now;  // a late cycle does not make the next ones hurry
    std::this_thread::sleep_until(next);
  }
}

DisplayLines SdlWindowDriver::locked_cycle(WindowEvents& events, bool redraw,
                                           EventOutcome& outcome) {
  std::lock_guard<std::mutex> hold(frame_lock_);
  const FrameView frame = host_->frame();
  if (palette_changed_) {
    // Every indexed pixel may now show another colour.
    converter_.set_palette(frame.shown_palette);
    palette_changed_ = false;
    redraw = true;
  }
  if (redraw) mark_every_line(frame);
  const DisplayLines lines = converter_.convert(frame, display_.data(), width_);
  events.handle_queued(outcome);
  events.refresh_key_states();
  mouse_x_ = events.mouse().x;
  mouse_y_ = events.mouse().y;
  mouse_buttons_ = events.buttons();
  mouse_wheel_ += events.take_wheel_steps();
  return lines;
}

void SdlWindowDriver::carry_out_requests(SdlWindow& window) {
  std::optional<std::string> title;
  std::optional<MouseRequest> mouse;
  {
    std::lock_guard<std::mutex> hold(request_mutex_);
    title.swap(new_title_);
    mouse.swap(mouse_request_);
  }
  if (title) window.set_title(*title);
  if (mouse) {
    SDL_WarpMouseInWindow(window.window(), mouse->x, mouse->y);
    SDL_ShowCursor(mouse->shown ? SDL_ENABLE : SDL_DISABLE);
  }
}

}  // namespace textscreen::platform
