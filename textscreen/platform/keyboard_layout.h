// The US keyboard as a console describes its keys: which virtual key and scan code type a
// character, and which character a virtual key gives without modifiers.
#pragma once

#include <cstdint>

#include "platform/keys.h"

namespace textscreen::platform {

struct KeyPlacement {
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;
  bool shift = false;  // the character needs Shift
};

// The key that types an ASCII character (32-126, plus 8, 9, 13 and 27); false when none does.
bool key_for_character(uint8_t character, KeyPlacement& placement);

// The character the key gives with no modifier held (lower-case letters), 0 when none.
uint8_t unshifted_character(uint16_t virtual_key);

// The character the key gives with Shift held (capital letters), 0 when none.
uint8_t shifted_character(uint16_t virtual_key);

// The set-1 scan code of a virtual key, 0 when unknown.
uint16_t scan_code_for_virtual_key(uint16_t virtual_key);

// A key down of `virtual_key` (with its scan code) giving `character` with modifiers `state`.
KeyEvent key_event(uint16_t virtual_key, uint8_t character, uint32_t state);

// The key a byte of a raw terminal or of a script stands for, as the US layout types it:
// printable ASCII with its key (and Shift where needed), control bytes as Ctrl with their
// letter, except 8 (Ctrl+Backspace), 9 Tab, 10 (Ctrl+Enter), 13 Enter, 27 Esc and 127
// (Backspace). A byte above 127 is a character of the console's code page typed on no key.
KeyEvent key_of_byte(uint8_t byte);

}  // namespace textscreen::platform
