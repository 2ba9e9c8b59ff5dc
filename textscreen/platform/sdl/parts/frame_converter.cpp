#include "platform/sdl/parts/frame_converter.h"

#include <algorithm>

namespace textscreen::platform {
namespace {

// A component of `bits` bits widened to 8, so that the largest value gives 255.
constexpr uint32_t widen(uint32_t value, int bits) {
  return (value << (8 - bits)) | (value >> (2 * bits - 8));
}

}  // namespace

void FrameConverter::set_palette(const uint32_t* shown_palette) {
  for (size_t i = 0; i < indexed_.size(); ++i) {
    indexed_[i] = argb_of_palette_colour(shown_palette[i]);
  }
}

// Built when a 16-bit frame comes, not before: most screens never need it.
void FrameConverter::choose_depth(int32_t depth) {
  if (depth == depth_) return;
  depth_ = depth;
  if (depth != 16) return;
  for (uint32_t byte = 0; byte < 256; ++byte) {
    // Low byte: green's low 3 bits (5-7) and blue (0-4); high byte: red (3-7) and green's
    // high 3 bits (0-2).
    const uint32_t low_green = byte >> 5;
    const uint32_t blue = byte & 0x1F;
    halves_[byte] = 0xFF000000u | low_green << (8 + 2) | widen(blue, 5);
    const uint32_t red = byte >> 3;
    const uint32_t high_green = byte & 0x07;
    halves_[256 + byte] = widen(red, 5) << 16 | high_green << (8 + 5);
  }
}

void FrameConverter::convert_line(const FrameView& frame, const uint8_t* source, uint32_t* target) {
  if (frame.depth <= 8) {
    for (int32_t x = 0; x < frame.width; ++x) target[x] = indexed_[source[x]];
  } else if (frame.depth == 16) {
    for (int32_t x = 0; x < frame.width; ++x) {
      uint32_t colour = halves_[source[2 * x]] | halves_[256 + source[2 * x + 1]];
      // Green's six bits are split over both bytes: widen it once they are together.
      const uint32_t green = colour >> 10 & 0x3F;
      target[x] = (colour & 0xFFFF00FFu) | widen(green, 6) << 8;
    }
  } else {
    const auto* pixels = reinterpret_cast<const uint32_t*>(source);
    for (int32_t x = 0; x < frame.width; ++x) target[x] = 0xFF000000u | pixels[x];
  }
}

DisplayLines FrameConverter::convert(const FrameView& frame, uint32_t* display,
                                     int32_t display_pitch) {
  choose_depth(frame.depth);
  const int32_t scale = std::max(frame.line_scale, 1);
  DisplayLines lines{frame.height * scale, 0};
  for (int32_t f = 0; f < frame.height; ++f) {
    if (frame.dirty[f] == 0) continue;
    uint32_t* first_target = display + static_cast<size_t>(f) * scale * display_pitch;
    convert_line(frame, frame.pixels + static_cast<size_t>(f) * frame.pitch, first_target);
    for (int32_t copy = 1; copy < scale; ++copy) {
      std::copy_n(first_target, frame.width,
                  first_target + static_cast<size_t>(copy) * display_pitch);
    }
    lines.first = std::min(lines.first, f * scale);
    lines.end = f * scale + scale;
  }
  std::fill_n(frame.dirty, frame.height, uint8_t{0});
  return lines.empty() ? DisplayLines{} : lines;
}

}  // namespace textscreen::platform
