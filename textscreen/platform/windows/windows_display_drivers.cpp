#include "platform/windows/windows_display_drivers.h"

#include <memory>

#include "platform/window/window_thread_driver.h"
#include "platform/windows/direct_draw_presenter.h"
#include "platform/windows/gdi_presenter.h"
#include "platform/windows/wgl_driver.h"
#include "platform/windows/win32_window_backend.h"

namespace textscreen::platform {

std::span<DisplayDriver* const> windows_display_drivers() {
  // DirectDraw first, then the GDI window, both on the shared window thread, then OpenGL
  // (only when asked for); the Null driver is chosen by name.
  static WindowThreadDriver direct_x(
      "DirectX", std::make_unique<Win32WindowBackend>(std::make_unique<DirectDrawPresenter>()));
  static WindowThreadDriver gdi(
      "GDI", std::make_unique<Win32WindowBackend>(std::make_unique<GdiPresenter>()));
  static WglDriver opengl;
  static DisplayDriver* const drivers[] = {&direct_x, &gdi, &opengl};
  return drivers;
}

}  // namespace textscreen::platform
