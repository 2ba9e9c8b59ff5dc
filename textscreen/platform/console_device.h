// The console device: the operations a text console offers the layer, and nothing more.
// The core never touches the operating system; it asks this interface. TerminalConsole
// provides it on POSIX terminals, MemoryConsole in tests.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/keys.h"

namespace textscreen::platform {

// A cell position in buffer coordinates, 0-based.
struct CellPosition {
  int16_t column = 0;
  int16_t row = 0;
  bool operator==(const CellPosition&) const = default;
};

// An inclusive rectangle of cells in buffer coordinates.
struct CellRect {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  bool operator==(const CellRect&) const = default;
};

// One cell: a character in the console code page and its attribute
// (foreground in bits 0-3, background in bits 4-7).
struct ConsoleCell {
  uint8_t character = ' ';
  uint16_t attribute = 7;
  bool operator==(const ConsoleCell&) const = default;
};

struct ScreenBufferInfo {
  CellPosition size;            // columns and rows of the buffer
  CellPosition cursor;          // cursor cell
  uint16_t attribute = 7;       // attribute given to written and cleared cells
  CellRect window;              // the visible part of the buffer
  CellPosition largest_window;  // the largest window the console allows
};

enum class InputEventType { key, mouse, other };

struct InputEvent {
  InputEventType type = InputEventType::key;
  KeyEvent key;
};

// Control events delivered to the registered handler.
enum ControlEvent : uint32_t {
  CONSOLE_CTRL_C = 0,
  CONSOLE_CTRL_BREAK = 1,
  CONSOLE_CLOSE = 2,
  CONSOLE_LOGOFF = 5,
  CONSOLE_SHUTDOWN = 6,
};

// Returns true when it handled the event; false passes it on to the default action.
using ControlHandler = bool (*)(uint32_t event);

constexpr uint32_t INPUT_MODE_PROCESSED = 0x0001;

// The console of the process, as the layer's console half sees it.
//
// Threads. Every operation is called by the program's thread, the one that runs the layer,
// except where a paragraph says otherwise. An implementation may run threads of its own
// (a terminal watches signals on one) and guards its state against them; the caller needs
// no lock.
//
// Coordinates are 0-based buffer cells: column 0 is the left edge of the buffer, row 0 its
// top row, whatever part of the buffer the window shows.
//
// Failure. An operation that reports false changed nothing, unless its paragraph says
// otherwise; the layer then acts as on a device that is not a console (output written raw,
// nothing read back). No operation throws.
class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  // Size, cursor, current attribute, window and largest window of the screen buffer.
  // Does not block. False when the output is not a console (redirected to a file or a
  // pipe): the layer then writes its text raw through write_raw.
  virtual bool read_screen_buffer_info(ScreenBufferInfo& info) = 0;

  // The attribute the next fill or scroll of the layer's own gives new cells. Does not block.
  virtual bool set_text_attribute(uint16_t attribute) = 0;

  // Sets the character (or the attribute) of `count` cells from `start` onwards, running on
  // into the following rows and stopping at the end of the buffer. Does not block. False
  // when `start` lies outside the buffer; a count of 0 or less changes nothing and succeeds.
  virtual bool fill_characters(uint8_t character, int32_t count, CellPosition start) = 0;
  virtual bool fill_attributes(uint16_t attribute, int32_t count, CellPosition start) = 0;

