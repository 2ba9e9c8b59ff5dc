#include "graphics/frame_memory.h"

#include <array>
#include <bit>
#include <cstring>

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

void glyph_row8(uint8_t* line, int32_t x, uint8_t bits, uint32_t foreground, uint32_t background) {
  const uint64_t fg = (foreground & 0xFF) * 0x0101010101010101ull;
  const uint64_t bg = (background & 0xFF) * 0x0101010101010101ull;
  const uint64_t mask = BYTE_MASKS[bits];
  const uint64_t row = (fg & mask) | (bg & ~mask);
  std::memcpy(line + x, &row, sizeof row);
}

template <typename Pixel>
void fill_wide(uint8_t* line, int32_t x, int32_t count, uint32_t colour) {
  auto value = static_cast<Pixel>(colour);
  for (int32_t i = 0; i < count; ++i)
    std::memcpy(line + (x + i) * sizeof(Pixel), &value, sizeof value);
}

template <typename Pixel>
void glyph_row_wide(uint8_t* line, int32_t x, uint8_t bits, uint32_t foreground,
                    uint32_t background) {
  std::array<Pixel, 8> row;
  for (int32_t bit = 0; bit < 8; ++bit) {
    row[bit] = static_cast<Pixel>(((bits >> bit) & 1u) ? foreground : background);
  }
  std::memcpy(line + x * sizeof(Pixel), row.data(), sizeof row);
}

constexpr PixelRoutines ONE_BYTE{1, fill8, glyph_row8};
constexpr PixelRoutines TWO_BYTES{2, fill_wide<uint16_t>, glyph_row_wide<uint16_t>};
constexpr PixelRoutines FOUR_BYTES{4, fill_wide<uint32_t>, glyph_row_wide<uint32_t>};

}  // namespace

const PixelRoutines& pixel_routines(int32_t depth) {
  if (depth <= 8) return ONE_BYTE;
  if (depth <= 16) return TWO_BYTES;
  return FOUR_BYTES;
}

}  // namespace textscreen::detail
