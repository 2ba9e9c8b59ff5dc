// Reads a graphics frame back as a text screen: each 8-pixel-wide cell is matched exactly
// against the font's glyphs, its two colours against the first sixteen shown colours, so
// tests can say what a screen shows in characters and colour numbers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "graphics/graphics_screen.h"

namespace textscreen::testing {

struct ReadCell {
  char character = '?';  // '?' also when no glyph matches
  int foreground = -1;   // -1: a blank cell shows no foreground
  int background = -1;
  bool operator==(const ReadCell&) const = default;
};

class FrameReader {
 public:
  // Reads the visible page of `g` (depths up to 8: pixels are colour numbers).
  explicit FrameReader(const detail::GraphicsScreen& g) : g_(g) {
    const int32_t h = g.font.glyph_height;
    // Printable glyphs first, so a shape shared with a control glyph reads as printable.
    for (int i = 32; i < 256 + 32; ++i) {
      const int code = i % 256;
      std::string shape(reinterpret_cast<const char*>(g.font.glyphs + code * h), h);
      glyphs_.emplace(shape, static_cast<char>(code));
    }
  }

  ReadCell cell(int column, int row) const {  // 1-based
    const int32_t h = g_.font.glyph_height;
    const uint8_t* page = g_.pages[g_.visible_page].get();
    std::vector<uint8_t> pixels;
    for (int32_t j = 0; j < h; ++j) {
      const uint8_t* line = page + ((row - 1) * h + j) * g_.pitch + (column - 1) * 8;
      pixels.insert(pixels.end(), line, line + 8);
    }
    const uint8_t first = pixels[0];
    int other = -1;
    for (uint8_t p : pixels) {
      if (p != first) other = other < 0 || other == p ? p : 256;
    }
    if (other == 256) return {};
    if (other < 0) return {' ', -1, colour(first)};
    for (int fg : {other, static_cast<int>(first)}) {
      const int bg = fg == other ? first : other;
      std::string shape(static_cast<size_t>(h), '\0');
      for (int32_t j = 0; j < h; ++j) {
        for (int bit = 0; bit < 8; ++bit) {
          if (pixels[j * 8 + bit] == fg) shape[j] = static_cast<char>(shape[j] | 1 << bit);
        }
      }
      auto found = glyphs_.find(shape);
      if (found != glyphs_.end()) return {found->second, colour(fg), colour(bg)};
    }
    return {};
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
  int colour(uint8_t pixel) const {
    for (int i = 0; i < 16; ++i) {
      if (g_.shown_palette[i] == g_.shown_palette[pixel]) return i;
    }
    return pixel;
  }

  const detail::GraphicsScreen& g_;
  std::map<std::string, char> glyphs_;
};

}  // namespace textscreen::testing
