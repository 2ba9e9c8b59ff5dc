// The "OpenGL" display driver: an SDL window with an OpenGL context that the program draws
// into itself. Only when the program asks for OpenGL. It has no window thread and no frame
// to present: the program's thread owns the context, and `flip` handles the window's events
// (through the event policy every window shares) and shows what was drawn.
#pragma once

#include <SDL.h>

#include <optional>
#include <string>

#include "platform/display_driver.h"
#include "platform/sdl/module/sdl_event_pump.h"
#include "platform/window/window_policy.h"

namespace textscreen::platform {

class SdlGlDriver final : public DisplayDriver {
 public:
  ~SdlGlDriver() override;

  std::string_view name() const override { return "OpenGL"; }
  int32_t open(std::string_view title, int32_t width, int32_t height, int32_t depth,
               int32_t refresh, int32_t flags, DisplayHost& host) override;
  void close() override;
  void lock() override {}
  void unlock() override {}
  void set_palette(int32_t, int32_t, int32_t, int32_t) override {}
  void wait_retrace() override;
  int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  int32_t set_mouse(int32_t x, int32_t y, int32_t shown) override;
  void set_title(std::string_view title) override;
  int32_t list_modes(int32_t depth, int32_t* modes, int32_t capacity) override;
  void flip() override;

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool video_started_ = false;
  int32_t refresh_rate_ = 0;
  DisplayHost* host_ = nullptr;
  std::optional<WindowPolicy> policy_;  // one per window
  SdlEventPump pump_;                   // from one window to the next, with its unread keys
  std::string unread_text_;             // likewise
};

}  // namespace textscreen::platform
