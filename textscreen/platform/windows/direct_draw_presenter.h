// The DirectX presenter: DirectDraw and DirectInput, both loaded by name when the driver is
// first opened (ddraw.dll, dinput.dll), so that a system without them still starts the
// program. In a window: the primary surface with a clipper for the window and an offscreen
// surface of the primary's pixel format, the uploaded lines blitted to the window's place.
// On the whole screen: the display's mode changed to the frame's size (or the next size that
// holds it, the frame centred vertically), and the same blit. Lost surfaces are restored. The
// DirectInput keyboard is the table of held keys.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0300
#endif
#include <ddraw.h>
#include <dinput.h>

#include <vector>

#include "platform/windows/window_presenter.h"

namespace textscreen::platform {

class DirectDrawPresenter final : public WindowPresenter {
 public:
  ~DirectDrawPresenter() override { close(); }

  bool can_fill_screen() const override { return true; }
  bool open(HWND window, int32_t width, int32_t height, bool full_screen) override;
  void close() override;
  void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) override;
  bool present() override;
  void repaint(HDC dc) override;
  bool read_key_states(uint8_t* key_states) override;

 private:
  // A display mode the frame fits: its height (the frame's own or a taller one, the frame
  // centred) and depth.
  struct ScreenMode {
    int32_t height = 0;
    int32_t depth = 0;
  };
  // The display's modes that hold the frame, in the order they are tried.
  std::vector<ScreenMode> screen_modes();
  // The first of `modes` the display takes; false when it refused them all.
  bool change_display_mode(const std::vector<ScreenMode>& modes);
  bool make_surfaces();
  void open_keyboard();
  // Blits surface lines [first, end) to the screen; false when a surface was lost.
  bool blit(int32_t first, int32_t end);
  // One channel of the primary's pixel format: where it sits and how many bits it has.
  struct Channel {
    int shift = 0;
    int bits = 8;
  };
  static Channel channel_of(DWORD mask);
  uint32_t pixel_of(uint32_t argb) const;

  HWND window_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool full_screen_ = false;
  int32_t top_ = 0;  // the frame's first line on the screen, when it fills the screen
  bool mode_changed_ = false;
  IDirectDraw2* draw_ = nullptr;
  IDirectDrawSurface* primary_ = nullptr;
  IDirectDrawSurface* offscreen_ = nullptr;
  IDirectDrawClipper* clipper_ = nullptr;
  int32_t bytes_per_pixel_ = 4;
  Channel red_, green_, blue_;
  IDirectInputA* input_ = nullptr;
  IDirectInputDeviceA* keyboard_ = nullptr;
  DisplayLines dirty_;
};

}  // namespace textscreen::platform
