// The text screen: clearing, colours, the cursor, the view rows, the size, and text written
// as it is.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen {

// Error numbers.
constexpr int32_t ERROR_NONE = 0;
constexpr int32_t ERROR_ILLEGAL_CALL = 1;
constexpr int32_t ERROR_NO_ROOM = 4;

// The value that stands for an omitted argument of screen_cls.
constexpr int32_t DEFAULT_MODE = -65536;
// Write mask: act even on an empty text (settles a pending line feed).
constexpr int32_t WRITE_FORCE = 8;

void screen_cls(int32_t mode);
int32_t screen_color(int32_t foreground, int32_t background);
int32_t screen_locate(int32_t row, int32_t column, int32_t visibility);
int32_t screen_view_print(int32_t top, int32_t bottom);
int32_t screen_width(int32_t columns, int32_t rows);
void write_text(std::string_view bytes, int32_t write_mask);
int32_t last_error();

}  // namespace textscreen
