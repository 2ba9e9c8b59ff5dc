#include "platform/terminal/terminal_renderer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/terminal/terminal_glyphs.h"

namespace textscreen::platform {
namespace {

constexpr std::string_view SYNC_BEGIN = "\x1b[?2026h";
constexpr std::string_view SYNC_END = "\x1b[?2026l";
// Notes beyond this are dropped: a dropped note only means a larger diff.
constexpr size_t MAX_NOTES = 32;
// Re-sending more unchanged cells than this never beats a cursor move.
constexpr int MAX_RESEND = 12;

bool is_blank(uint8_t character) {
  return character == ' ';
}
uint8_t shown_character(uint8_t character) {
  return character == 0 ? ' ' : character;
}
int background(int attribute) {
  return (attribute >> 4) & 0xF;
}

// Console colour bits are blue, green, red; ANSI colour numbers are red, green, blue.
int ansi_colour(int bits) {
  return ((bits >> 2) & 1) | (bits & 2) | ((bits & 1) << 2);
}
int foreground_code(int attribute) {
  return ((attribute & 0x8) ? 90 : 30) + ansi_colour(attribute & 0x7);
}
int background_code(int attribute) {
  return ((attribute & 0x80) ? 100 : 40) + ansi_colour((attribute >> 4) & 0x7);
}

int digits(int n) {
  int count = 1;
  while (n >= 10) {
    n /= 10;
    ++count;
  }
  return count;
}

// ESC [ n X with n left out when it is 1.
int counted_csi_cost(int n) {
  return 3 + (n == 1 ? 0 : digits(n));
}

// ESC [ row ; column H with parameters that are 1 left out.
int absolute_move_cost(int row, int column) {
  return 3 + (row == 0 ? 0 : digits(row + 1)) + (column == 0 ? 0 : 1 + digits(column + 1));
}

int vertical_cost(int rows) {
  if (rows > 0) return std::min(rows, counted_csi_cost(rows));        // line feeds or CSI B
  if (rows < 0) return std::min(-2 * rows, counted_csi_cost(-rows));  // reverse index or CSI A
  return 0;
}

int left_cost(int columns) {
  return std::min(columns, counted_csi_cost(columns));
}

// The colours the terminal has after showing `to` from `from`: a blank needs only its
// background, so the foreground is left alone.
int attribute_after(int from, uint8_t to, bool blank) {
  if (from < 0 || !blank) return to;
  if (background(from) == background(to)) return from;
  return (from & 0x0F) | (to & 0xF0);
}

void append_number(std::string& out, int n) {
  char text[12];
  auto end = std::to_chars(text, text + sizeof text, n).ptr;
  out.append(text, end);
}

// A blank shows only its background, so blanks of one background look the same.
bool same_look(const auto& shown, const ConsoleCell& cell) {
  if (shown.character == cell.character &&
      shown.attribute == static_cast<uint8_t>(cell.attribute)) {
    return true;  // the common case, checked first
  }
  uint8_t character = shown_character(cell.character);
  if (shown.character != character) return false;
  auto attribute = static_cast<uint8_t>(cell.attribute);
  return shown.attribute == attribute ||
         (is_blank(character) && background(shown.attribute) == background(attribute));
}

const std::array<uint8_t, 256>& glyph_lengths() {
  static const std::array<uint8_t, 256> lengths = [] {
    std::array<uint8_t, 256> result{};
    for (int b = 0; b < 256; ++b) {
      result[b] = static_cast<uint8_t>(console_glyph_utf8(static_cast<uint8_t>(b)).size());
    }
    return result;
  }();
  return lengths;
}

}  // namespace

TerminalRenderer::TerminalRenderer() {
  notes_.reserve(MAX_NOTES);
}

void TerminalRenderer::invalidate() {
  contents_known_ = false;
  cursor_row_ = UNKNOWN;
  cursor_column_ = UNKNOWN;
  attribute_ = UNKNOWN;
  cursor_visible_ = UNKNOWN;
  notes_.clear();
}

void TerminalRenderer::note_scroll(int16_t top, int16_t bottom, int16_t rows, ConsoleCell fill) {
  if (!contents_known_ || top < 0 || bottom >= rows_ || top > bottom || rows <= 0) return;
  auto fill_attribute = static_cast<uint8_t>(fill.attribute);
  int height = bottom - top + 1;
  if (!notes_.empty()) {
    ScrollNote& last = notes_.back();
    if (last.top == top && last.bottom == bottom && last.fill_attribute == fill_attribute) {
      last.rows = static_cast<int16_t>(std::min(last.rows + rows, height));
      return;
    }
  }
  if (notes_.size() < MAX_NOTES) notes_.push_back({top, bottom, rows, fill_attribute});
}

std::string TerminalRenderer::takeover_sequence() {
  return "\x1b[?1049h\x1b[?2004h";
}

std::string TerminalRenderer::restore_sequence() {
  // The user's screen first (its cursor comes back with it); then the scroll region is reset
  // between a saved and restored cursor, since resetting it homes the cursor.
  return "\x1b[?2004l\x1b[?1049l\x1b"
         "7\x1b[r\x1b"
         "8\x1b[0m\x1b[?25h";
}

std::string TerminalRenderer::render(const CellBuffer& buffer) {
  CellPosition size = buffer.size();
  if (size.column != columns_ || size.row != rows_) {
    invalidate();
    columns_ = size.column;
    rows_ = size.row;
    shown_.assign(static_cast<size_t>(std::max(columns_, 0)) * std::max(rows_, 0), ShownCell{});
  }
  if (columns_ <= 0 || rows_ <= 0) return {};

  cells_ = buffer.cells().data();
  out_.clear();
  if (contents_known_) {
    replay_scrolls();
  } else {
    clear_screen();
    contents_known_ = true;
  }
  notes_.clear();
  for (int row = 0; row < rows_; ++row) update_row(row);

  CellPosition cursor = buffer.cursor();
  move_to(std::clamp<int>(cursor.row, 0, rows_ - 1),
          std::clamp<int>(cursor.column, 0, columns_ - 1), UNKNOWN, false);
  int visible = buffer.cursor_visible() ? 1 : 0;
  if (cursor_visible_ != visible) {
    out_ += visible ? "\x1b[?25h" : "\x1b[?25l";
    cursor_visible_ = visible;
  }
  cells_ = nullptr;

  if (out_.empty()) return {};
  std::string bytes;
  bytes.reserve(SYNC_BEGIN.size() + out_.size() + SYNC_END.size());
  bytes += SYNC_BEGIN;
  bytes += out_;
  bytes += SYNC_END;
  return bytes;
}

void TerminalRenderer::clear_screen() {
  // Clear in the commonest blank colours, so most blanks need no bytes afterwards.
  std::array<int, 256> counts{};
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      const ConsoleCell& c = cell(row, column);
      if (is_blank(shown_character(c.character))) ++counts[static_cast<uint8_t>(c.attribute)];
    }
  }
  auto commonest = std::max_element(counts.begin(), counts.end());
  uint8_t attribute = *commonest > 0 ? static_cast<uint8_t>(commonest - counts.begin())
                                     : static_cast<uint8_t>(cell(0, 0).attribute);
  set_attribute(attribute, false);
  out_ += "\x1b[2J";
  std::fill(shown_.begin(), shown_.end(), ShownCell{' ', static_cast<uint8_t>(attribute_)});
}

