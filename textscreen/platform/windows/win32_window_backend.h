// A Windows window for the shared window thread: a window of its own class (a wide one, so
// that typed characters arrive as UTF-16), centred, with a caption, a system menu and a
// minimise box (a maximise box for the whole screen where the presenter can fill it; no
// resizing border), whose client area is the frame; or a
// popup covering the screen. Its messages go to the window's events (window_messages.h);
// its presenter puts the frame on the screen. The screen saver is off while it exists.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "platform/window/window_backend.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_presenter.h"
#include "platform/windows/windows_api.h"

namespace textscreen::platform {

class Win32WindowBackend final : public WindowBackend {
 public:
  // The message, registered under this name, that shows the window's pointer (first
  // parameter non-zero) or hides it: any thread or process may send it to the window.
  static constexpr const wchar_t* POINTER_MESSAGE = L"VX mouse cursor";

  explicit Win32WindowBackend(std::unique_ptr<WindowPresenter> presenter);
  ~Win32WindowBackend() override;
  Win32WindowBackend(const Win32WindowBackend&) = delete;
  Win32WindowBackend& operator=(const Win32WindowBackend&) = delete;

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
  void switch_full_screen() override;
  int32_t refresh_rate() override;
  std::vector<DisplayMode> display_modes() override;

 private:
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  // Shows or hides the pointer over the window.
  void show_pointer(bool shown);
  // Whether the sink has room for what the message would give it.
  bool fits(const MSG& message, WindowEventSink& sink) const;

  std::unique_ptr<WindowPresenter> presenter_;
  HANDLE wake_event_;
  UINT pointer_message_;
  HWND window_ = nullptr;
  std::wstring class_name_;
  WindowSettings settings_;
  WindowEventSink* creator_sink_ = nullptr;  // for the window made again by a switch
  bool presenter_open_ = false;
  bool lines_lost_ = false;  // the presenter lost its surfaces: every line again
  BOOL screen_saver_was_active_ = FALSE;
  bool screen_saver_changed_ = false;
  bool pointer_hidden_ = false;
  WindowEventSink* sink_ = nullptr;  // during `pump` only
  WindowMessageState state_;
  // Key and character messages the last window left unread, for the next one.
  std::deque<MSG> unread_;
};

}  // namespace textscreen::platform
