// The graphics screen in memory: what screen_mode builds, and text, clears, colours,
// scrolling and the grid as the frame shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "console/screen_state.h"
#include "support/graphics_fixture.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {
namespace {

class ModeTwelveTest : public GraphicsTest {
 protected:
  ModeTwelveTest() {
    detail::reset_layer({&console_, &clock_, &speaker_, {}, "/opt/trips/tripcost.bin"});
    screen_mode(12, 8, 0, 0, 0);
  }
  // The frame lines' dirty flags, one byte each, and the flags when only [first, end) are.
  static std::string dirty() { return {g().dirty.get(), g().dirty.get() + g().height}; }
  static std::string only(int first, int end) {
    return std::string(first, 0) + std::string(end - first, 1) + std::string(480 - end, 0);
  }
  void forget_dirty() const { std::fill_n(g().dirty.get(), g().height, uint8_t{0}); }
  int pixel(int x, int y) const { return g().line(y)[x]; }
};

TEST_F(ModeTwelveTest, BuildsTheCalculationScreen) {
  ASSERT_TRUE(detail::graphics_screen_open());
  EXPECT_EQ(last_error(), ERROR_NONE);
  const detail::GraphicsScreen& s = g();
  // The 80 x 30 grid of 16-line glyphs is what every screen test reads; depth, mask and the
  // starting colours are the depth test's.
  EXPECT_EQ(std::make_pair(s.width, s.height), std::make_pair(640, 480));
  EXPECT_EQ(s.shown_palette[14], 255u | 255u << 8 | 85u << 16);
  EXPECT_EQ(s.full_palette[32], 255u << 16);  // the 256-colour palette lies behind
  EXPECT_EQ(detail::window_title(), "tripcost");
  EXPECT_TRUE(std::all_of(s.dirty.get(), s.dirty.get() + 480, [](uint8_t d) { return d == 1; }));
}

TEST_F(ModeTwelveTest, ModesThatDoNotExistChangeNothingAndASecondScreenStartsAfresh) {
  write_text("kept", 0);
  for (int mode : {3, 4, 5, 6, 22, -1}) {
    screen_mode(mode, 0, 0, 0, 0);
    EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL) << mode;
  }
  EXPECT_EQ(shown(1), "kept");
  EXPECT_EQ(g().cursor_column, 4);
  // A second screen starts afresh with the same title.
  screen_color(10, 1);
  screen_mode(12, 8, 0, 0, 0);
  EXPECT_EQ(shown(1), "");
  EXPECT_EQ(std::make_tuple(g().foreground, g().background, g().cursor_column),
            std::make_tuple(15u, 0u, 0));
  EXPECT_EQ(detail::window_title(), "tripcost");
  screen_mode(0, 0, 0, 0, 0);
  EXPECT_FALSE(detail::graphics_screen_open());
}

TEST_F(ModeTwelveTest, AFullBottomRowScrollsOnlyWhenTheNextTextComes) {
  print_at(30, 1, std::string(80, 'x'));
  EXPECT_EQ(shown(30), std::string(80, 'x'));
  write_text("y", 0);
  EXPECT_EQ(shown(29), std::string(80, 'x'));
  EXPECT_EQ(shown(30), "y");
  // A locate in between cancels the scroll.
  print_at(30, 1, std::string(80, 'z'));
  print_at(5, 1, "w");
  EXPECT_EQ(shown(30), std::string(80, 'z'));
  EXPECT_EQ(shown(5), "w");
}

TEST_F(ModeTwelveTest, ClearingTheViewTouchesOnlyItsLines) {
  screen_color(15, 1);
  screen_cls(0);
  screen_view_print(17, 25);
  screen_color(15, 2);
  forget_dirty();
  screen_cls(DEFAULT_MODE);
  EXPECT_EQ(dirty(), only(256, 400));
  EXPECT_EQ(std::make_tuple(pixel(0, 255), pixel(639, 256), pixel(0, 399), pixel(0, 400)),
            std::make_tuple(1, 2, 2, 1));
  EXPECT_EQ(std::make_pair(g().cursor_column, g().cursor_row), std::make_pair(0, 16));
}

TEST_F(ModeTwelveTest, AScrollByTheViewHeightOrMoreClearsTheView) {
  write_text("above", 0);
  screen_view_print(28, 30);
  write_text("a\r\nb\r\nc", 0);
  forget_dirty();
  write_text("\n\n\n\n", 0);
  for (int r = 28; r <= 30; ++r) EXPECT_EQ(shown(r), "") << r;
  EXPECT_EQ(shown(1), "above");
  EXPECT_EQ(dirty(), only(27 * 16, 480));
}

TEST_F(ModeTwelveTest, WidthChangesTheFontOrNothing) {
  write_text("kept", 0);
  for (auto [columns, rows] : {std::pair{80, 25}, {80, 300}, {0, 0}, {-3, -3}}) {
    screen_width(columns, rows);
    EXPECT_EQ(std::make_pair(g().text_rows, g().font.glyph_height), std::make_pair(30, 16));
  }
  EXPECT_EQ(shown(1), "kept");
  screen_width(80, 60);
  EXPECT_EQ(std::make_tuple(g().text_columns, g().text_rows, g().font.glyph_height),
            std::make_tuple(80, 60, 8));
  EXPECT_EQ(shown(1), "");
  EXPECT_EQ(detail::screen_state().view_bottom, 59);
  screen_width(0, 30);  // the columns follow from the font's width
  EXPECT_EQ(std::make_tuple(g().text_columns, g().text_rows, g().font.glyph_height),
            std::make_tuple(80, 30, 16));
  print_at(30, 80, "e");
  EXPECT_EQ(shown_cell(80, 30).character, 'e');
}