void TerminalRenderer::replay_scrolls() {
  for (const ScrollNote& note : notes_) {
    int height = note.bottom - note.top + 1;
    int rows = std::min<int>(note.rows, height);
    bool region = note.top != 0 || note.bottom != rows_ - 1;
    // Terminals refuse a one-row scroll region; the diff rewrites that row instead.
    if (region && height < 2) continue;
    if (region) {
      out_ += "\x1b[";
      append_number(out_, note.top + 1);
      out_ += ';';
      append_number(out_, note.bottom + 1);
      out_ += 'r';
    }
    // The terminal fills the new rows with the current background.
    set_attribute(note.fill_attribute, true);
    send_csi(rows, 'S');
    if (region) {
      out_ += "\x1b[r";  // also homes the cursor
      cursor_row_ = 0;
      cursor_column_ = 0;
    }
    ShownCell* top = &shown(note.top, 0);
    size_t kept = static_cast<size_t>(height - rows) * columns_;
    std::memmove(top, top + static_cast<size_t>(rows) * columns_, kept * sizeof(ShownCell));
    std::fill(top + kept, top + static_cast<size_t>(height) * columns_,
              ShownCell{' ', static_cast<uint8_t>(attribute_)});
  }
}

void TerminalRenderer::update_row(int row) {
  // Leading cells that match exactly, eight at a time without a branch per cell (most rows
  // of most renders have not changed); then cell by cell as far as they look the same.
  const ShownCell* shown_row = &shown(row, 0);
  const ConsoleCell* cell_row = &cell(row, 0);
  int column = 0;
  for (; column + 8 <= columns_; column += 8) {
    unsigned differ = 0;
    for (int i = column; i < column + 8; ++i) {
      differ |= static_cast<unsigned>(shown_row[i].character ^ cell_row[i].character) |
                static_cast<unsigned>(shown_row[i].attribute ^
                                      static_cast<uint8_t>(cell_row[i].attribute));
    }
    if (differ != 0) break;
  }
  while (column < columns_ && same_look(shown(row, column), cell(row, column))) ++column;
  if (column == columns_) return;

  // From tail_start to the end the row is blanks of one background: one erase may do.
  const ConsoleCell& last = cell(row, columns_ - 1);
  int tail_start = columns_;
  if (is_blank(shown_character(last.character))) {
    tail_start = columns_ - 1;
    while (tail_start > 0) {
      const ConsoleCell& c = cell(row, tail_start - 1);
      if (!is_blank(shown_character(c.character)) ||
          background(c.attribute) != background(last.attribute)) {
        break;
      }
      --tail_start;
    }
  }

  for (; column < columns_; ++column) {
    const ConsoleCell& c = cell(row, column);
    if (same_look(shown(row, column), c)) continue;
    if (column >= tail_start && worth_erasing(row, column)) {
      auto attribute = static_cast<uint8_t>(last.attribute);
      move_to(row, column, attribute, true);
      set_attribute(attribute, true);
      out_ += "\x1b[K";
      for (int i = column; i < columns_; ++i) {
        shown(row, i) = {' ', static_cast<uint8_t>(attribute_)};
      }
      return;
    }
    move_to(row, column, static_cast<uint8_t>(c.attribute), is_blank(shown_character(c.character)));
    write_cell(row, column);
  }
}