  // Writes `count` cells along one row from `start`; cells beyond the row's end are not
  // written. Does not block. False when `start` lies outside the buffer.
  virtual bool write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) = 0;

  // Moves `source` so that its top-left cell lands on `destination`; the cells of the source
  // that the move uncovers get `fill`. Only cells inside `clip` (the whole buffer when null)
  // change. Does not block. False when the source lies wholly outside the buffer.
  virtual bool scroll_rectangle(const CellRect& source, const CellRect* clip,
                                CellPosition destination, ConsoleCell fill) = 0;

  // Cursor visibility and position. Do not block. Setting a position outside the buffer
  // fails and leaves the cursor where it was.
  virtual bool read_cursor_visible(bool& visible) = 0;
  virtual bool set_cursor_visible(bool visible) = 0;
  virtual bool set_cursor_position(CellPosition position) = 0;

  // The part of the buffer the window shows, and the buffer's size. Do not block. A device
  // whose size is not its own to choose (a terminal: the user sizes it) refuses every
  // change and accepts only the window and size it already has; the layer then reports
  // the refusal as an illegal call and nothing changes.
  virtual bool set_window_rect(const CellRect& window) = 0;
  virtual bool set_buffer_size(CellPosition size) = 0;
  // The largest window the device could show, in cells. Does not block; never fails.
  virtual CellPosition largest_window_size() = 0;

  // Makes this buffer the one the console shows. Does not block.
  virtual bool set_active_buffer() = 0;

  // Text to standard output when it is not a console; `written` tells how many of the bytes
  // went. The bytes go as given, except where the device knows the reader takes another
  // encoding (a terminal's device writing to a file on a UTF-8 locale writes the characters
  // the bytes stand for, as UTF-8). May block while the reader of the output is slow. False
  // (with `written` 0) when the output is closed; bytes already written stay written.
  virtual bool write_raw(const uint8_t* bytes, size_t count, size_t& written) = 0;

  // Input events, oldest first. peek_input copies the oldest without taking it;
  // read_input takes it. Neither blocks: false when no event is waiting (or the input is
  // not a console), with `event` unchanged.
  virtual bool peek_input(InputEvent& event) = 0;
  virtual bool read_input(InputEvent& event) = 0;

  // Lets the calling thread sleep until input may be waiting or `timeout` has passed,
  // whichever comes first; returns at once when input is already waiting. Program's thread;
  // blocks at most `timeout`. The layer calls it when polls keep finding no key, so that a
  // program polling in a loop costs next to no processor time.
  virtual void wait_for_input(std::chrono::milliseconds timeout) = 0;

  // True once the input has ended and every event before its end was read: standard input
  // a pipe or a file that has given its last byte. Program's thread; does not block. A
  // terminal never ends this way (one that hangs up is closed).
  virtual bool input_ended() = 0;

  // Closes the console as when the user closes its window: the control handler gets
  // CONSOLE_CLOSE on the device's thread, the terminal is given back, then `reason`, when
  // not empty, goes to standard error as one line (after the restore, so that it stays on
  // the user's own screen), and the process ends as a closed console ends it. Called by the
  // program's thread once the input has ended and the program has taken every key (no
  // reason), or by a display driver's thread when the display is lost (the reason says so);
  // safe from any thread, also with the frame lock held. Does not block; on a real console
  // the process ends soon after, and the call may return first. A memory console counts the
  // closes and keeps the reason.
  virtual void close_console(std::string_view reason = {}) = 0;

  // The input mode bits (INPUT_MODE_PROCESSED: Ctrl+C is a control event, not a key).
  // Do not block. False when the input is not a console.
  virtual bool read_input_mode(uint32_t& mode) = 0;
  virtual bool set_input_mode(uint32_t mode) = 0;

  // Adds (or, with `add` false, removes) the handler of control events: Ctrl+C, Ctrl+Break,
  // close, logoff, shutdown. Called by the program's thread; the handler itself runs on a
  // thread of the device (a terminal's signal thread), never on the program's thread, so
  // it may only do what is safe alongside the program: push a key. A handler that returns
  // false leaves the event to its default action, which ends the process. Does not block.
  virtual bool set_control_handler(ControlHandler handler, bool add) = 0;

  // The character a virtual key gives without modifiers, 0 when none. Does not block.
  virtual uint8_t virtual_key_to_char(uint16_t virtual_key) = 0;

  // Makes everything written so far visible. Called by the program's thread when an
  // outermost layer operation ends and before every wait. Consoles that show their cells
  // directly do nothing; a terminal sends what changed since the last flush and may block
  // while the terminal reads it. A failed write is dropped: the next flush that changes
  // something tries again.
  virtual void flush() {}

  // The audible alarm of the console, used when no tone can be played. Does not block.
  virtual void ring_bell() {}
};

}  // namespace textscreen::platform
