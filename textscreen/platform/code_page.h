// The console code page: which glyph a console shows for each byte, as UTF-8 for a
// terminal, and which byte a typed character becomes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen::platform {

// Code page 852, the Polish OEM page. Bytes 0x01-0x1F and 0x7F show their display glyphs;
// 0x00 shows as a blank.
extern const std::array<char32_t, 256> CODE_PAGE_852_GLYPHS;

void append_utf8(std::string& out, char32_t code_point);

// The UTF-8 text of the glyph the console shows for `byte`.
std::string_view console_glyph_utf8(uint8_t byte);

// The byte a typed character becomes in the console code page: ASCII as itself, other
// characters through the page's upper half; '?' when the page lacks the character.
uint8_t console_byte_for(char32_t code_point);

}  // namespace textscreen::platform
