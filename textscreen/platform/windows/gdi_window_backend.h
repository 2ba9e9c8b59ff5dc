// The GDI window: a Windows window of the client size asked for, centred, with a caption, a
// system menu and a minimise box (no maximise box, no resizing border); the lines the window
// thread converts are kept in a 32-bit top-down device-independent bitmap and the changed
// ones blitted to the window. It has no full screen: a switch leaves the window as it is.
// The screen saver is off while the window exists.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <deque>
#include <string>

#include "platform/window/window_backend.h"
#include "platform/windows/window_messages.h"

namespace textscreen::platform {

class GdiWindowBackend final : public WindowBackend {
 public:
  GdiWindowBackend();
  ~GdiWindowBackend() override;
  GdiWindowBackend(const GdiWindowBackend&) = delete;
  GdiWindowBackend& operator=(const GdiWindowBackend&) = delete;

  bool create(const WindowSettings& settings, WindowEventSink& sink) override;
  void destroy() override;
  void wait(Deadline deadline) override;
  void wake() override;
  PumpResult pump(WindowEventSink& sink) override;
  void read_key_states(uint8_t* key_states) override;
  void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) override;
  void present() override;
  void set_title(std::string_view title) override;
  void move_pointer(int32_t x, int32_t y, bool shown) override;
  void switch_full_screen() override {}
  int32_t refresh_rate() override;
  std::vector<DisplayMode> display_modes() override;

 private:
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  // Whether the sink has room for what the message would give it.
  bool fits(const MSG& message, WindowEventSink& sink) const;

  HANDLE wake_event_;
  HWND window_ = nullptr;
  std::wstring class_name_;
  HBITMAP bitmap_ = nullptr;
  HDC bitmap_dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t dirty_first_ = 0;  // the lines uploaded since the last present: [first, end)
  int32_t dirty_end_ = 0;
  BOOL screen_saver_was_active_ = FALSE;
  bool screen_saver_changed_ = false;
  bool pointer_hidden_ = false;
  WindowEventSink* sink_ = nullptr;  // during `pump` only
  WindowMessageState state_;
  // Key and character messages the last window left unread, for the next one.
  std::deque<MSG> unread_;
};

}  // namespace textscreen::platform
