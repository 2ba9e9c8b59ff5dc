// The renderer's bytes go into a real terminal model (libvterm); after every render the model
// must show exactly the buffer: glyphs, colours, cursor position and visibility.
#include "platform/terminal_renderer.h"

#include <gtest/gtest.h>
#include <vterm.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/code_page.h"

namespace textscreen::platform {
namespace {

constexpr int16_t COLUMNS = 80;
constexpr int16_t ROWS = 25;

int ansi_index(int bits) {
  return ((bits >> 2) & 1) | (bits & 2) | ((bits & 1) << 2) | (bits & 8);
}

class TerminalModel {
 public:
  TerminalModel(int columns, int rows) : vt_(vterm_new(rows, columns)) {
    vterm_set_utf8(vt_, 1);
    screen_ = vterm_obtain_screen(vt_);
    callbacks_.settermprop = &TerminalModel::set_property;
    vterm_screen_set_callbacks(screen_, &callbacks_, this);
    vterm_screen_reset(screen_, 1);
  }
  ~TerminalModel() { vterm_free(vt_); }
  TerminalModel(const TerminalModel&) = delete;
  TerminalModel& operator=(const TerminalModel&) = delete;

  void feed(const std::string& bytes) { vterm_input_write(vt_, bytes.data(), bytes.size()); }
  void resize(int columns, int rows) { vterm_set_size(vt_, rows, columns); }

  VTermScreenCell cell(int column, int row) const {
    VTermScreenCell c{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &c);
    return c;
  }
  VTermPos cursor() const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
    return pos;
  }
  bool cursor_visible() const { return cursor_visible_; }

  // Empty when the terminal shows `buffer`, else the first difference found.
  std::string difference(const CellBuffer& buffer) const {
    char text[160];
    for (int16_t row = 0; row < buffer.size().row; ++row) {
      for (int16_t column = 0; column < buffer.size().column; ++column) {
        const ConsoleCell& want = buffer.at(column, row);
        VTermScreenCell got = cell(column, row);
        char32_t glyph = CODE_PAGE_852_GLYPHS[want.character];
        char32_t shown = got.chars[0] == 0 ? U' ' : got.chars[0];
        int fg = colour_index(got.fg);
        int bg = colour_index(got.bg);
        bool fg_matters = glyph != U' ';
        if (shown != glyph || bg != ansi_index((want.attribute >> 4) & 0xF) ||
            (fg_matters && fg != ansi_index(want.attribute & 0xF)) || got.attrs.bold ||
            got.attrs.reverse || got.attrs.underline) {
          std::snprintf(text, sizeof text,
                        "cell %d,%d: want U+%04X attribute %02X, got U+%04X fg %d bg %d", column,
                        row, static_cast<unsigned>(glyph), want.attribute & 0xFF,
                        static_cast<unsigned>(shown), fg, bg);
          return text;
        }
      }
    }
    VTermPos pos = cursor();
    if (pos.row != buffer.cursor().row || pos.col != buffer.cursor().column) {
      std::snprintf(text, sizeof text, "cursor at %d,%d, want %d,%d", pos.col, pos.row,
                    buffer.cursor().column, buffer.cursor().row);
      return text;
    }
    if (cursor_visible_ != buffer.cursor_visible()) return "cursor visibility";
    return {};
  }

 private:
  static int colour_index(const VTermColor& colour) {
    return VTERM_COLOR_IS_INDEXED(&colour) ? colour.indexed.idx : -1;
  }
  static int set_property(VTermProp prop, VTermValue* value, void* user) {
    if (prop == VTERM_PROP_CURSORVISIBLE)
      static_cast<TerminalModel*>(user)->cursor_visible_ = value->boolean;
    return 1;
  }

