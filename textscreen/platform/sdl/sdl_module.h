// The entry point of the SDL module: the part of the platform that uses SDL2, built as a
// shared module of its own and loaded on first need, so that a program that never plays a
// tone or opens a window neither loads SDL2 nor needs it installed. Shared by the module
// and its loader; plain C types only, since the two are built apart.
#pragma once

#include <cstdint>

extern "C" {

// Bumped whenever this record changes: a loader refuses a module of another version.
constexpr uint32_t SDL_MODULE_VERSION = 1;

struct SdlModule {
  uint32_t version;
  // Plays a square-wave tone and returns when it has ended; false (at once) when no audio
  // output opens. Program's thread.
  bool (*play_tone)(int frequency, int milliseconds);
};

// The one exported symbol of the module.
const SdlModule* textscreen_sdl_module();
}

namespace textscreen::platform {
constexpr const char* SDL_MODULE_ENTRY = "textscreen_sdl_module";
constexpr const char* SDL_MODULE_FILE = "libtextscreen_sdl.so";
}  // namespace textscreen::platform
