// The one text state of the process, shared by the console and the graphics half: view rows,
// colours, the print column, the hook table and the last error; and the helpers every
// operation shares.
#pragma once

#include <cstdint>

#include "console/screen_hooks.h"

namespace textscreen::detail {

struct ScreenState {
  int32_t foreground = 7;
  int32_t background = 0;
  int32_t view_top = -1;     // 0-based; -1 until first needed
  int32_t view_bottom = -1;  // 0-based; -1 until first needed
  bool pending_wrap = false;
  int32_t print_column = 0;
  int32_t print_width = 0;
  bool print_channel_ready = false;
  ScreenHooks hooks;
  int32_t last_error = 0;
};

ScreenState& screen_state();

// Stores and returns an error number as the last error.
int32_t set_error(int32_t error);

// Screen size in columns and rows, through slot screen_size or from the console window
// (80 by 25 when it is empty).
void screen_size(int32_t& columns, int32_t& rows);
// Cursor column and row, 1-based, through slot cursor_position.
void cursor_position(int32_t& column, int32_t& row);

// Tells the screen that the view rows changed, through slot view_changed (the console
// reads its window again).
void view_changed();

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
// each operation's changes in one write. Also counts the outermost operations, so that an
// idling key poll can tell whether the program did anything else since the last poll.
class OutputBatch {
 public:
  OutputBatch();
  ~OutputBatch();
  // How many outermost public operations have begun.
  static uint64_t operations_begun();
  OutputBatch(const OutputBatch&) = delete;
  OutputBatch& operator=(const OutputBatch&) = delete;
};

}  // namespace textscreen::detail
