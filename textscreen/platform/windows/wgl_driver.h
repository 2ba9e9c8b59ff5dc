// The "OpenGL" display driver of Windows: a window whose pixel format OpenGL draws into, with
// the rendering context current on the program's thread. Only when the program asks for
// OpenGL. It has no window thread and no frame to present: the program's thread owns the
// window, and `flip` handles its messages (through the event policy every window shares),
// refreshes the held keys and swaps the buffers. No switching between window and full
// screen: the context belongs to the window it was made on.
#pragma once

#include <optional>
#include <string>

#include "platform/display_driver.h"
#include "platform/window/window_policy.h"
#include "platform/windows/wgl_presenter.h"
#include "platform/windows/win32_window_backend.h"

namespace textscreen::platform {

class WglDriver final : public DisplayDriver {
 public:
  WglDriver();
  ~WglDriver() override;

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
  WglPresenter* presenter_;     // owned by the backend
  Win32WindowBackend backend_;  // from one window to the next, with its unread keys
  bool window_open_ = false;
  int32_t refresh_rate_ = 0;
  std::vector<DisplayMode> display_modes_;
  DisplayHost* host_ = nullptr;
  std::optional<WindowPolicy> policy_;  // one per window
  std::string unread_text_;             // typed bytes the host had no room for, kept likewise
};

}  // namespace textscreen::platform
