// The GDI presenter: the frame in a 32-bit top-down device-independent bitmap, the lines
// uploaded since the last present blitted to the window in one call. It never fills the
// screen.
#pragma once

#include "platform/windows/window_presenter.h"

namespace textscreen::platform {

class GdiPresenter final : public WindowPresenter {
 public:
  ~GdiPresenter() override { close(); }

  bool can_fill_screen() const override { return false; }
  bool open(HWND window, int32_t width, int32_t height, bool full_screen) override;
  void close() override;
  void upload(const uint32_t* display, int32_t pitch, DisplayLines lines) override;
  bool present() override;
  void repaint(HDC dc) override;
  bool read_key_states(uint8_t*) override { return false; }

 private:
  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HDC bitmap_dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  DisplayLines dirty_;  // uploaded since the last present
};

}  // namespace textscreen::platform
