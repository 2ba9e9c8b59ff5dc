// Reads a graphics frame back as a text screen: a cell reads as the character and colours
// its text cell holds only when the frame's pixels show exactly that glyph in those colours,
// so tests can say what a screen shows in characters and colour numbers.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/graphics_screen.h"

namespace textscreen::testing {

struct ReadCell {
  char character = '?';  // '?' when the pixels do not show the cell's glyph
  int foreground = -1;
  int background = -1;
  bool operator==(const ReadCell&) const = default;
};

class FrameReader {
 public:
  // Reads the visible page of `g` (depths up to 8: pixels are colour numbers).
  explicit FrameReader(const detail::GraphicsScreen& g) : g_(g) {}

  ReadCell cell(int column, int row) const {  // 1-based
    const int32_t h = g_.font.glyph_height;
    const detail::TextCell& text =
        g_.cells[g_.visible_page][(row - 1) * g_.text_columns + column - 1];
    const uint8_t* glyph = g_.font.glyphs + text.character * h;
    for (int32_t j = 0; j < h; ++j) {
      const uint8_t* line =
          g_.pages[g_.visible_page].get() + ((row - 1) * h + j) * g_.pitch + (column - 1) * 8;
      for (int bit = 0; bit < 8; ++bit) {
        if (line[bit] != (glyph[j] >> bit & 1 ? text.foreground : text.background)) return {};
      }
    }
    return {static_cast<char>(text.character), colour(text.foreground), colour(text.background)};
  }

  // The characters of a row, trailing blanks removed.
  std::string row_text(int row) const {
    std::string text;
    for (int c = 1; c <= g_.text_columns; ++c) text.push_back(cell(c, row).character);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }

 private:
  // The lowest of the first sixteen colour numbers that shows the pixel's colour.
  int colour(uint32_t pixel) const {
    for (int i = 0; i < 16; ++i) {
      if (g_.shown_palette[i] == g_.shown_palette[pixel]) return i;
    }
    return static_cast<int>(pixel);
  }

  const detail::GraphicsScreen& g_;
};

}  // namespace textscreen::testing
