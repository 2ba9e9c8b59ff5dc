// The entry point of the SDL module: the part of the platform that uses SDL2, built as a
// shared module of its own and loaded on first need, so that a program that never plays a
// tone or opens a window neither loads SDL2 nor needs it installed. Shared by the module
// and its loader. The display drivers cross as C++ objects: the module and the library are
// built by the same build with the same compiler, and the version check below refuses a
// module of another build.
#pragma once

#include <cstdint>

#include "platform/display_driver.h"

extern "C" {

// Bumped whenever this record changes: a loader refuses a module of another version.
constexpr uint32_t SDL_MODULE_VERSION = 3;

struct SdlModule {
  uint32_t version;
  // Plays a square-wave tone and returns when it has ended; false (at once) when no audio
  // output opens. Program's thread.
  bool (*play_tone)(int frequency, int milliseconds);
  // A new window driver ("SDL") and a new OpenGL driver ("OpenGL"), owned by the caller and
  // deleted through DisplayDriver's virtual destructor.
  textscreen::platform::DisplayDriver* (*new_window_driver)();
  textscreen::platform::DisplayDriver* (*new_gl_driver)();
};

// The one exported symbol of the module.
const SdlModule* textscreen_sdl_module();
}

namespace textscreen::platform {
constexpr const char* SDL_MODULE_ENTRY = "textscreen_sdl_module";
constexpr const char* SDL_MODULE_FILE = "libtextscreen_sdl.so";
}  // namespace textscreen::platform