bool TerminalRenderer::worth_erasing(int row, int column) const {
  // Rough cost of writing the differing blanks one by one: a byte each, a move per gap, and an
  // absolute move later when the last column is written.
  int cost = 0;
  bool in_gap = false;
  for (int i = column; i < columns_; ++i) {
    if (same_look(shown(row, i), cell(row, i))) {
      in_gap = true;
    } else {
      cost += in_gap ? 4 : 1;
      in_gap = false;
    }
  }
  if (!same_look(shown(row, columns_ - 1), cell(row, columns_ - 1))) cost += 4;
  return cost > 3;
}

int TerminalRenderer::attribute_cost(int from, uint8_t to, bool blank) const {
  if (from == UNKNOWN) return 6 + digits(background_code(to));  // ESC[0;fg;bgm
  if (from == to || (blank && background(from) == background(to))) return 0;
  bool foreground_changes = !blank && (from & 0x0F) != (to & 0x0F);
  bool background_changes = background(from) != background(to);
  return 3 + (foreground_changes ? 2 : 0) + (background_changes ? digits(background_code(to)) : 0) +
         (foreground_changes && background_changes ? 1 : 0);
}

void TerminalRenderer::set_attribute(uint8_t to, bool blank) {
  if (attribute_ == UNKNOWN) {
    out_ += "\x1b[0;";
    append_number(out_, foreground_code(to));
    out_ += ';';
    append_number(out_, background_code(to));
    out_ += 'm';
    attribute_ = to;
    return;
  }
  if (attribute_ == to || (blank && background(attribute_) == background(to))) return;
  bool foreground_changes = !blank && (attribute_ & 0x0F) != (to & 0x0F);
  bool background_changes = background(attribute_) != background(to);
  out_ += "\x1b[";
  if (foreground_changes) append_number(out_, foreground_code(to));
  if (foreground_changes && background_changes) out_ += ';';
  if (background_changes) append_number(out_, background_code(to));
  out_ += 'm';
  attribute_ = attribute_after(attribute_, to, blank);
}

void TerminalRenderer::write_cell(int row, int column) {
  const ConsoleCell& c = cell(row, column);
  uint8_t character = shown_character(c.character);
  set_attribute(static_cast<uint8_t>(c.attribute), is_blank(character));
  out_ += console_glyph_utf8(character);
  shown(row, column) = {character, static_cast<uint8_t>(attribute_)};
  if (column == columns_ - 1) {
    // The terminal may now be waiting to wrap: where the next character lands is uncertain.
    cursor_row_ = UNKNOWN;
    cursor_column_ = UNKNOWN;
  } else {
    cursor_column_ = column + 1;
  }
}

