// The graphics screen: the frame in memory with its pages, palettes and text cells, the
// display driver that shows it, and the way back to the console.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/font_block.h"
#include "graphics/frame_memory.h"
#include "graphics/mode_table.h"
#include "platform/display_driver.h"

namespace textscreen::detail {

// screen_mode flags: those a display driver serves, and one of screen_mode's own.
using platform::MODE_FULLSCREEN;
using platform::MODE_NO_SWITCH;
using platform::MODE_OPENGL;
constexpr int32_t MODE_CLOSE_ONLY = static_cast<int32_t>(0x80000000u);
// The flags value that asks for the Null driver alone.
constexpr int32_t MODE_NULL_DRIVER = -1;

// What a text cell was last written with.
struct TextCell {
  uint32_t character = ' ';
  uint32_t foreground = 0;
  uint32_t background = 0;
};

struct Viewport {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct GraphicsScreen {
  int32_t mode = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;  // 1, 2, 4, 8, 16 or 32
  uint32_t colour_mask = 0;
  int32_t line_scale = 1;
  DefaultPalette default_palette = DefaultPalette::two_colours;
  PixelRoutines pixels{};
  int32_t pitch = 0;

  int32_t page_count = 0;
  int32_t work_page = 0;
  int32_t visible_page = 0;
  std::unique_ptr<PageBytes[]> pages;
  std::unique_ptr<uint8_t*[]> lines;  // each line of the work page
  std::unique_ptr<uint8_t[]> dirty;   // one flag per display line; frame line f is entry f

  std::array<uint32_t, 256> full_palette{};   // red | green << 8 | blue << 16
  std::array<uint32_t, 256> shown_palette{};  // what each pixel value shows now
  std::array<uint8_t, 16> colour_map{};       // modes 1, 2, 7, 8 and 9
  bool has_colour_map = false;

  platform::DisplayDriver* driver = nullptr;

  uint32_t foreground = 0;
  uint32_t background = 0;
  int32_t cursor_column = 0;  // 0-based
  int32_t cursor_row = 0;
  int32_t graphics_x = 0;
  int32_t graphics_y = 0;
  Viewport viewport;

  FontInfo font{};
  int32_t text_columns = 0;
  int32_t text_rows = 0;
  std::unique_ptr<std::unique_ptr<TextCell[]>[]> cells;  // one grid per page, row by row

  std::array<uint8_t, 128> key_states{};  // by scan code, 1 while held

  bool frame_locked = false;  // by the operation now running on the program's thread
  bool scroll_pending = false;

  // The palette ports: the index chosen and which component comes next.
  int32_t port_read_index = 0;
  int32_t port_write_index = 0;
  int32_t port_read_component = 0;
  int32_t port_write_component = 0;

  uint8_t* line(int32_t y) const { return lines[y]; }
  TextCell* work_cells() const { return cells[work_page].get(); }
  TextCell& cell(int32_t column, int32_t row) const {
    return cells[work_page][row * text_columns + column];
  }
  bool work_page_visible() const { return work_page == visible_page; }
};

// The open graphics screen, or null while the console is the screen.
GraphicsScreen* graphics_screen();
bool graphics_screen_open();

// Closes the open graphics screen and its window, if any.
void close_graphics_screen();
// Builds the screen of an existing graphics mode, opens it through the first display driver
// that opens and fills the screen slots; false when none opens (nothing is left behind).
bool open_graphics_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags,
                          int32_t refresh);

// Marks frame lines [first, end) dirty when the work page is the one shown.
void mark_lines_dirty(GraphicsScreen& g, int32_t first, int32_t end);
// Shows pixel values 0 to count - 1 as the full palette and the colour map give them: the
// shown palette, the driver's palette and every line anew. Frame lock held.
void show_mapped_palette(GraphicsScreen& g, int32_t count);

// The window's title: the program file's name without its extension.
const std::string& window_title();

}  // namespace textscreen::detail
