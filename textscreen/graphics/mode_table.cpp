#include "graphics/mode_table.h"

#include <array>
#include <cstddef>

namespace textscreen::detail {
namespace {

using enum DefaultPalette;

constexpr ModeInfo MISSING{-1, 0, 0, 0, two_colours, 0, 0, 0};

constexpr std::array<ModeInfo, LAST_MODE + 1> MODES{{
    MISSING,  // the console has no row
    {320, 200, 2, 1, sixteen_colours, 8, 40, 25},
    {640, 200, 1, 2, sixteen_colours, 8, 80, 25},
    MISSING,
    MISSING,
    MISSING,
    MISSING,
    {320, 200, 4, 1, sixteen_colours, 8, 40, 25},
    {640, 200, 4, 2, sixteen_colours, 8, 80, 25},
    {640, 350, 4, 1, sixty_four_colours, 14, 80, 25},
    {640, 350, 1, 1, two_colours, 14, 80, 25},
    {640, 480, 1, 1, two_colours, 16, 80, 30},
    {640, 480, 4, 1, full_256, 16, 80, 30},
    {320, 200, 8, 1, full_256, 8, 40, 25},
    {320, 240, 8, 1, full_256, 8, 40, 30},
    {400, 300, 8, 1, full_256, 8, 50, 37},
    {512, 384, 8, 1, full_256, 16, 64, 24},
    {640, 400, 8, 1, full_256, 16, 80, 25},
    {640, 480, 8, 1, full_256, 16, 80, 30},
    {800, 600, 8, 1, full_256, 16, 100, 37},
    {1024, 768, 8, 1, full_256, 16, 128, 48},
    {1280, 1024, 8, 1, full_256, 16, 160, 64},
}};

}  // namespace

const ModeInfo& mode_info(int32_t mode) {
  return MODES[static_cast<size_t>(mode)];
}

bool mode_exists(int32_t mode) {
  return mode == CONSOLE_MODE ||
         (mode > CONSOLE_MODE && mode <= LAST_MODE && MODES[mode].width != -1);
}

}  // namespace textscreen::detail
