#include "console/text_engine.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// How many bytes from the start are plain cells: no bell and no control. Most text is
// nothing else, so eight bytes are looked at together while none lies below 14, where
// every byte with a meaning of its own does.
size_t printable_stretch(const uint8_t* bytes, size_t size) {
  constexpr uint64_t ONES = 0x0101010101010101;
  constexpr uint64_t HIGH_BITS = 0x8080808080808080;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if (((word - 14 * ONES) & ~word & HIGH_BITS) != 0) break;
  }
  while (i < size && bytes[i] != BELL && !is_control(bytes[i])) ++i;
  return i;
}

// Collects printable bytes and writes them at the real cursor, row piece by row piece.
class RunWriter {
 public:
  RunWriter(TextView& view, TextCursor& cursor, TextSurface& surface)
      : view_(view), cursor_(cursor), surface_(surface), end_column_(cursor.column) {}

  int32_t size() const { return count_; }
  int32_t room() const { return TEXT_RUN_LIMIT - count_; }
  // The column the collected bytes end in once written: where a tab counts from.
  int32_t end_column() const { return end_column_; }

  void add(uint8_t b) {
    run_[count_++] = b;
    if (++end_column_ > view_.right) end_column_ = view_.left;
  }

  // Adds `count` bytes, at most room().
  void add_span(const uint8_t* bytes, int32_t count) {
    int32_t i = 0;
    // Bytes one by one until the cursor stands inside the view's columns, from where
    // wrapping is plain arithmetic.
    for (; i < count && (end_column_ < view_.left || end_column_ > view_.right); ++i) add(bytes[i]);
    std::memcpy(run_.data() + count_, bytes + i, static_cast<size_t>(count - i));
    count_ += count - i;
    const int32_t width = view_.right - view_.left + 1;
    end_column_ = view_.left + (end_column_ - view_.left + count - i) % width;
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
    end_column_ = cursor_.column;
    return true;
  }

  void follow_cursor() { end_column_ = cursor_.column; }

 private:
  TextView& view_;
  TextCursor& cursor_;
  TextSurface& surface_;
  int32_t end_column_;
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
  const auto* next = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* const end = next + bytes.size();
  while (next != end) {
    size_t printable = printable_stretch(next, static_cast<size_t>(end - next));
    while (printable > 0) {
      if (run.room() == 0 && !run.write()) return;
      const auto taken = static_cast<int32_t>(std::min(printable, size_t(run.room())));
      run.add_span(next, taken);
      next += taken;
      printable -= static_cast<size_t>(taken);
    }
    if (next == end) break;
    const uint8_t b = *next++;
    if (b == BELL) {
      surface.bell();
      continue;
    }
    if (b == TAB) {
      int32_t spaces = 8 - (run.end_column() - view.left) % 8;
      if (run.size() + spaces > TEXT_RUN_LIMIT && !run.write()) return;
      for (int32_t i = 0; i < spaces; ++i) run.add(' ');
      continue;
    }
    // The stretch ends only at a bell or a control byte: this is a backspace, a line feed or
    // a return.
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
