// Glyph runs into a one-byte-per-pixel frame, on the processor's fastest path and on the
// portable one: every pixel of a cell takes the foreground where its glyph bit is set and
// the background where not, and nothing outside the cells is touched.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/frame_memory.h"

namespace textscreen::detail {
namespace {

constexpr uint8_t UNTOUCHED = 0xEE;
constexpr int32_t WIDTH = 8 * 90;

TEST(GlyphRuns, DrawEachGlyphBitInItsColourAndNothingBeside) {
  std::mt19937 random(12);
  const auto byte = [&] { return static_cast<uint8_t>(random()); };
  for (const PixelRoutines* routines : {&pixel_routines(8), &portable_pixel_routines(8)}) {
    for (int32_t height : {8, 14, 16}) {
      // Exactly the font's size, so that a read past its last glyph is seen by the sanitizer.
      std::vector<uint8_t> font(256 * height);
      for (uint8_t& row : font) row = byte();
      for (int32_t count : {1, 7, 8, 9, 17, 80}) {
        std::vector<uint8_t> frame((height + 2) * WIDTH, UNTOUCHED);
        std::vector<uint8_t*> lines;
        for (int32_t y = 0; y < height + 2; ++y) lines.push_back(frame.data() + y * WIDTH);
        std::vector<uint8_t> bytes(count);
        for (uint8_t& b : bytes) b = byte();
        bytes[0] = 255;
        routines->glyph_run(lines.data(), 1, 8, font.data(), height, bytes.data(), count, 10, 3);
        for (int32_t y = 0; y < height + 2; ++y) {
          for (int32_t x = 0; x < WIDTH; ++x) {
            uint8_t expected = UNTOUCHED;
            if (y >= 1 && y <= height && x >= 8 && x < 8 + 8 * count) {
              const int32_t cell = (x - 8) / 8, line = y - 1;
              const bool set = font[bytes[cell] * height + line] >> ((x - 8) % 8) & 1;
              expected = set ? 10 : 3;
            }
            ASSERT_EQ(frame[y * WIDTH + x], expected)
                << "height " << height << ", " << count << " cells, pixel " << x << "," << y;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace textscreen::detail
