#include "platform/window/frame_converter.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace textscreen::platform {
namespace {

// A component of `bits` bits widened to 8, so that the largest value gives 255.
constexpr uint32_t widen(uint32_t value, int bits) {
  return (value << (8 - bits)) | (value >> (2 * bits - 8));
}

#if defined(__x86_64__) && defined(__GNUC__)
// Frames of up to sixteen colours, sixteen pixels at a time: each colour component is a
// sixteen-entry byte table that one shuffle looks up for all of them, and the components
// are then interleaved into ARGB pixels. Returns how many pixels it converted.
__attribute__((target("ssse3"))) int32_t convert_sixteen_colours(
    const uint8_t* source, uint32_t* target, int32_t width,
    const std::array<std::array<uint8_t, 16>, 3>& components) {
  const __m128i blues = _mm_loadu_si128(reinterpret_cast<const __m128i*>(components[0].data()));
  const __m128i greens = _mm_loadu_si128(reinterpret_cast<const __m128i*>(components[1].data()));
  const __m128i reds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(components[2].data()));
  const __m128i low_nibbles = _mm_set1_epi8(15);
  const __m128i opaque = _mm_set1_epi8(static_cast<char>(0xFF));
  int32_t x = 0;
  for (; x + 16 <= width; x += 16) {
    const __m128i index =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x)), low_nibbles);
    const __m128i blue = _mm_shuffle_epi8(blues, index);
    const __m128i green = _mm_shuffle_epi8(greens, index);
    const __m128i red = _mm_shuffle_epi8(reds, index);
    const __m128i blue_green[2] = {_mm_unpacklo_epi8(blue, green), _mm_unpackhi_epi8(blue, green)};
    const __m128i red_alpha[2] = {_mm_unpacklo_epi8(red, opaque), _mm_unpackhi_epi8(red, opaque)};
    auto* out = reinterpret_cast<__m128i*>(target + x);
    for (int32_t half = 0; half < 2; ++half) {
      _mm_storeu_si128(out + 2 * half, _mm_unpacklo_epi16(blue_green[half], red_alpha[half]));
      _mm_storeu_si128(out + 2 * half + 1, _mm_unpackhi_epi16(blue_green[half], red_alpha[half]));
    }
  }
  return x;
}

const bool HAS_SSSE3 = __builtin_cpu_supports("ssse3");
#endif

}  // namespace

void FrameConverter::set_palette(const uint32_t* shown_palette) {
  for (size_t i = 0; i < indexed_.size(); ++i) {
    indexed_[i] = argb_of_palette_colour(shown_palette[i]);
  }
  for (size_t i = 0; i < 16; ++i) {
    for (size_t c = 0; c < 3; ++c) {
      sixteen_components_[c][i] = static_cast<uint8_t>(indexed_[i] >> (8 * c));
    }
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
    int32_t x = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    // Up to sixteen colours the pixels hold colour numbers below 16.
    if (frame.depth <= 4 && HAS_SSSE3) {
      x = convert_sixteen_colours(source, target, frame.width, sixteen_components_);
    }
#endif
    for (; x < frame.width; ++x) target[x] = indexed_[source[x]];
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
