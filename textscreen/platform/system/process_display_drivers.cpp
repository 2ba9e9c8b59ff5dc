#include "platform/system/process_display_drivers.h"

#include "platform/sdl/sdl_display_proxy.h"

namespace textscreen::platform {

std::span<DisplayDriver* const> process_display_drivers() {
  // The window first, then OpenGL (only when asked for); the Null driver is chosen by name.
  static SdlDisplayProxy window_driver(SdlDisplayProxy::Kind::window);
  static SdlDisplayProxy gl_driver(SdlDisplayProxy::Kind::opengl);
  static DisplayDriver* const drivers[] = {&window_driver, &gl_driver};
  return drivers;
}

}  // namespace textscreen::platform
