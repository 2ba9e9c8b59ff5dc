#include "console/text_engine.h"

#include <algorithm>
#include <array>

namespace textscreen::detail {
namespace {

constexpr uint8_t BELL = 7;
constexpr uint8_t BACKSPACE = 8;
constexpr uint8_t TAB = 9;
constexpr uint8_t LINE_FEED = 10;
constexpr uint8_t CARRIAGE_RETURN = 13;

bool is_control(uint8_t b) {
  return b == BACKSPACE || b == TAB || b == LINE_FEED || b == CARRIAGE_RETURN;
}

// Collects printable bytes and writes them at the real cursor, row piece by row piece.
class RunWriter {
 public:
  RunWriter(TextView& view, TextCursor& cursor, TextSurface& surface)
      : view_(view), cursor_(cursor), surface_(surface), virtual_(cursor) {}

  int32_t size() const { return count_; }
  const TextCursor& virtual_cursor() const { return virtual_; }

  void add(uint8_t b) {
    run_[count_++] = b;
    if (++virtual_.column > view_.right) {
      virtual_.column = view_.left;
      ++virtual_.row;
    }
  }

  // False when the device refused a piece: the rest of the text is dropped.
  bool write() {
    int32_t done = 0;
    while (done < count_) {
      int32_t piece = std::min(count_ - done, view_.right - cursor_.column + 1);
      if (view_.bottom >= 0 && cursor_.row > view_.bottom)
        scroll_to_cursor(view_, cursor_, surface_);
      if (!surface_.draw_run(run_.data() + done, piece, cursor_)) return false;
      done += piece;
      cursor_.column += piece;
      if (cursor_.column > view_.right) {
        cursor_.column = view_.left;
        ++cursor_.row;
      }
    }
    count_ = 0;
    virtual_ = cursor_;
    return true;
  }

  void follow_cursor() { virtual_ = cursor_; }

 private:
  TextView& view_;
  TextCursor& cursor_;
  TextSurface& surface_;
  TextCursor virtual_;
  std::array<uint8_t, TEXT_RUN_LIMIT> run_{};
  int32_t count_ = 0;
};

}  // namespace

void scroll_to_cursor(TextView& view, TextCursor& cursor, TextSurface& surface) {
  if (view.bottom < 0 || cursor.row <= view.bottom) return;
  surface.scroll(cursor.row - view.bottom, view);
  cursor.row = view.bottom;
}

void run_text_engine(std::string_view bytes, TextView& view, TextCursor& cursor,
                     TextSurface& surface, bool line_feed_returns) {
  RunWriter run(view, cursor, surface);
  bool moved_by_control = false;
  for (char c : bytes) {
    auto b = static_cast<uint8_t>(c);
    if (b == BELL) {
      surface.bell();
      continue;
    }
    if (b == TAB) {
      int32_t spaces = 8 - (run.virtual_cursor().column - view.left) % 8;
      if (run.size() + spaces > TEXT_RUN_LIMIT && !run.write()) return;
      for (int32_t i = 0; i < spaces; ++i) run.add(' ');
      continue;
    }
    if (is_control(b)) {
      if (run.size() > 0) {
        if (!run.write()) return;
        moved_by_control = false;
      }
      const TextCursor before = cursor;
      if (b == BACKSPACE) {
        cursor.column = std::max(view.left, cursor.column - 1);
      } else if (b == LINE_FEED) {
        ++cursor.row;
        if (line_feed_returns) cursor.column = view.left;
      } else {
        cursor.column = view.left;
      }
      // A return or backspace that found the cursor at the left column did not move it.
      if (cursor.column != before.column || cursor.row != before.row) moved_by_control = true;
      run.follow_cursor();
      continue;
    }
    if (run.size() + 1 > TEXT_RUN_LIMIT && !run.write()) return;
    run.add(b);
  }
  if (run.size() > 0) {
    run.write();
  } else if (moved_by_control) {
    scroll_to_cursor(view, cursor, surface);
  }
}

void write_with_deferred_scroll(std::string_view bytes, TextView& view, TextCursor& cursor,
                                TextSurface& surface, bool& scroll_pending) {
  if (scroll_pending) {
    scroll_pending = false;
    cursor = {view.left, cursor.row + 1};
    scroll_to_cursor(view, cursor, surface);
  }
  run_text_engine(bytes, view, cursor, surface, true);
  if (cursor.column == view.left && cursor.row == view.bottom + 1) {
    scroll_pending = true;
    cursor = {view.right, view.bottom};
  } else {
    scroll_to_cursor(view, cursor, surface);
  }
}

}  // namespace textscreen::detail
