// Frame memory: buffers that may not be had (a screen of many pages is the program's
// wish, not a promise), and the pixel routines of each depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace textscreen::detail {

// A zero-filled array, or null when the memory cannot be had.
template <typename T>
std::unique_ptr<T[]> allocate_zeroed(size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// How the pixels of one depth are stored and drawn: one byte (a colour number) for depths
// up to 8, two bytes for 16 (red 5, green 6, blue 5 bits), four bytes for 32 (0x00RRGGBB).
struct PixelRoutines {
  int32_t bytes_per_pixel;
  // Sets `count` pixels of a line from pixel `x` on to `colour`.
  void (*fill)(uint8_t* line, int32_t x, int32_t count, uint32_t colour);
  // Draws the glyphs of `count` bytes side by side from pixel `x` of line `top` on. A glyph
  // is `glyph_height` bytes from `font + byte * glyph_height`, bit 0 of each the leftmost
  // pixel; a set bit takes the foreground, a clear one the background. `lines` is the
  // page's line table.
  void (*glyph_run)(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                    int32_t glyph_height, const uint8_t* bytes, int32_t count, uint32_t foreground,
                    uint32_t background);
};

// The routines of a depth after the depth rules (1, 2, 4, 8, 16 or 32).
const PixelRoutines& pixel_routines(int32_t depth);

}  // namespace textscreen::detail
