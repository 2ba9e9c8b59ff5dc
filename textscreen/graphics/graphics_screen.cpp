#include "graphics/graphics_screen.h"

namespace textscreen::detail {

// No display driver is built in yet: every graphics mode falls back to the console.
bool graphics_screen_open() {
  return false;
}

void close_graphics_screen() {}

bool open_graphics_screen(int32_t /*mode*/, int32_t /*depth*/, int32_t /*pages*/, int32_t /*flags*/,
                          int32_t /*refresh*/) {
  return false;
}

}  // namespace textscreen::detail
