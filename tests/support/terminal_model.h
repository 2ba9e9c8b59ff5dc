// A real terminal model (libvterm) to feed the renderer's bytes into, and the check that it
// shows a cell buffer: glyphs through code page 852, colours, cursor place and visibility.
// The renderer tests and its fuzz target share it.
#pragma once

#include <vterm.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/cell_buffer.h"
#include "platform/code_pages.h"

namespace textscreen::testing {

class TerminalModel {
 public:
  TerminalModel(int rows, int columns) {
    vterm_set_utf8(vt_.get(), 1);
    vterm_set_size(vt_.get(), rows, columns);
    callbacks_.settermprop = [](VTermProp prop, VTermValue* value, void* visible) {
      if (prop == VTERM_PROP_CURSORVISIBLE) *static_cast<bool*>(visible) = value->boolean;
      return 1;
    };
    vterm_screen_set_callbacks(screen_, &callbacks_, &cursor_visible_);
    vterm_screen_reset(screen_, 1);
  }

  void feed(const std::string& bytes) { vterm_input_write(vt_.get(), bytes.data(), bytes.size()); }
  void resize(int rows, int columns) { vterm_set_size(vt_.get(), rows, columns); }
  VTermScreen* screen() const { return screen_; }
  bool cursor_visible() const { return cursor_visible_; }
  VTermScreenCell cell(int column, int row) const {
    VTermScreenCell c{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &c);
    return c;
  }
  std::pair<int, int> cursor() const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_.get()), &pos);
    return {pos.col, pos.row};
  }

  // Where the terminal does not show `buffer`, said in words; empty when it does. Its colour
  // numbers have red and blue swapped from the console's, and a blank's foreground is unseen.
  std::string mismatch(const platform::CellBuffer& buffer) const {
    auto ansi = [](int b) { return (b >> 2 & 1) | (b & 2) | (b & 1) << 2 | (b & 8); };
    auto index = [](VTermColor c) { return VTERM_COLOR_IS_INDEXED(&c) ? c.indexed.idx : -1; };
    for (int16_t row = 0; row < buffer.size().row; ++row) {
      for (int16_t column = 0; column < buffer.size().column; ++column) {
        const platform::ConsoleCell& want = buffer.at(column, row);
        const VTermScreenCell got = cell(column, row);
        const char32_t glyph = platform::code_point_of(platform::CodePage::cp852, want.character);
        const char32_t shown = got.chars[0] != 0 ? got.chars[0] : U' ';
        if (shown != glyph || index(got.bg) != ansi(want.attribute >> 4 & 0xF) ||
            (glyph != U' ' && index(got.fg) != ansi(want.attribute & 0xF)) || got.attrs.bold ||
            got.attrs.reverse || got.attrs.underline) {
          return "cell " + std::to_string(column) + "," + std::to_string(row) + " shows U+" +
                 std::to_string(shown) + " in " + std::to_string(index(got.fg)) + " on " +
                 std::to_string(index(got.bg)) + "; the buffer has byte " +
                 std::to_string(want.character) + " in attribute " + std::to_string(want.attribute);
        }
      }
    }
    if (cursor() != std::pair<int, int>(buffer.cursor().column, buffer.cursor().row)) {
      return "the cursor is not the buffer's";
    }
    if (cursor_visible_ != buffer.cursor_visible()) return "the cursor's visibility differs";
    return {};
  }

 private:
  std::unique_ptr<VTerm, decltype(&vterm_free)> vt_{vterm_new(25, 80), &vterm_free};
  VTermScreen* screen_ = vterm_obtain_screen(vt_.get());
  VTermScreenCallbacks callbacks_{};
  bool cursor_visible_ = true;
};

}  // namespace textscreen::testing
