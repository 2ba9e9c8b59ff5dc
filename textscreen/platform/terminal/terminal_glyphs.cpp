#include "platform/terminal/terminal_glyphs.h"

#include <array>
#include <string>

#include "platform/code_pages.h"

namespace textscreen::platform {

std::string_view console_glyph_utf8(uint8_t byte) {
  static const std::array<std::string, 256> texts = [] {
    std::array<std::string, 256> utf8;
    for (int b = 0; b < 256; ++b) {
      append_utf8(utf8[b], code_point_of(CodePage::cp852, static_cast<uint8_t>(b)));
    }
    return utf8;
  }();
  return texts[byte];
}

}  // namespace textscreen::platform
