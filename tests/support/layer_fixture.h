// A fresh layer on an in-memory console for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/layer_reset.h"
#include "platform/memory/memory_console.h"
#include "platform/speaker.h"
#include "support/scripted_clock.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {

// A speaker that counts its tones; they take no time.
struct CountingSpeaker final : platform::Speaker {
  bool play_tone(int, int) override { return ++tones > 0; }
  int tones = 0;
};

// A row and a column, 1-based.
using Place = std::pair<int, int>;

using Rows = std::vector<std::string>;

class LayerTest : public ::testing::Test {
 protected:
  explicit LayerTest(int16_t columns = 80, int16_t rows = 25, int16_t window_rows = 0)
      : console_(columns, rows, window_rows) {
    console_.set_clock(&clock_);
    detail::reset_layer({&console_, &clock_, &speaker_, {}});
  }
  ~LayerTest() override { detail::reset_layer({}); }

  // The text of a screen row (1-based), trailing blanks removed.
  std::string row(int r) const {
    std::string text = console_.row_text(static_cast<int16_t>(r - 1));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }
  // Text printed to the screen from row r, column c (1-based).
  static void print_at(int r, int c, std::string_view text, int32_t mask = 0) {
    screen_locate(r, c, -1);
    print_string(0, text, mask);
  }
  // Rows first..last as row() gives them; by default every row of the buffer.
  Rows screen_rows(int first = 1, int last = 0) const {
    Rows rows;
    for (int r = first; r <= (last > 0 ? last : console_.buffer().size().row); ++r) {
      rows.push_back(row(r));
    }
    return rows;
  }
  uint16_t attribute_at(int r, int c) const {
    return console_.buffer().at(static_cast<int16_t>(c - 1), static_cast<int16_t>(r - 1)).attribute;
  }
  // The console cursor, 1-based buffer coordinates.
  int cursor_row() const { return console_.buffer().cursor().row + 1; }
  int cursor_column() const { return console_.buffer().cursor().column + 1; }
  Place cursor() const { return {cursor_row(), cursor_column()}; }

  platform::MemoryConsole console_;
  ScriptedClock clock_;
  CountingSpeaker speaker_;
};

}  // namespace textscreen::testing
