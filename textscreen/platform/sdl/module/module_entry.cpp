#include "platform/sdl/module/sdl_gl_driver.h"
#include "platform/sdl/module/sdl_tone.h"
#include "platform/sdl/module/sdl_window_backend.h"
#include "platform/sdl/sdl_module.h"
#include "platform/window/window_thread_driver.h"

namespace {

textscreen::platform::DisplayDriver* new_window_driver() {
  using namespace textscreen::platform;
  auto backend = std::unique_ptr<WindowBackend>(new (std::nothrow) SdlWindowBackend);
  if (!backend) return nullptr;
  return new (std::nothrow) WindowThreadDriver("SDL", std::move(backend));
}

textscreen::platform::DisplayDriver* new_gl_driver() {
  return new (std::nothrow) textscreen::platform::SdlGlDriver;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const SdlModule* textscreen_sdl_module() {
  static const SdlModule module{SDL_MODULE_VERSION, textscreen::platform::play_sdl_tone,
                                new_window_driver, new_gl_driver};
  return &module;
}
