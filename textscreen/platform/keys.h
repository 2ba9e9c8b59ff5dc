// The keyboard's vocabulary, shared by every source of keys: the console devices, the
// terminal's input decoder, the key translation of the layer and the window keyboard. The
// values are those of the PC keyboard as a Windows console reports it, so one key
// translation serves every device.
#pragma once

#include <cstdint>

namespace textscreen::platform {

// Which modifier keys and lock states held when a key event happened.
enum ControlKeyState : uint32_t {
  RIGHT_ALT_PRESSED = 0x0001,
  LEFT_ALT_PRESSED = 0x0002,
  RIGHT_CTRL_PRESSED = 0x0004,
  LEFT_CTRL_PRESSED = 0x0008,
  SHIFT_PRESSED = 0x0010,
  NUMLOCK_ON = 0x0020,
  SCROLLLOCK_ON = 0x0040,
  CAPSLOCK_ON = 0x0080,
  // The key is one of the cursor block's or the keypad's Enter and /.
  ENHANCED_KEY = 0x0100,
};

// Virtual-key codes the layer looks at. Letters and digits are their ASCII capitals.
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
  VK_F10 = 0x79,
  VK_F12 = 0x7B,
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
