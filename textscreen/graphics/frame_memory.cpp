#include "graphics/frame_memory.h"

#include <array>
#include <bit>
#include <cstring>

#include "graphics/avx512_text.h"

namespace textscreen::detail {
namespace {

// Each glyph row's 8 bits spread to 8 bytes, 0xFF where the bit is set: a whole row of a
// one-byte-per-pixel frame is then drawn with one 8-byte store.
constexpr std::array<uint64_t, 256> make_byte_masks() {
  std::array<uint64_t, 256> masks{};
  for (uint32_t bits = 0; bits < 256; ++bits) {
    uint64_t mask = 0;
    for (uint32_t bit = 0; bit < 8; ++bit) {
      if ((bits >> bit) & 1u) mask |= uint64_t{0xFF} << (8 * bit);
    }
    masks[bits] = mask;
  }
  return masks;
}
constexpr std::array<uint64_t, 256> BYTE_MASKS = make_byte_masks();

static_assert(std::endian::native == std::endian::little,
              "the glyph masks put the leftmost pixel in the lowest byte");

void fill8(uint8_t* line, int32_t x, int32_t count, uint32_t colour) {
  std::memset(line + x, static_cast<int>(colour & 0xFF), static_cast<size_t>(count));
}

// The rows of every glyph of a font already spread to pixels in one pair of colours: drawing
// a glyph row is then one 8-byte copy. Rebuilt when the colours or the font change, which
// costs about as much as drawing a fifth of a screen.
class ExpandedGlyphs {
 public:
  const uint64_t* rows(const uint8_t* font, int32_t glyph_height, uint32_t foreground,
                       uint32_t background) {
    const uint8_t fg = foreground & 0xFF;
    const uint8_t bg = background & 0xFF;
    if (font != font_ || glyph_height != glyph_height_ || fg != fg_ || bg != bg_) {
      font_ = font;
      glyph_height_ = glyph_height;
      fg_ = fg;
      bg_ = bg;
      const uint64_t back = bg * 0x0101010101010101ull;
      const uint64_t difference = (fg * 0x0101010101010101ull) ^ back;
      for (int32_t i = 0; i < 256 * glyph_height; ++i) {
        rows_[i] = back ^ (difference & BYTE_MASKS[font[i]]);
      }
    }
    return rows_.data();
  }

 private:
  const uint8_t* font_ = nullptr;
  int32_t glyph_height_ = 0;
  uint8_t fg_ = 0;
  uint8_t bg_ = 0;
  std::array<uint64_t, 256 * 16> rows_{};
};

void glyph_run8(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                int32_t glyph_height, const uint8_t* bytes, int32_t count, uint32_t foreground,
                uint32_t background) {
  // Only the program's thread draws.
  static ExpandedGlyphs expanded;
  const uint64_t* rows = expanded.rows(font, glyph_height, foreground, background);
  // Two cells at a time, so each line gets 16-byte stores.
  int32_t i = 0;
  for (; i + 1 < count; i += 2) {
    const uint64_t* left = rows + bytes[i] * glyph_height;
    const uint64_t* right = rows + bytes[i + 1] * glyph_height;
    for (int32_t j = 0; j < glyph_height; ++j) {
      const uint64_t pair[2] = {left[j], right[j]};
      std::memcpy(lines[top + j] + x + 8 * i, pair, sizeof pair);
    }
  }
  if (i < count) {
    const uint64_t* glyph = rows + bytes[i] * glyph_height;
    for (int32_t j = 0; j < glyph_height; ++j) {
      std::memcpy(lines[top + j] + x + 8 * i, &glyph[j], sizeof(uint64_t));
    }
  }
}

template <typename Pixel>
void fill_wide(uint8_t* line, int32_t x, int32_t count, uint32_t colour) {
  auto value = static_cast<Pixel>(colour);
  for (int32_t i = 0; i < count; ++i)
    std::memcpy(line + (x + i) * sizeof(Pixel), &value, sizeof value);
}

template <typename Pixel>
void glyph_run_wide(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                    int32_t glyph_height, const uint8_t* bytes, int32_t count, uint32_t foreground,
                    uint32_t background) {
  for (int32_t j = 0; j < glyph_height; ++j) {
    auto* out = lines[top + j] + x * sizeof(Pixel);
    for (int32_t i = 0; i < count; ++i) {
      std::array<Pixel, 8> row;
      const uint8_t bits = font[bytes[i] * glyph_height + j];
      for (int32_t bit = 0; bit < 8; ++bit) {
        row[bit] = static_cast<Pixel>(((bits >> bit) & 1u) ? foreground : background);
      }
      std::memcpy(out + i * sizeof row, row.data(), sizeof row);
    }
  }
}

constexpr PixelRoutines PORTABLE_ONE_BYTE{1, fill8, glyph_run8};
constexpr PixelRoutines TWO_BYTES{2, fill_wide<uint16_t>, glyph_run_wide<uint16_t>};
constexpr PixelRoutines FOUR_BYTES{4, fill_wide<uint32_t>, glyph_run_wide<uint32_t>};

}  // namespace

const PixelRoutines& pixel_routines(int32_t depth) {
  // Text is drawn with the processor's widest stores where it has them.
  static const GlyphRun vector = avx512_glyph_run8();
  static const PixelRoutines one_byte{1, fill8, vector != nullptr ? vector : glyph_run8};
  if (depth <= 8) return one_byte;
  if (depth <= 16) return TWO_BYTES;
  return FOUR_BYTES;
}

const PixelRoutines& portable_pixel_routines(int32_t depth) {
  return depth <= 8 ? PORTABLE_ONE_BYTE : pixel_routines(depth);
}

}  // namespace textscreen::detail
