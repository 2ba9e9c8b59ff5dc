// The line editor. It works only through the public screen operations and the key slots,
// so the graphics window runs it unchanged.
#include <algorithm>
#include <chrono>
#include <string>

#include "console/console_keyboard.h"
#include "console/key_arrival.h"
#include "console/key_queue.h"
#include "console/line_input.h"
#include "console/screen_state.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

constexpr int32_t KEY_LEFT = 0x4BFF;
constexpr int32_t KEY_RIGHT = 0x4DFF;
constexpr int32_t KEY_UP = 0x48FF;
constexpr int32_t KEY_DOWN = 0x50FF;
constexpr int32_t KEY_HOME = 0x47FF;
constexpr int32_t KEY_END = 0x4FFF;
constexpr int32_t KEY_DELETE = 0x53FF;
constexpr int32_t KEY_BACKSPACE = 8;
constexpr int32_t KEY_TAB = 9;
constexpr int32_t KEY_ESC = 27;
// The editor's wait for a key between its looks: 25 ms at first, up to 400 ms.
constexpr std::chrono::milliseconds FIRST_KEY_WAIT{25};
constexpr std::chrono::milliseconds LONGEST_KEY_WAIT{400};

constexpr int32_t HIDE = 0;
constexpr int32_t SHOW = 1;
constexpr int32_t KEEP = -1;

struct Place {
  int32_t column;
  int32_t row;
};

int32_t floor_div(int32_t a, int32_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

class LineEditor {
 public:
  LineEditor() {
    screen_size(width_, height_);
    view_top_ = screen_view_print(-1, -1) & 0xFFFF;
  }

  std::string run() {
    // A prompt that filled the screen's last cell leaves its line feed pending; settle it
    // here, or the locate below would cancel it and the first key would overwrite the
    // prompt's last character.
    write_text("", WRITE_FORCE);
    int32_t packed = 0;
    locate_with_position(0, 0, KEEP, &packed);
    bool was_visible = (packed & 65536) != 0;
    screen_locate(0, 0, HIDE);
    write_text(text_, 0);
    screen_locate(0, 0, SHOW);
    for (;;) {
      int32_t code = next_key();
      cursor_position(at_.column, at_.row);
      if (code == 13 || code == 10) break;
      act(code);
      screen_locate(0, 0, SHOW);
    }
    screen_locate(0, 0, SHOW);
    cursor_position(at_.column, at_.row);
    move(length() - pos_);
    screen_locate(0, 0, was_visible ? SHOW : HIDE);
    return text_;
  }

 private:
  int32_t length() const { return static_cast<int32_t>(text_.size()); }

  static int32_t next_key() {
    for (;;) {
      // A key ends each wait at once; while none comes the waits grow, so that a screen
      // waiting for an answer barely wakes the processor.
      auto wait = FIRST_KEY_WAIT;
      while (!key_waiting()) {
        wait_for_key_arrival(wait);
        wait = std::min(wait * 2, LONGEST_KEY_WAIT);
      }
      int32_t code = key_code(key_poll());
      if (code != NO_KEY) return code;
    }
  }

  static bool key_waiting();

  Place step(Place from, int32_t cells) const {
    int32_t linear = (from.row - 1) * width_ + (from.column - 1) + cells;
    return {linear - floor_div(linear, width_) * width_ + 1, floor_div(linear, width_) + 1};
  }

  void move(int32_t cells) {
    at_ = step(at_, cells);
    if (at_.column == 1 && at_.row == height_ + 1) {
      // Just past the last cell: the screen scrolls to make the row.
      screen_locate(height_, width_, KEEP);
      write_text("\r\n", 0);
      at_ = {1, height_};
      return;
    }
    locate_with_fallback(at_.row, at_.column, KEEP);
  }

  void act(int32_t code) {
    switch (code) {
      case KEY_LEFT:
        if (pos_ > 0) walk(-1);
        return;
      case KEY_RIGHT:
        if (pos_ < length()) walk(1);
        return;
      case KEY_UP:
        if (pos_ >= width_) walk(-width_);
        return;
      case KEY_DOWN:
        if (pos_ + width_ <= length()) walk(width_);
        return;
      case KEY_HOME:
        walk(-pos_);
        return;
      case KEY_END:
        walk(length() - pos_);
        return;
      case KEY_BACKSPACE:
        if (pos_ > 0) {
          walk(-1);
          erase(1);
        }
        return;
      case KEY_DELETE:
        if (pos_ < length()) {
          erase(1);
        } else {
          beep();
        }
        return;
      case KEY_ESC:
        walk(-pos_);
        erase(length());
        return;
      case KEY_TAB:
        insert(std::string(static_cast<size_t>(((pos_ + 8) & ~7) - pos_), ' '));
        return;
      default:
        if (code >= 32 && code <= 255) insert(std::string(1, static_cast<char>(code)));
        return;
    }
  }

  void walk(int32_t cells) {
    move(cells);
    pos_ += cells;
  }

  // Redraws from the edit position, blanks what the text no longer covers and puts the
  // cursor back.
  void erase(int32_t count) {
    screen_locate(0, 0, HIDE);
    text_.erase(static_cast<size_t>(pos_), static_cast<size_t>(count));
    write_text(std::string_view(text_).substr(static_cast<size_t>(pos_)), 0);
    write_text(std::string(static_cast<size_t>(count), ' '), 0);
    locate_with_fallback(at_.row, at_.column, KEEP);
  }

  // Whether the line can take `count` more bytes. It may scroll the screen, but only until
  // its start reaches the view's top row, with the cell after its end still on the screen:
  // a start scrolled off would leave the returned line partly unseen and out of reach.
  bool has_room_for(int32_t count) const {
    Place start = step(at_, -pos_);
    int32_t cells = (height_ - view_top_ + 1) * width_;
    return start.column - 1 + length() + count <= cells - 1;
  }

  // A key that finds no room does nothing, like a move past either end of the line.
  void insert(const std::string& bytes) {
    auto count = static_cast<int32_t>(bytes.size());
    if (!has_room_for(count)) return;
    screen_locate(0, 0, HIDE);
    text_.insert(static_cast<size_t>(pos_), bytes);
    int32_t rest = length() - pos_;
    write_text(std::string_view(text_).substr(static_cast<size_t>(pos_)), 0);
    // Each row the redraw ran past the screen's last row scrolled the screen by one, and
    // the line moved up with it; the cursor goes after the inserted bytes on the moved line.
    Place last = step(at_, rest - 1);
    at_.row -= std::max(0, last.row - height_);
    move(count);
    pos_ += count;
  }

  std::string text_;
  int32_t pos_ = 0;
  int32_t width_ = 80;
  int32_t height_ = 25;
  int32_t view_top_ = 1;
  Place at_{1, 1};
};

bool LineEditor::key_waiting() {
  auto peek = screen_state().hooks.peek_key;
  return (peek != nullptr ? peek() : console_peek_key()) != 0;
}

}  // namespace

std::string line_editor() {
  return LineEditor().run();
}

}  // namespace textscreen::detail
