// Finding and loading the SDL module: beside the program first, then in the library's
// install folder.
#pragma once

#include <string>

#include "platform/sdl/sdl_module.h"

namespace textscreen::platform {

// The module of the process, loaded on the first call; null when it cannot be loaded (not
// there, SDL2 missing on the machine, another version). Any thread may call it; the first
// call blocks while the module loads.
const SdlModule* sdl_module();

// The module file in `folder`, loaded; null when that fails. Never unloaded.
const SdlModule* load_sdl_module(const std::string& folder);

}  // namespace textscreen::platform
