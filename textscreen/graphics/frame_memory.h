// Frame memory: buffers that may not be had (a screen of many pages is the program's
// wish, not a promise), and the pixel routines of each depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace textscreen::detail {

// A zero-filled array, or null when the memory cannot be had.
template <typename T>
std::unique_ptr<T[]> allocate_zeroed(size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// Frame pages start on a cache line: a line of pixels stored a cache line at a time then
// touches one cache line per store, not two.
constexpr std::align_val_t PAGE_ALIGNMENT{64};
struct PageRelease {
  void operator()(uint8_t* bytes) const { ::operator delete[](bytes, PAGE_ALIGNMENT); }
};
using PageBytes = std::unique_ptr<uint8_t[], PageRelease>;

// A zero-filled page, or null when the memory cannot be had.
inline PageBytes allocate_page(size_t bytes) {
  auto* page = static_cast<uint8_t*>(::operator new[](bytes, PAGE_ALIGNMENT, std::nothrow));
  if (page != nullptr) std::memset(page, 0, bytes);
  return PageBytes(page);
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

// The routines of a depth after the depth rules (1, 2, 4, 8, 16 or 32), the fastest this
// processor runs.
const PixelRoutines& pixel_routines(int32_t depth);
// The same without instructions only some processors have: what the others run.
const PixelRoutines& portable_pixel_routines(int32_t depth);

}  // namespace textscreen::detail
