// The OpenGL presenter: the window gets a pixel format OpenGL draws into and a rendering
// context made current on the thread that opened it (wgl, from opengl32.dll loaded by name
// when the driver is first opened). The program draws; the presenter shows nothing of its
// own, and `present` swaps the buffers. On the whole screen the display's mode takes the
// frame's size and depth.
#pragma once

#include "platform/windows/window_presenter.h"

namespace textscreen::platform {

class WglPresenter final : public WindowPresenter {
 public:
  ~WglPresenter() override { close(); }

  // What the next `open` asks of the pixel format: colour depth in bits, and the screen
  // flags (0x10: a stencil buffer, 0x20: an accumulation buffer).
  void configure(int32_t depth, int32_t flags) {
    depth_ = depth;
    flags_ = flags;
  }

  UINT extra_class_style() const override { return CS_OWNDC; }
  bool can_fill_screen() const override { return true; }
  bool open(HWND window, int32_t width, int32_t height, bool full_screen) override;
  void close() override;
  void upload(const uint32_t*, int32_t, DisplayLines) override {}
  bool present() override;
  void repaint(HDC) override {}
  bool read_key_states(uint8_t*) override { return false; }

 private:
  bool change_display_mode(int32_t width, int32_t height);

  int32_t depth_ = 16;
  int32_t flags_ = 0;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HMODULE library_ = nullptr;
  HGLRC context_ = nullptr;
  bool mode_changed_ = false;
};

}  // namespace textscreen::platform
