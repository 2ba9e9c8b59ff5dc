#include "platform/sdl/module/sdl_window_backend.h"

#include <algorithm>
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
  window_.destroy();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  stop_watching_display_loss();
  video_started_ = false;
  screen_saver_was_on_ = false;
}

void SdlWindowBackend::wait(Deadline deadline) {
  if (deadline == Deadline::max()) {
    SDL_WaitEvent(nullptr);
    return;
  }
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(left.count()));
}

void SdlWindowBackend::wake() {
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
