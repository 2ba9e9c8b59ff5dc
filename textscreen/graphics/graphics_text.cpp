// Text written into the frame: the shared text engine with glyph cells as its runs and a
// pixel scroll of the view rows, and the scroll deferred after a line that filled the
// bottom row.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "console/screen_state.h"
#include "console/text_engine.h"
#include "graphics/avx512_text.h"
#include "graphics/frame_lock.h"
#include "graphics/graphics_slots.h"
#include "textscreen/keyboard.h"
#include "textscreen/screen.h"

namespace textscreen::detail {
namespace {

static_assert(sizeof(TextCell) == 12 && offsetof(TextCell, foreground) == 4 &&
                  offsetof(TextCell, background) == 8,
              "the vector cell run writes a cell as three words in this order");

void portable_cell_run(void* cells, const uint8_t* bytes, int32_t count, uint32_t foreground,
                       uint32_t background) {
  auto* cell = static_cast<TextCell*>(cells);
  for (int32_t i = 0; i < count; ++i) cell[i] = {bytes[i], foreground, background};
}

const CellRun VECTOR_CELL_RUN = avx512_cell_run();
const CellRun CELL_RUN = VECTOR_CELL_RUN != nullptr ? VECTOR_CELL_RUN : portable_cell_run;

class FrameSurface final : public TextSurface {
 public:
  explicit FrameSurface(GraphicsScreen& screen) : g_(screen) {}

  // The frame lines drawn or scrolled, [first, end); empty while first == end.
  int32_t dirty_first = 0;
  int32_t dirty_end = 0;

  bool draw_run(const uint8_t* bytes, int32_t count, TextCursor at) override {
    const int32_t glyph_height = g_.font.glyph_height;
    const int32_t top = at.row * glyph_height;
    g_.pixels.glyph_run(g_.lines.get(), top, at.column * g_.font.glyph_width, g_.font.glyphs,
                        glyph_height, bytes, count, g_.foreground, g_.background);
    widen(top, top + glyph_height);
    CELL_RUN(&g_.cell(at.column, at.row), bytes, count, g_.foreground, g_.background);
    return true;
  }

  void scroll(int32_t rows, TextView& view) override {
    const int32_t glyph_height = g_.font.glyph_height;
    const int32_t top = view.top * glyph_height;
    const int32_t end = (view.bottom + 1) * glyph_height;
    const int32_t shift = rows * glyph_height;
    const int32_t x = view.left * g_.font.glyph_width;
    const int32_t span = (view.right - view.left + 1) * g_.font.glyph_width;
    const size_t span_bytes = static_cast<size_t>(span) * g_.pixels.bytes_per_pixel;
    const int32_t kept = std::max(end - top - shift, 0);
    if (kept > 0 && span_bytes == static_cast<size_t>(g_.pitch)) {
      // Whole lines of one page are contiguous: one move.
      std::memmove(g_.line(top), g_.line(top + shift), span_bytes * kept);
    } else {
      for (int32_t y = top; y < top + kept; ++y) {
        std::memmove(g_.line(y) + x * g_.pixels.bytes_per_pixel,
                     g_.line(y + shift) + x * g_.pixels.bytes_per_pixel, span_bytes);
      }
    }
    for (int32_t y = top + kept; y < end; ++y) g_.pixels.fill(g_.line(y), x, span, g_.background);
    widen(top, end);
    scroll_cells(rows, view);
  }

  void bell() override { beep(); }

 private:
  void widen(int32_t first, int32_t end) {
    if (dirty_first == dirty_end) {
      dirty_first = first;
      dirty_end = end;
    } else {
      dirty_first = std::min(dirty_first, first);
      dirty_end = std::max(dirty_end, end);
    }
  }

  void scroll_cells(int32_t rows, const TextView& view) {
    const int32_t height = view.bottom - view.top + 1;
    const int32_t kept = std::max(height - rows, 0);
    const int32_t width = view.right - view.left + 1;
    for (int32_t r = 0; r < kept; ++r) {
      std::copy_n(&g_.cell(view.left, view.top + r + rows), width,
                  &g_.cell(view.left, view.top + r));
    }
    const TextCell blank{' ', g_.foreground, g_.background};
    for (int32_t r = view.top + kept; r <= view.bottom; ++r) {
      std::fill_n(&g_.cell(view.left, r), width, blank);
    }
  }

  GraphicsScreen& g_;
};

}  // namespace

void graphics_write_text(const uint8_t* bytes, int32_t length, int32_t mask) {
  GraphicsScreen* screen = graphics_screen();
  if (screen == nullptr || (length == 0 && (mask & WRITE_FORCE) == 0)) return;
  GraphicsScreen& g = *screen;
  FrameLock lock(g);
  const ViewRows rows = view_rows();
  TextView view{0, rows.top, g.text_columns - 1, rows.bottom};
  TextCursor cursor{g.cursor_column, g.cursor_row};
  FrameSurface surface(g);
  write_with_deferred_scroll({reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)},
                             view, cursor, surface, g.scroll_pending);
  g.cursor_column = cursor.column;
  g.cursor_row = cursor.row;
  mark_lines_dirty(g, surface.dirty_first, surface.dirty_end);
}

void graphics_write_wide_text(const uint16_t* units, int32_t length, int32_t mask) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(std::max(length, 0)));
  for (int32_t i = 0; i < length; ++i) {
    const uint16_t unit = units[i];
    if (unit < 256) {
      bytes.push_back(static_cast<char>(unit));
      continue;
    }
    bytes.push_back('?');
    // A high surrogate and the low one after it are one character.
    if (unit > 55295 && unit < 56320) ++i;
  }
  graphics_write_text(reinterpret_cast<const uint8_t*>(bytes.data()),
                      static_cast<int32_t>(bytes.size()), mask);
}

}  // namespace textscreen::detail
