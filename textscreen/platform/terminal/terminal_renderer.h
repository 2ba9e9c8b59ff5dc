// Turns the cell buffer into the bytes that bring a terminal up to date. The renderer keeps a
// model of what the terminal shows (cells, colours, cursor) and sends only the difference,
// choosing the cheapest cursor moves. It makes no system calls: the terminal console device
// writes the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/cell_buffer.h"

namespace textscreen::platform {

class TerminalRenderer {
 public:
  TerminalRenderer();

  // The terminal's contents are unknown (start, resize, after the program was stopped and
  // continued): the next render repaints every cell and re-sends colours, cursor position
  // and visibility.
  void invalidate();
  // The buffer's rows top..bottom (0-based, full width) moved up by `rows`, the freed rows
  // at the bottom filled with `fill`. The next render replays this with the terminal's own
  // scrolling, so a scroll costs a few bytes instead of a repaint.
  void note_scroll(int16_t top, int16_t bottom, int16_t rows, ConsoleCell fill);
  // The bytes that bring the terminal from what it shows to `buffer`; empty when nothing
  // differs, otherwise wrapped in synchronized-output brackets.
  std::string render(const CellBuffer& buffer);
  // Bytes that take the terminal over: its alternate screen, so that the user's own screen
  // and scrollback come back afterwards, and bracketed pastes.
  static std::string takeover_sequence();
  // Bytes that give the terminal back to the shell: colours reset, cursor shown, no scroll
  // region, no bracketed pastes, the user's own screen again.
  static std::string restore_sequence();

 private:
  // What one terminal cell shows: a code-page byte (0 stored as a blank) and the low byte of
  // the attribute, the only part a terminal can show.
  struct ShownCell {
    uint8_t character = ' ';
    uint8_t attribute = 7;
  };
  struct ScrollNote {
    int16_t top;
    int16_t bottom;
    int16_t rows;
    uint8_t fill_attribute;
  };
  static constexpr int UNKNOWN = -1;

  // Steps of a render, in the order they send.
  void clear_screen();
  void replay_scrolls();
  void update_row(int row);
  bool worth_erasing(int row, int column) const;

  // A way to bring the cursor to a cell: one absolute move, or relative steps (a carriage
  // return, rows up or down, then columns left or right or the cells in between sent again).
  enum class Horizontal { none, left, right, resend };
  struct CursorMove {
    bool absolute = true;
    bool carriage_return = false;
    Horizontal horizontal = Horizontal::none;
    int cost = 0;  // bytes, counting the colour change the next cell will need
  };
  // The cheapest move to (row, column) from where the terminal's cursor is; sends nothing.
  CursorMove plan_move(int row, int column, int next_attribute, bool next_blank) const;
  // Sends a planned move and updates the model.
  void emit_move(const CursorMove& move, int row, int column);

  // Terminal state changes; each one sends its bytes and updates the model.
  void move_to(int row, int column, int next_attribute, bool next_blank);
  void set_attribute(uint8_t attribute, bool blank);
  void write_cell(int row, int column);
  void send_csi(int count, char final_byte);

  // Costs in bytes, for choosing between ways of doing the same thing.
  int attribute_cost(int from, uint8_t to, bool blank) const;
  int resend_cost(int row, int from, int to, int& attribute, int limit) const;
  int horizontal_cost(int row, int from, int to, int& attribute, bool& resend) const;

  const ConsoleCell& cell(int row, int column) const {
    return cells_[static_cast<size_t>(row) * columns_ + column];
  }
  ShownCell& shown(int row, int column) {
    return shown_[static_cast<size_t>(row) * columns_ + column];
  }
  const ShownCell& shown(int row, int column) const {
    return shown_[static_cast<size_t>(row) * columns_ + column];
  }

  // The model of the terminal.
  int columns_ = 0;
  int rows_ = 0;
  bool contents_known_ = false;
  std::vector<ShownCell> shown_;
  int cursor_row_ = UNKNOWN;
  int cursor_column_ = UNKNOWN;  // UNKNOWN after invalidate and after writing a row's last cell
  int attribute_ = UNKNOWN;      // the terminal's current colours as an attribute byte
  int cursor_visible_ = UNKNOWN;

  std::vector<ScrollNote> notes_;
  const ConsoleCell* cells_ = nullptr;  // the buffer being rendered
  std::string out_;                     // kept between renders so its storage is reused
};

}  // namespace textscreen::platform
