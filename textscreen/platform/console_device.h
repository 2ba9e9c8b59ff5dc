// The console device: the operations a text console offers the layer, and nothing more.
// The core never touches the operating system; it asks this interface. TerminalConsole
// provides it on POSIX terminals, MemoryConsole in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

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

// Control-key state bits of a key event.
enum ControlKeyState : uint32_t {
  RIGHT_ALT_PRESSED = 0x0001,
  LEFT_ALT_PRESSED = 0x0002,
  RIGHT_CTRL_PRESSED = 0x0004,
  LEFT_CTRL_PRESSED = 0x0008,
  SHIFT_PRESSED = 0x0010,
  NUMLOCK_ON = 0x0020,
  SCROLLLOCK_ON = 0x0040,
  CAPSLOCK_ON = 0x0080,
  ENHANCED_KEY = 0x0100,
};

// Virtual-key codes the layer looks at.
enum VirtualKey : uint16_t {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_NUMPAD0 = 0x60,
  VK_NUMPAD9 = 0x69,
  VK_F1 = 0x70,
  VK_F12 = 0x7B,
};

struct KeyEvent {
  bool key_down = true;
  uint16_t repeat_count = 1;
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;
  uint8_t character = 0;  // in the console code page; 0 for keys without one
  uint32_t control_state = 0;
};

enum class InputEventType { key, mouse, other };

struct InputEvent {
  InputEventType type = InputEventType::key;
  KeyEvent key;
};

// Control events delivered to the registered handler.
enum ControlEvent : uint32_t {
  CTRL_C_EVENT = 0,
  CTRL_BREAK_EVENT = 1,
  CTRL_CLOSE_EVENT = 2,
  CTRL_LOGOFF_EVENT = 5,
  CTRL_SHUTDOWN_EVENT = 6,
};

// Returns true when it handled the event; false passes it on to the default action.
using ControlHandler = bool (*)(uint32_t event);

constexpr uint32_t ENABLE_PROCESSED_INPUT = 0x0001;

class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  // Screen buffer. Every call reports success; a failed call changes nothing.
  virtual bool read_screen_buffer_info(ScreenBufferInfo& info) = 0;
  virtual bool set_text_attribute(uint16_t attribute) = 0;
  // Fill `count` cells from `start` onwards, running on into the following rows.
  virtual bool fill_characters(uint8_t character, int32_t count, CellPosition start) = 0;
  virtual bool fill_attributes(uint16_t attribute, int32_t count, CellPosition start) = 0;
  // Write cells along one row from `start`; cells beyond the row's end are not written.
  virtual bool write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) = 0;
  // Move `source` so that its top-left cell lands on `destination`; the cells of the source
  // that the move uncovers get `fill`. Only cells inside `clip` (the whole buffer when null)
  // change.
  virtual bool scroll_rectangle(const CellRect& source, const CellRect* clip,
                                CellPosition destination, ConsoleCell fill) = 0;
  virtual bool read_cursor_visible(bool& visible) = 0;
  virtual bool set_cursor_visible(bool visible) = 0;
  virtual bool set_cursor_position(CellPosition position) = 0;
  virtual bool set_window_rect(const CellRect& window) = 0;
  virtual bool set_buffer_size(CellPosition size) = 0;
  virtual CellPosition largest_window_size() = 0;
  virtual bool set_active_buffer() = 0;
  // Bytes to standard output exactly as given; `written` tells how many went.
  virtual bool write_raw(const uint8_t* bytes, size_t count, size_t& written) = 0;

  // Input.
  virtual bool peek_input(InputEvent& event) = 0;
  virtual bool read_input(InputEvent& event) = 0;
  virtual bool read_input_mode(uint32_t& mode) = 0;
  virtual bool set_input_mode(uint32_t mode) = 0;
  virtual bool set_control_handler(ControlHandler handler, bool add) = 0;
  // The character a virtual key gives without modifiers, 0 when none.
  virtual uint8_t virtual_key_to_char(uint16_t virtual_key) = 0;

  // Make everything written so far visible. Consoles that show their cells directly do
  // nothing; a terminal sends what changed since the last flush.
  virtual void flush() {}
  // The audible alarm of the console, used when no tone can be played.
  virtual void ring_bell() {}
};

}  // namespace textscreen::platform
