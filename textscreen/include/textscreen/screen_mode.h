// Screen modes: 0 is the console; 1-21 are graphics screens (mode 12: 640x480, 80x30 text
// cells of 8x16). When no graphics screen can be opened the program stays on the console.
#pragma once

#include <cstdint>

namespace textscreen {

void screen_mode(int32_t mode, int32_t depth, int32_t pages, int32_t flags, int32_t refresh);

}  // namespace textscreen
