// The SDL backend of the window thread: an SDL window with a software renderer and a
// streaming ARGB8888 texture (sdl_window.h) and SDL's events through the event pump. Every
// SDL video call happens on the window thread. On X11 the thread sleeps in poll() on the X
// connection and an event counter of its own, which `wake` counts up from any thread: SDL's
// own wake-up would write to the X connection from the waking thread, beside the window
// thread's use of it. Elsewhere `wake` pushes a user event into SDL's queue.
#pragma once

#include "platform/sdl/module/sdl_event_pump.h"
#include "platform/sdl/module/sdl_window.h"
#include "platform/window/window_backend.h"

namespace textscreen::platform {

class SdlWindowBackend final : public WindowBackend {
 public:
  ~SdlWindowBackend() override;

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
  // On X11: the connection's socket, so that the wait can poll it with the wake-up.
  void watch_connection();
  void wait_on_connection(Deadline deadline);

  SdlWindow window_;
  SdlEventPump pump_;  // kept from one window to the next, with the keys it left unread
  bool video_started_ = false;
  bool screen_saver_was_on_ = false;
  int display_fd_ = -1;  // the X connection's socket; -1 off X11
  int wake_fd_ = -1;     // an eventfd the wake-up counts up, kept for the next window
};

}  // namespace textscreen::platform
