// The window the SDL driver shows the frame in: an SDL window, its renderer and a streaming
// ARGB8888 texture of the mode size, in a window or on the whole desktop. Window thread only.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/window/frame_converter.h"

namespace textscreen::platform {

class SdlWindow {
 public:
  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow() { destroy(); }

  // A centred, titled window whose client area is width × height (or the desktop, full
  // screen); false when any part cannot be made (nothing is left behind then).
  bool create(const std::string& title, int32_t width, int32_t height, bool full_screen);
  void destroy();

  // Between a window and the desktop; a switch that fails gives the window back as it was,
  // and none is tried where the desktop cannot grant it (X11 with no window manager).
  // The texture's contents are not kept: the caller redraws the whole frame.
  void switch_full_screen();
  bool full_screen() const { return full_screen_; }

  // Takes the new size of the drawable: the frame stays centred, scaled with its aspect
  // kept, by a whole factor (nearest pixels) when the drawable holds the frame at least once.
  void fit();

  void upload(const uint32_t* display, DisplayLines lines);
  void present();

  void set_title(const std::string& title);
  SDL_Window* window() const { return window_; }

 private:
  std::string title_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool full_screen_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

}  // namespace textscreen::platform
