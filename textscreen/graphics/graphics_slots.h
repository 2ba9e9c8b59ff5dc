// The graphics screen's implementations of the screen slots, and their installation when a
// graphics screen opens. Each runs on the program's thread with a graphics screen open.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/graphics_screen.h"

namespace textscreen::detail {

void install_graphics_slots();

// Text into the frame.
void graphics_write_text(const uint8_t* bytes, int32_t length, int32_t mask);
void graphics_write_wide_text(const uint16_t* units, int32_t length, int32_t mask);

// Clear, colours, cursor, grid size and cells.
void graphics_clear(int32_t mode);
int32_t graphics_set_colors(int32_t foreground, int32_t background);
int32_t graphics_locate(int32_t row, int32_t column, int32_t visibility);
int32_t graphics_set_size(int32_t columns, int32_t rows);
int32_t graphics_cursor_column();
int32_t graphics_cursor_row();
void graphics_cursor_position(int32_t* column, int32_t* row);
void graphics_screen_size(int32_t* columns, int32_t* rows);
void graphics_view_changed();
// The character (`what` 0) or colours of the cell at a 1-based column and row; 0 outside.
int32_t graphics_cell_at(int32_t column, int32_t row, int32_t what);

// Palette ports, mouse and text read back.
int32_t graphics_port_read(int32_t port);
void graphics_port_write(int32_t port, int32_t value);
int32_t graphics_read_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons);
int32_t graphics_move_mouse(int32_t x, int32_t y, int32_t shown);
std::string graphics_read_text(int32_t length);

}  // namespace textscreen::detail
