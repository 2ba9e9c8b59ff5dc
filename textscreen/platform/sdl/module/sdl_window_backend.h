// The SDL backend of the window thread: an SDL window with a software renderer and a
// streaming ARGB8888 texture (sdl_window.h), SDL's events through the event pump, and a
// user event pushed into SDL's queue as the thread's wake-up. Every SDL video call happens
// on the window thread; `wake` only pushes an event, which SDL allows from any thread.
#pragma once

#include "platform/sdl/module/sdl_event_pump.h"
#include "platform/sdl/module/sdl_window.h"
#include "platform/window/window_backend.h"

namespace textscreen::platform {

class SdlWindowBackend final : public WindowBackend {
 public:
  ~SdlWindowBackend() override { destroy(); }

  bool create(const WindowSettings& settings, WindowEventSink& sink) override;
  void destroy() override;
  void wait(Deadline deadline) override;
  void wake() override;
  PumpResult pump(WindowEventSink& sink) override;
  void read_key_states(uint8_t* key_states) override { pump_.read_key_states(key_states); }
  void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) override;
  void present() override { window_.present(); }
  void set_title(std::string_view title) override;
  void move_pointer(int32_t x, int32_t y, bool shown) override;
  void switch_full_screen() override { window_.switch_full_screen(); }
  int32_t refresh_rate() override;
  std::vector<DisplayMode> display_modes() override;

 private:
  int display_index() const;

  SdlWindow window_;
  SdlEventPump pump_;  // kept from one window to the next, with the keys it left unread
  bool video_started_ = false;
  bool screen_saver_was_on_ = false;
};

}  // namespace textscreen::platform
