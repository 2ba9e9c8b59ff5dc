// The screen modes: 0 is the console; 1-21 graphics screens, of which 3-6 do not exist.
#pragma once

#include <cstdint>

namespace textscreen::detail {

enum class DefaultPalette { two_colours, sixteen_colours, sixty_four_colours, full_256 };

struct ModeInfo {
  int32_t width;  // -1: the mode does not exist
  int32_t height;
  int32_t depth;
  int32_t line_scale;
  DefaultPalette palette;
  int32_t glyph_height;  // of the 8-pixel-wide font
  int32_t text_columns;
  int32_t text_rows;
};

constexpr int32_t CONSOLE_MODE = 0;
constexpr int32_t LAST_MODE = 21;

// The row of a graphics mode 1-21.
const ModeInfo& mode_info(int32_t mode);
// Whether `mode` names the console or an existing graphics mode.
bool mode_exists(int32_t mode);

}  // namespace textscreen::detail
