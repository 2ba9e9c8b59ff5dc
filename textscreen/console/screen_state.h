// The one screen state of the process and the helpers every console operation shares.
#pragma once

#include <cstdint>

#include "console/screen_hooks.h"
#include "platform/console_device.h"

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

struct ScreenState {
  int32_t foreground = 7;
  int32_t background = 0;
  int32_t view_top = -1;     // 0-based; -1 until first needed
  int32_t view_bottom = -1;  // 0-based; -1 until first needed
  bool pending_wrap = false;
  ConsoleWindow window;
  bool window_known = false;
  bool geometry_frozen = false;
  int32_t print_column = 0;
  int32_t print_width = 0;
  bool print_channel_ready = false;
  ScreenHooks hooks;
  int32_t last_error = 0;
  platform::ConsoleDevice* console = nullptr;  // standard output and input
};

ScreenState& screen_state();

// Stores and returns an error number as the last error.
int32_t set_error(int32_t error);

// The console device; a process that never ran layer_init gets its standard console here.
platform::ConsoleDevice& console();

// The ConsoleWindow, read on first use.
const ConsoleWindow& console_window();
// Reads the ConsoleWindow again unless the geometry is frozen.
void reread_console_window();

// Screen size in columns and rows, through slot screen_size or from the console window
// (80 by 25 when it is empty).
void screen_size(int32_t& columns, int32_t& rows);
// Cursor column and row, 1-based, through slot cursor_position.
void cursor_position(int32_t& column, int32_t& row);

// The view rows, 0-based, filled in on first need.
struct ViewRows {
  int32_t top;
  int32_t bottom;
};
ViewRows view_rows();

// Sets up the print channel on first use.
void ensure_print_channel();

// A move of the cursor that, when refused, still applies the visibility.
int32_t locate_with_fallback(int32_t row, int32_t column, int32_t visibility);
// screen_locate that also hands back the packed position of slot move_cursor.
int32_t locate_with_position(int32_t row, int32_t column, int32_t visibility, int32_t* position);

// Flushes the console once the outermost public operation ends, so a terminal receives
// each operation's changes in one write.
class OutputBatch {
 public:
  OutputBatch();
  ~OutputBatch();
  OutputBatch(const OutputBatch&) = delete;
  OutputBatch& operator=(const OutputBatch&) = delete;
};

// Back to the state of a fresh process, on the given console: for tests.
void reset_layer_for_tests(platform::ConsoleDevice* device);

}  // namespace textscreen::detail

namespace textscreen::detail {
// Replaces the tone of beep (nullptr: the real one again): for tests.
void set_beep_sound(void (*sound)());
}  // namespace textscreen::detail