  VTerm* vt_;
  VTermScreen* screen_;
  VTermScreenCallbacks callbacks_{};
  bool cursor_visible_ = true;
};

// Renders into the model and checks that it shows the buffer; returns the bytes sent.
std::string render_into(TerminalRenderer& renderer, TerminalModel& model,
                        const CellBuffer& buffer) {
  std::string bytes = renderer.render(buffer);
  model.feed(bytes);
  EXPECT_EQ(model.difference(buffer), "");
  return bytes;
}

void write_text(CellBuffer& buffer, int16_t column, int16_t row, std::string_view text,
                uint16_t attribute) {
  std::vector<ConsoleCell> cells;
  for (char ch : text) cells.push_back({static_cast<uint8_t>(ch), attribute});
  buffer.write_cells(cells.data(), static_cast<int32_t>(cells.size()), {column, row});
}

// Every cell non-blank, colours varying along the rows.
void fill_screen(CellBuffer& buffer) {
  for (int16_t row = 0; row < buffer.size().row; ++row) {
    for (int16_t column = 0; column < buffer.size().column; ++column) {
      ConsoleCell c{static_cast<uint8_t>('A' + (row + column) % 26),
                    static_cast<uint16_t>(0x10 * (row % 8) + 0x7 + (column / 20))};
      buffer.write_cells(&c, 1, {column, row});
    }
  }
}

// Moves rows top..bottom up by `rows` as the console does, and tells the renderer.
void scroll_up(CellBuffer& buffer, TerminalRenderer& renderer, int16_t top, int16_t bottom,
               int16_t rows, ConsoleCell fill) {
  int16_t right = static_cast<int16_t>(buffer.size().column - 1);
  CellRect clip{0, top, right, bottom};
  if (top + rows <= bottom) {
    buffer.scroll_rectangle({0, static_cast<int16_t>(top + rows), right, bottom}, &clip, {0, top},
                            fill);
  } else {
    for (int16_t row = top; row <= bottom; ++row) {
      buffer.fill_characters(fill.character, buffer.size().column, {0, row});
      buffer.fill_attributes(fill.attribute, buffer.size().column, {0, row});
    }
  }
  renderer.note_scroll(top, bottom, rows, fill);
}

struct RendererTest : ::testing::Test {
  CellBuffer buffer{COLUMNS, ROWS};
  TerminalRenderer renderer;
  TerminalModel model{COLUMNS, ROWS};
};

TEST_F(RendererTest, FirstRenderPaintsAndLaterRendersSendOnlyChanges) {
  write_text(buffer, 0, 0, "top left", 0x1F);
  buffer.set_cursor({5, 7});
  std::string first = render_into(renderer, model, buffer);
  EXPECT_TRUE(first.starts_with("\x1b[?2026h") && first.ends_with("\x1b[?2026l"));
  EXPECT_EQ(renderer.render(buffer), "");

  write_text(buffer, 30, 12, "Hello", 0x1E);
  std::string change = render_into(renderer, model, buffer);
  EXPECT_NE(change.find("Hello"), std::string::npos);
  EXPECT_LT(change.size(), 50u);

  buffer.set_cursor_visible(false);
  EXPECT_EQ(render_into(renderer, model, buffer), "\x1b[?2026h\x1b[?25l\x1b[?2026l");
  for (CellPosition p : {CellPosition{79, 24}, CellPosition{0, 24}, CellPosition{3, 2},
                         CellPosition{2, 3}, CellPosition{40, 3}, CellPosition{0, 0}}) {
    buffer.set_cursor(p);
    render_into(renderer, model, buffer);
  }
}

TEST_F(RendererTest, EveryAttributeAndCodePageByteRoundTrips) {
  for (int i = 0; i < 256; ++i) {
    auto column = static_cast<int16_t>(i % 64);
    auto row = static_cast<int16_t>(i / 64);
    ConsoleCell text{static_cast<uint8_t>('a' + i % 26), static_cast<uint16_t>(i)};
    ConsoleCell blank{' ', static_cast<uint16_t>(i)};
    ConsoleCell glyph{static_cast<uint8_t>(i), 0x07};
    buffer.write_cells(&text, 1, {column, row});
    buffer.write_cells(&blank, 1, {column, static_cast<int16_t>(row + 8)});
    buffer.write_cells(&glyph, 1, {column, static_cast<int16_t>(row + 16)});
  }
  render_into(renderer, model, buffer);
  EXPECT_EQ(model.cell(0xA5 % 64, 16 + 0xA5 / 64).chars[0], 0x0105u);  // ą
  EXPECT_EQ(model.cell(3, 16).chars[0], 0x2665u);                      // ♥
  // Again from known colours, in the opposite order, so the shorter colour changes are used.
  for (int i = 0; i < 256; ++i) {
    buffer.fill_attributes(static_cast<uint16_t>(255 - i), 1,
                           {static_cast<int16_t>(i % 64), static_cast<int16_t>(i / 64)});
  }
  render_into(renderer, model, buffer);
}

TEST_F(RendererTest, BottomRightCellIsWrittenWithoutScrolling) {
  fill_screen(buffer);
  render_into(renderer, model, buffer);
  write_text(buffer, 79, 24, "#", 0x4E);
  write_text(buffer, 78, 23, "$", 0x4E);
  buffer.set_cursor({10, 24});
  render_into(renderer, model, buffer);
  write_text(buffer, 0, 24, std::string(80, '='), 0x2F);
  render_into(renderer, model, buffer);
}

TEST_F(RendererTest, ScrollNotesReplayOnTheTerminal) {
  fill_screen(buffer);
  render_into(renderer, model, buffer);
  scroll_up(buffer, renderer, 5, 14, 2, {' ', 0x1F});
  EXPECT_LT(render_into(renderer, model, buffer).size(), 60u);

  // Several notes between renders, and one of more rows than its region.
  scroll_up(buffer, renderer, 5, 14, 1, {' ', 0x1F});
  scroll_up(buffer, renderer, 0, 24, 2, {' ', 0x20});
  scroll_up(buffer, renderer, 20, 24, 1, {'*', 0x30});
  scroll_up(buffer, renderer, 3, 6, 9, {' ', 0x40});
  render_into(renderer, model, buffer);

  // Terminals refuse a one-row scroll region, so such a scroll is left to the diff.
  scroll_up(buffer, renderer, 5, 5, 1, {' ', 0x1F});
  EXPECT_EQ(render_into(renderer, model, buffer).find("\x1b[6;6r"), std::string::npos);

  // Notes that do not match what happened only cost bytes.
  renderer.note_scroll(0, 24, 3, {' ', 7});
  renderer.note_scroll(20, 30, 1, {' ', 7});
  renderer.note_scroll(4, 2, 1, {' ', 7});
  render_into(renderer, model, buffer);
}

TEST_F(RendererTest, ResizeAndInvalidateRepaint) {
  fill_screen(buffer);
  render_into(renderer, model, buffer);
  for (CellPosition size : {CellPosition{100, 30}, CellPosition{40, 10}}) {
    buffer.resize(size);
    model.resize(size.column, size.row);
    write_text(buffer, 0, static_cast<int16_t>(size.row - 1), "last row", 0x5A);
    render_into(renderer, model, buffer);
  }
  renderer.invalidate();
  renderer.note_scroll(0, 9, 1, {' ', 7});  // contents unknown: the repaint covers it
  model.feed("garbage\x1b[5;1H\x1b[1;7mmore\x1b[?25l");
  render_into(renderer, model, buffer);
}

TEST_F(RendererTest, ByteCountsOfCommonUpdates) {
  fill_screen(buffer);
  render_into(renderer, model, buffer);
  scroll_up(buffer, renderer, 0, 24, 1, {' ', 0x07});
  std::string blank_row = render_into(renderer, model, buffer);
  EXPECT_LT(blank_row.size(), 300u);
  scroll_up(buffer, renderer, 0, 24, 1, {' ', 0x07});
  std::string line;
  for (int i = 0; i < 80; ++i) line += static_cast<char>('a' + i % 26);
  write_text(buffer, 0, 24, line, 0x07);
  std::string text_row = render_into(renderer, model, buffer);
  EXPECT_LT(text_row.size(), 120u);

  // A printed 60-character line, cursor left after it: 1.2 bytes a cell plus 30 bytes.
  write_text(buffer, 4, 12, std::string(60, 'x'), 0x07);
  buffer.set_cursor({64, 12});
  std::string printed = render_into(renderer, model, buffer);
  EXPECT_LT(printed.size(), 60 * 12 / 10 + 30);
  std::printf("full-screen scroll: %zu bytes, with a new 80-char row %zu; 60-char line %zu\n",
              blank_row.size(), text_row.size(), printed.size());

  // A cleared row is erased, not written out.
  buffer.fill_characters(' ', COLUMNS, {0, 3});
  buffer.fill_attributes(0x07, COLUMNS, {0, 3});
  EXPECT_LT(render_into(renderer, model, buffer).size(), 40u);
  // One unchanged cell between two changes is re-sent rather than skipped with a move.
  write_text(buffer, 10, 3, "a", 0x07);
  write_text(buffer, 12, 3, "b", 0x07);
  EXPECT_NE(render_into(renderer, model, buffer).find("a b"), std::string::npos);
  // Notes of one region scroll once.
  scroll_up(buffer, renderer, 0, 24, 1, {' ', 0x07});
  scroll_up(buffer, renderer, 0, 24, 2, {' ', 0x07});
  EXPECT_NE(render_into(renderer, model, buffer).find("\x1b[3S"), std::string::npos);
}

TEST(RestoreSequence, ResetsColoursShowsTheCursorAndKeepsItsPlace) {
  TerminalModel model(COLUMNS, ROWS);
  model.feed("\x1b[5;10r\x1b[31;44m\x1b[?25l\x1b[7;3H");
  model.feed(TerminalRenderer::restore_sequence());
  EXPECT_TRUE(model.cursor_visible());
  EXPECT_EQ(model.cursor().row, 6);
  EXPECT_EQ(model.cursor().col, 2);
  // With no region left, a line feed on the bottom row scrolls the whole screen.
  model.feed("top\x1b[25;1H\nx");
  EXPECT_EQ(model.cell(0, 0).chars[0], 0u);
  VTermScreenCell x = model.cell(0, 24);
  EXPECT_FALSE(VTERM_COLOR_IS_INDEXED(&x.bg) && x.bg.indexed.idx == 4);
}

// Random writes, fills, scrolls, cursor changes and resizes, checked after every render.
TEST(RendererFuzz, ModelMatchesBufferAfterEveryRender) {
  std::mt19937 random(852);
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  CellBuffer buffer(COLUMNS, ROWS);
  TerminalRenderer renderer;
  TerminalModel model(COLUMNS, ROWS);
  // Few colours and characters, so that unchanged runs, blanks and equal colours are common.
  auto random_cell = [&] {
    static constexpr uint8_t CHARACTERS[] = {' ', ' ', 0, 'a', 'Z', 0xA5, 0x03, 0xDB, 0xFF};
    static constexpr uint16_t ATTRIBUTES[] = {0x07, 0x07, 0x1F, 0x70, 0x4E, 0x8F, 0xF0};
    return ConsoleCell{CHARACTERS[pick(0, 8)], ATTRIBUTES[pick(0, 6)]};
  };
  for (int step = 0; step < 400; ++step) {
    int operations = pick(1, 3);
    for (int i = 0; i < operations; ++i) {
      CellPosition size = buffer.size();
      CellPosition at{static_cast<int16_t>(pick(0, size.column - 1)),
                      static_cast<int16_t>(pick(0, size.row - 1))};
      switch (pick(0, 9)) {
        case 0:
        case 1: {
          std::vector<ConsoleCell> cells(pick(1, 90));
          for (auto& c : cells) c = random_cell();
          buffer.write_cells(cells.data(), static_cast<int32_t>(cells.size()), at);
          break;
        }
        case 2: {
          ConsoleCell c = random_cell();
          buffer.fill_characters(c.character, pick(1, 400), at);
          break;
        }
        case 3:
          buffer.fill_attributes(random_cell().attribute, pick(1, 400), at);
          break;
        case 4:
        case 5: {
          auto top = static_cast<int16_t>(pick(0, size.row - 1));
          auto bottom = static_cast<int16_t>(pick(top, size.row - 1));
          if (pick(0, 1)) top = 0, bottom = static_cast<int16_t>(size.row - 1);
          scroll_up(buffer, renderer, top, bottom, static_cast<int16_t>(pick(1, 6)), random_cell());
          break;
        }
        case 6:
          buffer.set_cursor(at);
          break;
        case 7:
          buffer.set_cursor_visible(pick(0, 3) != 0);
          break;
        case 8:
          if (pick(0, 9) == 0) {
            CellPosition fresh{static_cast<int16_t>(pick(20, 100)),
                               static_cast<int16_t>(pick(5, 30))};
            buffer.resize(fresh);
            model.resize(fresh.column, fresh.row);
          }
          break;
        case 9:
          if (pick(0, 9) == 0) renderer.invalidate();
          break;
      }
    }
    render_into(renderer, model, buffer);
    ASSERT_FALSE(HasFailure()) << "step " << step;
    ASSERT_EQ(renderer.render(buffer), "") << "step " << step;
  }
}

}  // namespace
}  // namespace textscreen::platform