TEST_F(ModeTwelveTest, ColoursAreMaskedAndCellsTellTheirCharacterAndColours) {
  screen_color(23, 9);
  EXPECT_EQ(screen_color(10, 1), 7 | 9 << 16);
  EXPECT_EQ(screen_color(-1, 1), 10 | 1 << 16);  // a negative colour keeps
  write_text("A", 0);
  auto cell_at = detail::screen_state().hooks.cell_at;
  EXPECT_EQ(std::make_tuple(cell_at(1, 1, 0), cell_at(1, 1, 1), cell_at(2, 1, 0)),
            std::make_tuple('A', 10 + 1 * 16, ' '));
  // Outside the grid.
  EXPECT_EQ(std::make_tuple(cell_at(0, 1, 0), cell_at(81, 1, 0), cell_at(1, 31, 1)),
            std::make_tuple(0, 0, 0));

  screen_mode(18, 32, 0, 0, 0);
  screen_color(0x123456, 0x654321);
  write_text("A", 0);
  EXPECT_EQ(std::make_pair(cell_at(1, 1, 1), cell_at(1, 1, 2)), std::make_pair(0x123456, 0x654321));
}

TEST_F(ModeTwelveTest, WideTextBecomesBytes) {
  const char16_t units[] = {u'A', 0xD83D, 0xDE00, u'B', 0x263A, 0xE9};
  detail::screen_state().hooks.write_wide_text(reinterpret_cast<const uint16_t*>(units), 6, 0);
  EXPECT_EQ(shown(1), "A?B?\xE9");
}

TEST_F(ModeTwelveTest, PalettePortsTakeAndGiveSixBitComponents) {
  auto& hooks = detail::screen_state().hooks;
  hooks.port_write(0x3C8, 14);
  for (int v : {63, 0, 21}) hooks.port_write(0x3C9, v);
  EXPECT_EQ(g().shown_palette[14], 255u | 0u << 8 | 85u << 16);
  hooks.port_write(0x3C7, 14);
  for (int v : {63, 0, 21, 63}) EXPECT_EQ(hooks.port_read(0x3C9), v);  // then entry 15, white
  EXPECT_EQ(hooks.port_read(0x3DA), 8);
}

TEST_F(GraphicsTest, DepthFollowsTheModeTheArgumentAndTheFlags) {
  // Mode, depth and flags asked for; the depth, colour mask and foreground the screen gets.
  using Case = std::tuple<int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t>;
  for (auto [mode, depth, flags, expected_depth, mask, foreground] :
       {Case{12, 8, 0, 4, 15, 15}, Case{13, 32, 0, 8, 255, 15}, Case{18, 15, 0, 16, 0xFFFF, 0xFFFF},
        Case{18, 24, 0, 32, ~0u, ~0u}, Case{18, 7, 0, 8, 255, 15},
        Case{12, 0, detail::MODE_OPENGL, 16, 0xFFFF, 0xFFFF}, Case{11, 0, -1, 1, 1, 1}}) {
    screen_mode(mode, depth, 0, flags, 0);
    ASSERT_TRUE(detail::graphics_screen_open()) << mode;
    EXPECT_EQ(std::make_tuple(g().depth, g().colour_mask, g().foreground),
              std::make_tuple(expected_depth, mask, foreground))
        << mode << " " << depth;
  }
}

TEST_F(GraphicsTest, ModeOnesColourMapsChangeWhatItsFourPixelValuesShow) {
  screen_mode(1, 0, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  const auto shows = [] {
    return std::vector<uint32_t>(g().shown_palette.begin(), g().shown_palette.begin() + 4);
  };
  const auto& full = g().full_palette;
  EXPECT_EQ(shows(), (std::vector<uint32_t>{full[0], full[11], full[13], full[15]}));
  std::fill_n(g().dirty.get(), g().height, uint8_t{0});
  screen_color(1, -1);
  EXPECT_EQ(shows(), (std::vector<uint32_t>{full[0], full[10], full[12], full[14]}));
  EXPECT_EQ(std::count(g().dirty.get(), g().dirty.get() + g().height, 1), g().height);
  screen_color(6, -1);  // the low two bits choose
  EXPECT_EQ(shows(), (std::vector<uint32_t>{full[0], full[3], full[5], full[7]}));
}

TEST_F(GraphicsTest, AWaitForAKeyEndsWhenTheWindowPushesOne) {
  screen_mode(12, 8, 0, 0, 0);
  clock_.at(std::chrono::milliseconds(70), [] { detail::window_character_typed('x', 1); });
  sleep_wait(-1);
  EXPECT_EQ(clock_.elapsed(), std::chrono::milliseconds(70));
  EXPECT_EQ(key_poll(), "x");
}

TEST_F(GraphicsTest, ClosingOnlyLeavesTheViewAsItWas) {
  screen_mode(12, 8, 2, 0, 0);
  screen_view_print(5, 20);
  screen_mode(0, 0, 0, detail::MODE_CLOSE_ONLY, 0);
  EXPECT_FALSE(detail::graphics_screen_open());
  EXPECT_EQ(detail::screen_state().hooks.write_text, nullptr);
  EXPECT_EQ(detail::screen_state().view_top, 4);
}

TEST_F(LayerTest, WithoutADriverTheProgramStaysOnTheConsole) {
  unset_environment("VXGFX");
  screen_mode(12, 8, 0, 0, 0);
  EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL);
  EXPECT_FALSE(detail::graphics_screen_open());
  write_text("console", 0);
  EXPECT_EQ(row(1), "console");
}

}  // namespace
}  // namespace textscreen::testing
