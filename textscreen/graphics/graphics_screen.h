// Opening and closing the graphics screen of a mode, and the way back to the console.
#pragma once

#include <cstdint>

#include "platform/display_driver.h"

namespace textscreen::detail {

// screen_mode flags: those a display driver serves, and one of screen_mode's own.
using platform::MODE_FULLSCREEN;
using platform::MODE_NO_SWITCH;
using platform::MODE_OPENGL;
constexpr int32_t MODE_CLOSE_ONLY = static_cast<int32_t>(0x80000000u);

bool graphics_screen_open();
// Closes the open graphics screen and its window, if any.
void close_graphics_screen();
// Builds the screen of a graphics mode and opens it through the first display driver that
// opens, filling the screen slots; false when no driver opens (nothing is left behind).
bool open_graphics_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags,
                          int32_t refresh);

}  // namespace textscreen::detail
