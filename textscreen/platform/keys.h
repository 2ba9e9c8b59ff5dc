// The keyboard's vocabulary, shared by every source of keys: the console devices, the
// terminal's input decoder, the key translation of the layer and the window keyboard. The
// values are those of the PC keyboard as a Windows console reports it, so one key
// translation serves every device.
#pragma once

#include <cstdint>

namespace textscreen::platform {

// Which modifier keys and lock states held when a key event happened.
enum ControlKeyState : uint32_t {
  KEY_STATE_RIGHT_ALT = 0x0001,
  KEY_STATE_LEFT_ALT = 0x0002,
  KEY_STATE_RIGHT_CTRL = 0x0004,
  KEY_STATE_LEFT_CTRL = 0x0008,
  KEY_STATE_SHIFT = 0x0010,
  KEY_STATE_NUM_LOCK = 0x0020,
  KEY_STATE_SCROLL_LOCK = 0x0040,
  KEY_STATE_CAPS_LOCK = 0x0080,
  // The key is one of the cursor block's or the keypad's Enter and /.
  KEY_STATE_ENHANCED = 0x0100,
};

// Virtual-key codes the layer looks at. Letters and digits are their ASCII capitals.
enum VirtualKey : uint16_t {
  VKEY_BACK = 0x08,
  VKEY_TAB = 0x09,
  VKEY_RETURN = 0x0D,
  VKEY_SHIFT = 0x10,
  VKEY_CONTROL = 0x11,
  VKEY_MENU = 0x12,
  VKEY_ESCAPE = 0x1B,
  VKEY_SPACE = 0x20,
  VKEY_PRIOR = 0x21,
  VKEY_NEXT = 0x22,
  VKEY_END = 0x23,
  VKEY_HOME = 0x24,
  VKEY_LEFT = 0x25,
  VKEY_UP = 0x26,
  VKEY_RIGHT = 0x27,
  VKEY_DOWN = 0x28,
  VKEY_INSERT = 0x2D,
  VKEY_DELETE = 0x2E,
  VKEY_NUMPAD0 = 0x60,
  VKEY_NUMPAD9 = 0x69,
  VKEY_F1 = 0x70,
  VKEY_F10 = 0x79,
  VKEY_F12 = 0x7B,
};

// One key going down (or up): what the device knows of it.
struct KeyEvent {
  bool key_down = true;
  uint16_t repeat_count = 1;
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;  // set-1 scan code
  uint8_t character = 0;   // in the device's code page; 0 for keys without one
  uint32_t control_state = 0;
};

}  // namespace textscreen::platform
