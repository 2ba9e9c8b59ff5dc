#include "platform/code_page.h"

namespace textscreen::platform {
namespace {

struct GlyphTexts {
  std::array<std::string, 256> utf8;
  GlyphTexts() {
    for (int b = 0; b < 256; ++b) append_utf8(utf8[b], CODE_PAGE_852_GLYPHS[b]);
  }
};

const GlyphTexts& glyph_texts() {
  static const GlyphTexts texts;
  return texts;
}

}  // namespace

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string_view console_glyph_utf8(uint8_t byte) {
  return glyph_texts().utf8[byte];
}

uint8_t console_byte_for(char32_t code_point) {
  if (code_point < 0x80) return static_cast<uint8_t>(code_point);
  for (int b = 0x80; b < 256; ++b) {
    if (CODE_PAGE_852_GLYPHS[b] == code_point) return static_cast<uint8_t>(b);
  }
  return '?';
}

}  // namespace textscreen::platform
