// The window's presenter converts the frame into ARGB8888 display lines: indexed frames
// through the shown palette, 16-bit frames through a two-halves lookup table, 32-bit frames
// with the alpha byte set. Only dirty lines are converted; each frame line becomes
// `line_scale` display lines.
#pragma once

#include <array>
#include <cstdint>

#include "platform/display_driver.h"

namespace textscreen::platform {

// Display lines [first, end) that a conversion wrote; empty when nothing was dirty.
struct DisplayLines {
  int32_t first = 0;
  int32_t end = 0;
  bool empty() const { return end <= first; }
};

class FrameConverter {
 public:
  // Rebuilds the indexed colours from the shown palette (red | green << 8 | blue << 16).
  void set_palette(const uint32_t* shown_palette);

  // Converts the dirty frame lines into `display` (height × line_scale lines of
  // `display_pitch` pixels) and clears every dirty flag.
  DisplayLines convert(const FrameView& frame, uint32_t* display, int32_t display_pitch);

 private:
  void convert_line(const FrameView& frame, const uint8_t* source, uint32_t* target);
  void choose_depth(int32_t depth);

  std::array<uint32_t, 256> indexed_{};
  // The first sixteen colours' blue, green and red bytes, for frames of up to 16 colours.
  std::array<std::array<uint8_t, 16>, 3> sixteen_components_{};
  // 5-6-5 pixels: entry [low byte] ORed with entry [256 + high byte].
  std::array<uint32_t, 512> halves_{};
  int32_t depth_ = 0;
};

// ARGB8888 of a colour in the palette's form (red | green << 8 | blue << 16).
constexpr uint32_t argb_of_palette_colour(uint32_t colour) {
  return 0xFF000000u | (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

}  // namespace textscreen::platform
