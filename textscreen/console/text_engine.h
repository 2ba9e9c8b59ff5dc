// The text engine: control characters, runs of cells, wrapping at the right edge and
// scrolling of the view rows. It knows no device: the console and the graphics window
// hand it their own way of drawing a run and of scrolling the view.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen::detail {

// Columns and rows of the view in the device's own coordinates, inclusive. A bottom of -1
// means no limit: nothing ever scrolls.
struct TextView {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct TextCursor {
  int32_t column = 0;
  int32_t row = 0;
};

class TextSurface {
 public:
  virtual ~TextSurface() = default;
  // Writes cells along the cursor's row; false drops the rest of the text.
  virtual bool draw_run(const uint8_t* bytes, int32_t count, TextCursor at) = 0;
  // Scrolls the view up by `rows`; the device may move the view itself (a console buffer
  // taller than its window), which is why it gets the view.
  virtual void scroll(int32_t rows, TextView& view) = 0;
  virtual void bell() = 0;
};

// The longest run handed to draw_run in one piece.
constexpr int32_t TEXT_RUN_LIMIT = 256;

void run_text_engine(std::string_view bytes, TextView& view, TextCursor& cursor,
                     TextSurface& surface, bool line_feed_returns);

// Scrolls by the rows the cursor stands below the view, leaving it on the bottom row.
void scroll_to_cursor(TextView& view, TextCursor& cursor, TextSurface& surface);

// The text engine as a screen runs it, line feeds returning to the left column and the
// scroll after a full bottom row deferred: a scroll left pending by the last write is made
// first, and a text that ends in the view's last cell parks the cursor on that cell and
// leaves the scroll pending, so the bottom row stays in view until more text comes.
void write_with_deferred_scroll(std::string_view bytes, TextView& view, TextCursor& cursor,
                                TextSurface& surface, bool& scroll_pending);

}  // namespace textscreen::detail
