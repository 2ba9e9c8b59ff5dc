#include "platform/sdl/module/sdl_tone.h"
#include "platform/sdl/sdl_module.h"

extern "C" __attribute__((visibility("default"))) const SdlModule* textscreen_sdl_module() {
  static const SdlModule module{SDL_MODULE_VERSION, textscreen::platform::play_sdl_tone};
  return &module;
}
