// What only the console half keeps: which part of the console buffer is the text screen.
// The shared text state (view rows, colours, print column, hooks) is in screen_state.h.
#pragma once

#include <cstdint>

namespace textscreen::detail {

// Which part of the console buffer is the text screen: every column of the buffer by the
// rows visible in the console window. Empty (left = right, or top = bottom) when the
// output is not a console.
struct ConsoleWindow {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  bool empty() const { return left == right || top == bottom; }
};

struct ConsoleState {
  ConsoleWindow window;
  bool window_known = false;
  // A size change fixed the geometry: the window is not read again, and follows only the
  // moves the layer makes itself.
  bool geometry_frozen = false;
};

ConsoleState& console_state();

// The ConsoleWindow, read on first use and again while it is empty.
const ConsoleWindow& console_window();
// Reads the ConsoleWindow again unless the geometry is frozen.
void reread_console_window();
// The layer itself moved the console window to these rows: the ConsoleWindow follows, also
// when the geometry is frozen (that only keeps it from taking up moves made by others).
void console_window_moved(int16_t top, int16_t bottom);

// Back to the console half of a fresh process: for the layer's reset.
void reset_console_half();

}  // namespace textscreen::detail
