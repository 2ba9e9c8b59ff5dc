// A fresh layer on an in-memory console for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "console/screen_state.h"
#include "platform/memory_console.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {

inline int beeps_heard = 0;
inline void count_beep() {
  ++beeps_heard;
}

class LayerTest : public ::testing::Test {
 protected:
  explicit LayerTest(int16_t columns = 80, int16_t rows = 25, int16_t window_rows = 0)
      : console_(columns, rows, window_rows) {
    detail::reset_layer_for_tests(&console_);
    detail::set_beep_sound(count_beep);
    beeps_heard = 0;
  }
  ~LayerTest() override {
    detail::reset_layer_for_tests(nullptr);
    detail::set_beep_sound(nullptr);
  }

  // The text of a screen row (1-based), trailing blanks removed.
  std::string row(int r) const {
    std::string text = console_.row_text(static_cast<int16_t>(r - 1));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }
  uint16_t attribute_at(int r, int c) const {
    return console_.buffer().at(static_cast<int16_t>(c - 1), static_cast<int16_t>(r - 1)).attribute;
  }
  // The console cursor, 1-based buffer coordinates.
  int cursor_row() const { return console_.buffer().cursor().row + 1; }
  int cursor_column() const { return console_.buffer().cursor().column + 1; }

  platform::MemoryConsole console_;
};

}  // namespace textscreen::testing

namespace textscreen::testing {
// `count` copies of `c` between two texts: a line of screen cells as the tests expect it.
inline std::string spaced(const std::string& before, size_t count, char c,
                          const std::string& after = "") {
  std::string text = before;
  text.append(count, c);
  text += after;
  return text;
}
}  // namespace textscreen::testing
