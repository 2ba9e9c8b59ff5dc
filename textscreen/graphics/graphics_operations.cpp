// The graphics screen's clear, colours, cursor, grid size and cell reads.
#include <algorithm>

#include "console/screen_state.h"
#include "graphics/frame_lock.h"
#include "graphics/graphics_slots.h"
#include "textscreen/screen.h"

namespace textscreen::detail {
namespace {

void fill_lines(GraphicsScreen& g, int32_t first, int32_t end, int32_t x, int32_t width) {
  for (int32_t y = std::max(first, 0); y < std::min(end, g.height); ++y) {
    g.pixels.fill(g.line(y), x, width, g.background);
  }
}

void blank_rows(GraphicsScreen& g, int32_t top, int32_t bottom) {
  const TextCell blank{' ', g.foreground, g.background};
  for (int32_t r = std::max(top, 0); r <= std::min(bottom, g.text_rows - 1); ++r) {
    std::fill_n(&g.cell(0, r), g.text_columns, blank);
  }
}

void centre_graphics_cursor(GraphicsScreen& g) {
  g.graphics_x = g.viewport.left + g.viewport.width / 2;
  g.graphics_y = g.viewport.top + g.viewport.height / 2;
}

uint32_t stored_colour(const GraphicsScreen& g, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  if (g.depth <= 8) return v & g.colour_mask;
  if (g.depth == 32) return v & 0xFFFFFF;
  // 0xRRGGBB packed as red 5, green 6, blue 5 bits.
  return ((v >> 19) & 0x1F) << 11 | ((v >> 10) & 0x3F) << 5 | ((v >> 3) & 0x1F);
}

}  // namespace

void graphics_clear(int32_t mode) {
  GraphicsScreen& g = *graphics_screen();
  const ViewRows view = view_rows();
  if (mode == DEFAULT_MODE) mode = view.top == 0 && view.bottom == g.text_rows - 1 ? 0 : 2;
  {
    FrameLock lock(g);
    const int32_t glyph_height = g.font.glyph_height;
    if (mode == 0) {
      fill_lines(g, 0, g.height, 0, g.width);
      centre_graphics_cursor(g);
      blank_rows(g, 0, g.text_rows - 1);
      mark_lines_dirty(g, 0, g.height);
    } else if (mode == 2) {
      const int32_t first = view.top * glyph_height;
      const int32_t end = (view.bottom + 1) * glyph_height;
      fill_lines(g, first, end, 0, g.width);
      blank_rows(g, view.top, view.bottom);
      mark_lines_dirty(g, first, end);
    } else {
      fill_lines(g, g.viewport.top, g.viewport.top + g.viewport.height, g.viewport.left,
                 g.viewport.width);
      centre_graphics_cursor(g);
      mark_lines_dirty(g, g.viewport.top, g.viewport.top + g.viewport.height);
      return;
    }
  }
  locate_with_fallback(view.top + 1, 1, -1);
}

int32_t graphics_set_colors(int32_t foreground, int32_t background) {
  GraphicsScreen& g = *graphics_screen();
  const uint32_t previous = (g.foreground & 0xFFFF) | (g.background & 0xFFFF) << 16;
  if (g.mode == 1 || g.mode == 7 || g.mode == 8 || g.mode == 9) {
    if (foreground >= 0) {
      if (g.mode == 1) {
        // Mode 1 has four colour sets; the foreground's low bits choose one.
        static constexpr std::array<std::array<uint8_t, 4>, 4> SETS{
            {{0, 11, 13, 15}, {0, 10, 12, 14}, {0, 3, 5, 7}, {0, 2, 4, 6}}};
        FrameLock lock(g);
        std::copy_n(SETS[foreground & 3].begin(), 4, g.colour_map.begin());
        show_mapped_palette(g, 4);
      } else {
        g.foreground = static_cast<uint32_t>(foreground) & 15;
      }
    }
    // Pixel value 0 shows palette entry 0 in every colour map.
    if (background >= 0) g.background = 0;
  } else {
    if (foreground >= 0) g.foreground = stored_colour(g, foreground);
    if (background >= 0) g.background = stored_colour(g, background);
  }
  return static_cast<int32_t>(previous);
}

int32_t graphics_locate(int32_t row, int32_t column, int32_t /*visibility*/) {
  GraphicsScreen& g = *graphics_screen();
  const int32_t previous = (g.cursor_column + 1) | (g.cursor_row + 1) << 8;
  g.scroll_pending = false;
  if (row >= 1) g.cursor_row = row - 1;
  if (column >= 1) g.cursor_column = column - 1;
  screen_state().print_column = g.cursor_column;
  return previous;
}

int32_t graphics_set_size(int32_t columns, int32_t rows) {
  GraphicsScreen& g = *graphics_screen();
  const int32_t previous = g.text_columns | g.text_rows << 16;
  if (columns <= 0 && rows <= 0) return previous;
  const int32_t glyph_width = columns > 0 ? g.width / columns : g.font.glyph_width;
  const int32_t glyph_height = rows > 0 ? g.height / rows : g.font.glyph_height;
  if (glyph_width != 8 || (glyph_height != 8 && glyph_height != 14 && glyph_height != 16)) {
    return previous;
  }
  // A count left out follows from the font: the grid stays whole.
  const int32_t new_columns = columns > 0 ? columns : g.width / glyph_width;
  const int32_t new_rows = rows > 0 ? rows : g.height / glyph_height;
  const size_t cell_count = static_cast<size_t>(new_columns) * new_rows;
  auto grids = allocate_zeroed<std::unique_ptr<TextCell[]>>(static_cast<size_t>(g.page_count));
  if (!grids) return previous;
  for (int32_t p = 0; p < g.page_count; ++p) {
    grids[p] = allocate_zeroed<TextCell>(cell_count);
    if (!grids[p]) return previous;
    std::fill_n(grids[p].get(), cell_count, TextCell{' ', g.foreground, g.background});
  }
  {
    FrameLock lock(g);
    g.font = built_in_font(glyph_height);
    g.text_columns = new_columns;
    g.text_rows = new_rows;
    g.cells = std::move(grids);
    g.viewport = {0, 0, g.width, g.height};
  }
  ScreenState& s = screen_state();
  s.view_top = 0;
  s.view_bottom = new_rows - 1;
  graphics_clear(0);
  return previous;
}

int32_t graphics_cursor_column() {
  return graphics_screen()->cursor_column + 1;
}

int32_t graphics_cursor_row() {
  return graphics_screen()->cursor_row + 1;
}

void graphics_cursor_position(int32_t* column, int32_t* row) {
  if (column != nullptr) *column = graphics_cursor_column();
  if (row != nullptr) *row = graphics_cursor_row();
}

void graphics_screen_size(int32_t* columns, int32_t* rows) {
  const GraphicsScreen& g = *graphics_screen();
  if (columns != nullptr) *columns = g.text_columns;
  if (rows != nullptr) *rows = g.text_rows;
}

void graphics_view_changed() {}

int32_t graphics_cell_at(int32_t column, int32_t row, int32_t what) {
  GraphicsScreen& g = *graphics_screen();
  if (column < 1 || row < 1 || column > g.text_columns || row > g.text_rows) return 0;
  FrameLock lock(g);
  const TextCell& cell = g.cell(column - 1, row - 1);
  if (what == 0) return static_cast<int32_t>(cell.character);
  if (g.depth <= 4) return static_cast<int32_t>(cell.foreground + cell.background * 16);
  if (g.depth <= 8) return static_cast<int32_t>(cell.foreground + cell.background * 256);
  return static_cast<int32_t>(what == 2 ? cell.background : cell.foreground);
}

}  // namespace textscreen::detail
