#include "platform/sdl/module/sdl_window_backend.h"

#include <SDL_syswm.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/sdl/module/display_loss.h"
#include "platform/sdl/module/video_start.h"

namespace textscreen::platform {
namespace {

// An SDL pixel format's depth as a program names it: 24-bit colour in 32-bit pixels is 32.
int32_t depth_of(Uint32 format) {
  if (SDL_BYTESPERPIXEL(format) == 4) return 32;
  return static_cast<int32_t>(SDL_BITSPERPIXEL(format));
}

}  // namespace

SdlWindowBackend::~SdlWindowBackend() {
  destroy();
  if (wake_fd_ >= 0) close(wake_fd_);
}

bool SdlWindowBackend::create(const WindowSettings& settings, WindowEventSink& sink) {
  destroy();
  if (!display_named()) return false;
  // SDL is not to switch the screen saver by itself: the backend does that, and gives it back.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (!start_video()) return false;
  video_started_ = true;
  if (!window_.create(settings.title, settings.width, settings.height, settings.full_screen)) {
    return false;
  }
  watch_display_loss(window_.window(), sink);
  watch_connection();
  SDL_StartTextInput();
  screen_saver_was_on_ = SDL_IsScreenSaverEnabled() == SDL_TRUE;
  SDL_DisableScreenSaver();
  SDL_RaiseWindow(window_.window());
  return true;
}

void SdlWindowBackend::destroy() {
  if (!video_started_) return;
  if (window_.window() != nullptr) {
    pump_.keep_unread_keys();
    if (screen_saver_was_on_) SDL_EnableScreenSaver();
  }
  display_fd_ = -1;
  window_.destroy();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  stop_watching_display_loss();
  video_started_ = false;
  screen_saver_was_on_ = false;
}

void SdlWindowBackend::watch_connection() {
  display_fd_ = -1;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_.window(), &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return;
  }
  if (wake_fd_ < 0) wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd_ >= 0) display_fd_ = ConnectionNumber(info.info.x11.display);
}

void SdlWindowBackend::wait(Deadline deadline) {
  if (display_fd_ >= 0) {
    wait_on_connection(deadline);
    return;
  }
  if (deadline == Deadline::max()) {
    SDL_WaitEvent(nullptr);
    return;
  }
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(left.count()));
}

void SdlWindowBackend::wait_on_connection(Deadline deadline) {
  // What the connection has already read is in SDL's queue after the pump: from then on
  // anything new makes its socket readable.
  SDL_PumpEvents();
  if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE) return;
  int timeout = -1;
  if (deadline != Deadline::max()) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    timeout = static_cast<int>(std::max<int64_t>(left.count(), 0));
  }
  pollfd ready[2] = {{display_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
  poll(ready, 2, timeout);
  uint64_t wakes = 0;
  while (read(wake_fd_, &wakes, sizeof wakes) > 0) {
  }
}

void SdlWindowBackend::wake() {
  if (display_fd_ >= 0) {
    // Not through SDL: its wake-up writes to the X connection from this thread, which Xlib
    // does not allow beside the window thread's own use of it.
    const uint64_t one = 1;
    ssize_t written = write(wake_fd_, &one, sizeof one);
    (void)written;  // a full counter already wakes the thread
    return;
  }
  SDL_Event event{};
  event.type = SDL_USEREVENT;
  SDL_PushEvent(&event);
}

PumpResult SdlWindowBackend::pump(WindowEventSink& sink) {
  const PumpResult result = pump_.pump(sink);
  if (pump_.take_resized()) window_.fit();
  return result;
}

void SdlWindowBackend::upload(const uint32_t* display, int32_t pitch, DisplayLines lines) {
  (void)pitch;  // the texture's lines are the frame's width, as the thread's display lines are
  window_.upload(display, lines);
}

void SdlWindowBackend::set_title(std::string_view title) {
  window_.set_title(std::string(title));
}

void SdlWindowBackend::move_pointer(int32_t x, int32_t y, bool shown) {
  SDL_WarpMouseInWindow(window_.window(), x, y);
  SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

int SdlWindowBackend::display_index() const {
  return std::max(SDL_GetWindowDisplayIndex(window_.window()), 0);
}

int32_t SdlWindowBackend::refresh_rate() {
  SDL_DisplayMode mode{};
  return SDL_GetCurrentDisplayMode(display_index(), &mode) == 0 ? mode.refresh_rate : 0;
}

std::vector<DisplayMode> SdlWindowBackend::display_modes() {
  std::vector<DisplayMode> modes;
  const int display = display_index();
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    modes.push_back({depth_of(mode.format), mode.w << 16 | mode.h});
  }
  return modes;
}

}  // namespace textscreen::platform
