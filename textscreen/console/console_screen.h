// The console implementations of the screen slots: what runs while a slot is empty.
#pragma once

#include <cstdint>

namespace textscreen::detail {

void console_clear(int32_t mode);
int32_t console_set_colors(int32_t foreground, int32_t background);
int32_t console_locate(int32_t row, int32_t column, int32_t visibility);
int32_t console_resize(int32_t columns, int32_t rows);
// Whether a console could have the size at all: no extent past 16 bits.
bool console_size_possible(int32_t columns, int32_t rows);
void console_write_text(const uint8_t* bytes, int32_t length, int32_t mask);

// The attribute the console gives new cells, 7 when it cannot be read.
uint16_t console_attribute();

}  // namespace textscreen::detail