void TerminalRenderer::send_csi(int count, char final_byte) {
  out_ += "\x1b[";
  if (count != 1) append_number(out_, count);
  out_ += final_byte;
}

int TerminalRenderer::resend_cost(int row, int from, int to, int& attribute, int limit) const {
  const auto& lengths = glyph_lengths();
  int cost = 0;
  for (int column = from; column < to; ++column) {
    const ConsoleCell& c = cell(row, column);
    uint8_t character = shown_character(c.character);
    auto wanted = static_cast<uint8_t>(c.attribute);
    bool blank = is_blank(character);
    cost += attribute_cost(attribute, wanted, blank) + lengths[character];
    if (cost > limit) return UNKNOWN;
    attribute = attribute_after(attribute, wanted, blank);
  }
  return cost;
}

TerminalRenderer::CursorMove TerminalRenderer::plan_move(int row, int column, int next_attribute,
                                                         bool next_blank) const {
  auto next_cost = [&](int attribute) {
    return next_attribute == UNKNOWN
               ? 0
               : attribute_cost(attribute, static_cast<uint8_t>(next_attribute), next_blank);
  };
  CursorMove best;
  best.cost = absolute_move_cost(row, column) + next_cost(attribute_);
  if (cursor_column_ == UNKNOWN) return best;

  int rows_down = row - cursor_row_;
  for (int use_return = 0; use_return < 2; ++use_return) {
    if (use_return && cursor_column_ == 0) break;
    int from = use_return ? 0 : cursor_column_;
    int base = use_return + vertical_cost(rows_down);
    CursorMove move{false, use_return == 1, Horizontal::none, base};
    if (column < from) {
      move.cost += left_cost(from - column);
      move.horizontal = Horizontal::left;
    } else if (column > from) {
      move.cost += counted_csi_cost(column - from);
      move.horizontal = Horizontal::right;
    }
    move.cost += next_cost(attribute_);
    if (move.cost < best.cost) best = move;
    // Re-sending the unchanged cells in between can be cheaper than a move.
    if (column > from && column - from <= MAX_RESEND) {
      int attribute = attribute_;
      int resend = resend_cost(row, from, column, attribute, best.cost - base - 1);
      if (resend != UNKNOWN && base + resend + next_cost(attribute) < best.cost) {
        best = {false, use_return == 1, Horizontal::resend, base + resend + next_cost(attribute)};
      }
    }
  }
  return best;
}

void TerminalRenderer::emit_move(const CursorMove& move, int row, int column) {
  if (move.absolute) {
    out_ += "\x1b[";
    if (row != 0) append_number(out_, row + 1);
    if (column != 0) {
      out_ += ';';
      append_number(out_, column + 1);
    }
    out_ += 'H';
    cursor_row_ = row;
    cursor_column_ = column;
    return;
  }
  if (move.carriage_return) {
    out_ += '\r';
    cursor_column_ = 0;
  }
  int rows_down = row - cursor_row_;
  if (rows_down > 0) {
    // Moving down never starts on the bottom row, so line feeds cannot scroll.
    if (rows_down <= counted_csi_cost(rows_down)) {
      out_.append(static_cast<size_t>(rows_down), '\n');
    } else {
      send_csi(rows_down, 'B');
    }
  } else if (rows_down == -1) {
    out_ += "\x1bM";  // reverse index; the cursor is below the top row, so it cannot scroll
  } else if (rows_down < 0) {
    send_csi(-rows_down, 'A');
  }
  cursor_row_ = row;
  int from = cursor_column_;
  switch (move.horizontal) {
    case Horizontal::none:
      break;
    case Horizontal::left:
      if (from - column <= counted_csi_cost(from - column)) {
        out_.append(static_cast<size_t>(from - column), '\b');
      } else {
        send_csi(from - column, 'D');
      }
      break;
    case Horizontal::right:
      send_csi(column - from, 'C');
      break;
    case Horizontal::resend:
      for (int i = from; i < column; ++i) write_cell(row, i);
      break;
  }
  cursor_column_ = column;
}

void TerminalRenderer::move_to(int row, int column, int next_attribute, bool next_blank) {
  emit_move(plan_move(row, column, next_attribute, next_blank), row, column);
}

}  // namespace textscreen::platform
