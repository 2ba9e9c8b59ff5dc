#include "platform/windows/windows_display_drivers.h"

#include <memory>

#include "platform/window/window_thread_driver.h"
#include "platform/windows/gdi_window_backend.h"

namespace textscreen::platform {

std::span<DisplayDriver* const> windows_display_drivers() {
  // The GDI window on the shared window thread; the Null driver is chosen by name.
  static WindowThreadDriver gdi("GDI", std::make_unique<GdiWindowBackend>());
  static DisplayDriver* const drivers[] = {&gdi};
  return drivers;
}

}  // namespace textscreen::platform
