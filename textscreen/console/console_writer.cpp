// The console writer: text drawn straight into the cells of the console buffer, with the
// text engine deciding wraps and scrolls, and the pending line feed after the last cell.
#include <algorithm>
#include <vector>

#include "console/console_screen.h"
#include "console/console_state.h"
#include "console/layer_devices.h"
#include "console/screen_state.h"
#include "console/text_engine.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

using platform::CellPosition;
using platform::CellRect;
using platform::ConsoleCell;

class ConsoleSurface final : public TextSurface {
 public:
  ConsoleSurface(uint16_t attribute, int32_t buffer_rows, bool partial)
      : attribute_(attribute), buffer_rows_(buffer_rows), partial_(partial) {}

  bool moved_down() const { return moved_down_; }

  bool draw_run(const uint8_t* bytes, int32_t count, TextCursor at) override {
    cells_.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) cells_[i] = ConsoleCell{bytes[i], attribute_};
    return console().write_cells(cells_.data(), count,
                                 {static_cast<int16_t>(at.column), static_cast<int16_t>(at.row)});
  }

  void scroll(int32_t rows, TextView& view) override {
    if (partial_) {
      scroll_partial(rows, view);
    } else {
      scroll_whole(rows, view);
    }
  }

  void bell() override { beep(); }

 private:
  ConsoleCell blank() const { return ConsoleCell{' ', attribute_}; }

  void clear_rows(const TextView& view, int32_t top, int32_t bottom) {
    int32_t width = view.right - view.left + 1;
    for (int32_t row = top; row <= bottom; ++row) {
      CellPosition start{static_cast<int16_t>(view.left), static_cast<int16_t>(row)};
      console().fill_characters(' ', width, start);
      console().fill_attributes(attribute_, width, start);
    }
  }

  // The view covers the whole window: use the buffer's rows below it first (the window
  // will follow), then move the whole buffer up.
  void scroll_whole(int32_t rows, TextView& view) {
    int32_t below = buffer_rows_ - 1 - view.bottom;
    int32_t down = std::clamp(below, 0, rows);
    if (down > 0) {
      view.top += down;
      view.bottom += down;
      moved_down_ = true;
    }
    int32_t rest = rows - down;
    if (rest == 0) return;
    if (rest >= buffer_rows_) {
      clear_rows(view, view.top, view.bottom);
      return;
    }
    CellRect whole{static_cast<int16_t>(view.left), 0, static_cast<int16_t>(view.right),
                   static_cast<int16_t>(buffer_rows_ - 1)};
    console().scroll_rectangle(
        whole, nullptr, {static_cast<int16_t>(view.left), static_cast<int16_t>(-rest)}, blank());
  }

  void scroll_partial(int32_t rows, const TextView& view) {
    int32_t height = view.bottom - view.top + 1;
    if (rows >= height) {
      clear_rows(view, view.top, view.bottom);
      return;
    }
    CellRect source{static_cast<int16_t>(view.left), static_cast<int16_t>(view.top + rows),
                    static_cast<int16_t>(view.right), static_cast<int16_t>(view.bottom)};
    CellRect clip{static_cast<int16_t>(view.left), static_cast<int16_t>(view.top),
                  static_cast<int16_t>(view.right), static_cast<int16_t>(view.bottom)};
    console().scroll_rectangle(
        source, &clip, {static_cast<int16_t>(view.left), static_cast<int16_t>(view.top)}, blank());
  }

  uint16_t attribute_;
  int32_t buffer_rows_;
  bool partial_;
  bool moved_down_ = false;
  std::vector<ConsoleCell> cells_;
};

void write_unchanged(const uint8_t* bytes, int32_t length) {
  size_t done = 0;
  while (done < static_cast<size_t>(length)) {
    size_t written = 0;
    if (!console().write_raw(bytes + done, length - done, written) || written == 0) return;
    done += written;
  }
}

}  // namespace

void console_write_text(const uint8_t* bytes, int32_t length, int32_t mask) {
  ScreenState& s = screen_state();
  if (length == 0 && (mask & WRITE_FORCE) == 0) return;
  const ConsoleWindow w = console_window();
  if (w.empty()) {
    write_unchanged(bytes, length);
    return;
  }
  ViewRows rows = view_rows();
  TextView view{w.left, w.top + rows.top, w.right, w.top + rows.bottom};
  // A terminal that shrank under a view keeps the view inside the window.
  view.bottom = std::min<int32_t>(view.bottom, w.bottom);
  view.top = std::min(view.top, view.bottom);
  bool partial = view.top != w.top || view.bottom != w.bottom;
  int32_t start_top = view.top;

  platform::ScreenBufferInfo info;
  int32_t buffer_rows = 25;
  uint16_t attribute = 7;
  TextCursor cursor{view.left, view.top};
  if (console().read_screen_buffer_info(info)) {
    buffer_rows = info.size.row;
    attribute = info.attribute;
    cursor = {info.cursor.column, info.cursor.row};
  }
  ConsoleSurface surface(attribute, buffer_rows, partial);

  write_with_deferred_scroll({reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)},
                             view, cursor, surface, s.pending_wrap);
  console().set_cursor_position(
      {static_cast<int16_t>(cursor.column), static_cast<int16_t>(cursor.row)});
  if (surface.moved_down() && !partial && view.top != start_top) {
    auto top = static_cast<int16_t>(view.top);
    auto bottom = static_cast<int16_t>(view.bottom);
    if (console().set_window_rect({w.left, top, w.right, bottom})) {
      console_window_moved(top, bottom);
    }
  }
  reread_console_window();
}

}  // namespace textscreen::detail
