// What a terminal is sent for each byte of the console's code page (852): the UTF-8 text of
// the glyph a console shows for it.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen::platform {

std::string_view console_glyph_utf8(uint8_t byte);

}  // namespace textscreen::platform
