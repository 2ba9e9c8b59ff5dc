#include "platform/sdl/module/video_start.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace textscreen::platform {
namespace {

bool named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

bool video_shows_windows() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  if (named("SDL_VIDEODRIVER")) return true;
  return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

}  // namespace

bool display_named() {
  return named("DISPLAY") || named("WAYLAND_DISPLAY") || named("SDL_VIDEODRIVER");
}

bool start_video() {
  // The terminal's handlers own the signals.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The window's close box is a key for the program, not the end of it.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  const bool x11_alone = named("DISPLAY") && !named("WAYLAND_DISPLAY");
  SDL_SetHint(SDL_HINT_VIDEODRIVER, x11_alone ? "x11" : nullptr);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (video_shows_windows()) return true;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return false;
}

}  // namespace textscreen::platform
