#include "platform/keyboard_layout.h"

#include <array>
#include <cstring>

#include "platform/console_device.h"

namespace textscreen::platform {
namespace {

struct KeyRow {
  uint16_t virtual_key;
  uint16_t scan_code;
  char plain;
  char shifted;
};

// Printable keys of the US layout. Virtual keys of the punctuation keys are the OEM codes.
constexpr std::array<KeyRow, 47> PRINTABLE_KEYS{{
    {'1', 0x02, '1', '!'},   {'2', 0x03, '2', '@'},   {'3', 0x04, '3', '#'},
    {'4', 0x05, '4', '$'},   {'5', 0x06, '5', '%'},   {'6', 0x07, '6', '^'},
    {'7', 0x08, '7', '&'},   {'8', 0x09, '8', '*'},   {'9', 0x0A, '9', '('},
    {'0', 0x0B, '0', ')'},   {0xBD, 0x0C, '-', '_'},  {0xBB, 0x0D, '=', '+'},
    {'Q', 0x10, 'q', 'Q'},   {'W', 0x11, 'w', 'W'},   {'E', 0x12, 'e', 'E'},
    {'R', 0x13, 'r', 'R'},   {'T', 0x14, 't', 'T'},   {'Y', 0x15, 'y', 'Y'},
    {'U', 0x16, 'u', 'U'},   {'I', 0x17, 'i', 'I'},   {'O', 0x18, 'o', 'O'},
    {'P', 0x19, 'p', 'P'},   {0xDB, 0x1A, '[', '{'},  {0xDD, 0x1B, ']', '}'},
    {'A', 0x1E, 'a', 'A'},   {'S', 0x1F, 's', 'S'},   {'D', 0x20, 'd', 'D'},
    {'F', 0x21, 'f', 'F'},   {'G', 0x22, 'g', 'G'},   {'H', 0x23, 'h', 'H'},
    {'J', 0x24, 'j', 'J'},   {'K', 0x25, 'k', 'K'},   {'L', 0x26, 'l', 'L'},
    {0xBA, 0x27, ';', ':'},  {0xDE, 0x28, '\'', '"'}, {0xC0, 0x29, '`', '~'},
    {0xDC, 0x2B, '\\', '|'}, {'Z', 0x2C, 'z', 'Z'},   {'X', 0x2D, 'x', 'X'},
    {'C', 0x2E, 'c', 'C'},   {'V', 0x2F, 'v', 'V'},   {'B', 0x30, 'b', 'B'},
    {'N', 0x31, 'n', 'N'},   {'M', 0x32, 'm', 'M'},   {0xBC, 0x33, ',', '<'},
    {0xBE, 0x34, '.', '>'},  {0xBF, 0x35, '/', '?'},
}};

struct SpecialKey {
  uint16_t virtual_key;
  uint16_t scan_code;
  char character;
};

constexpr std::array<SpecialKey, 5> CHARACTER_KEYS{{
    {VKEY_BACK, 0x0E, 8},
    {VKEY_TAB, 0x0F, 9},
    {VKEY_RETURN, 0x1C, 13},
    {VKEY_ESCAPE, 0x01, 27},
    {VKEY_SPACE, 0x39, ' '},
}};

constexpr std::array<SpecialKey, 23> OTHER_KEYS{{
    {VKEY_PRIOR, 0x49, 0},   {VKEY_NEXT, 0x51, 0},   {VKEY_END, 0x4F, 0},    {VKEY_HOME, 0x47, 0},
    {VKEY_LEFT, 0x4B, 0},    {VKEY_UP, 0x48, 0},     {VKEY_RIGHT, 0x4D, 0},  {VKEY_DOWN, 0x50, 0},
    {VKEY_INSERT, 0x52, 0},  {VKEY_DELETE, 0x53, 0}, {VKEY_F1, 0x3B, 0},     {VKEY_F1 + 1, 0x3C, 0},
    {VKEY_F1 + 2, 0x3D, 0},  {VKEY_F1 + 3, 0x3E, 0}, {VKEY_F1 + 4, 0x3F, 0}, {VKEY_F1 + 5, 0x40, 0},
    {VKEY_F1 + 6, 0x41, 0},  {VKEY_F1 + 7, 0x42, 0}, {VKEY_F1 + 8, 0x43, 0}, {VKEY_F1 + 9, 0x44, 0},
    {VKEY_F1 + 10, 0x57, 0}, {VKEY_F12, 0x58, 0},    {VKEY_SHIFT, 0x2A, 0},
}};

// Keypad digits 0-9 with Num Lock on.
constexpr std::array<uint16_t, 10> KEYPAD_SCAN_CODES{0x52, 0x4F, 0x50, 0x51, 0x4B,
                                                     0x4C, 0x4D, 0x47, 0x48, 0x49};

}  // namespace

bool key_for_character(uint8_t character, KeyPlacement& placement) {
  for (const KeyRow& k : PRINTABLE_KEYS) {
    if (k.plain == static_cast<char>(character) || k.shifted == static_cast<char>(character)) {
      placement = {k.virtual_key, k.scan_code, k.shifted == static_cast<char>(character)};
      return true;
    }
  }
  for (const SpecialKey& k : CHARACTER_KEYS) {
    if (k.character == static_cast<char>(character)) {
      placement = {k.virtual_key, k.scan_code, false};
      return true;
    }
  }
  return false;
}

uint8_t unshifted_character(uint16_t virtual_key) {
  for (const KeyRow& k : PRINTABLE_KEYS) {
    if (k.virtual_key == virtual_key) return static_cast<uint8_t>(k.plain);
  }
  for (const SpecialKey& k : CHARACTER_KEYS) {
    if (k.virtual_key == virtual_key) return static_cast<uint8_t>(k.character);
  }
  if (virtual_key >= VKEY_NUMPAD0 && virtual_key <= VKEY_NUMPAD9) {
    return static_cast<uint8_t>('0' + (virtual_key - VKEY_NUMPAD0));
  }
  return 0;
}

uint8_t shifted_character(uint16_t virtual_key) {
  for (const KeyRow& k : PRINTABLE_KEYS) {
    if (k.virtual_key == virtual_key) return static_cast<uint8_t>(k.shifted);
  }
  return virtual_key == VKEY_SPACE ? ' ' : 0;
}

uint16_t scan_code_for_virtual_key(uint16_t virtual_key) {
  for (const KeyRow& k : PRINTABLE_KEYS) {
    if (k.virtual_key == virtual_key) return k.scan_code;
  }
  for (const SpecialKey& k : CHARACTER_KEYS) {
    if (k.virtual_key == virtual_key) return k.scan_code;
  }
  for (const SpecialKey& k : OTHER_KEYS) {
    if (k.virtual_key == virtual_key) return k.scan_code;
  }
  if (virtual_key >= VKEY_NUMPAD0 && virtual_key <= VKEY_NUMPAD9) {
    return KEYPAD_SCAN_CODES[virtual_key - VKEY_NUMPAD0];
  }
  return 0;
}

KeyEvent key_event(uint16_t virtual_key, uint8_t character, uint32_t state) {
  KeyEvent key;
  key.virtual_key = virtual_key;
  key.scan_code = scan_code_for_virtual_key(virtual_key);
  key.character = character;
  key.control_state = state;
  return key;
}

KeyEvent key_of_byte(uint8_t byte) {
  constexpr uint8_t ESC = 0x1B;
  switch (byte) {
    case 0:
      return key_event(VKEY_SPACE, 0, KEY_STATE_LEFT_CTRL);
    case 8:  // Ctrl+H, which is also what Ctrl+Backspace sends
      return key_event(VKEY_BACK, 8, KEY_STATE_LEFT_CTRL);
    case 9:
      return key_event(VKEY_TAB, 9, 0);
    case 10:  // Ctrl+Enter: raw mode leaves a plain Enter as CR
      return key_event(VKEY_RETURN, 10, KEY_STATE_LEFT_CTRL);
    case 13:
      return key_event(VKEY_RETURN, '\r', 0);
    case ESC:
      return key_event(VKEY_ESCAPE, ESC, 0);
    case 127:
      return key_event(VKEY_BACK, 8, 0);
    default:
      break;
  }
  if (byte < 27) return key_event(static_cast<uint16_t>('A' + byte - 1), byte, KEY_STATE_LEFT_CTRL);
  if (byte > 127) return key_event(0, byte, 0);
  KeyPlacement placement;
  // Bytes 28-31 are Ctrl with the key of the character 64 above: \ ] ^ _.
  const uint8_t typed = byte < 32 ? static_cast<uint8_t>(byte + 64) : byte;
  const uint32_t ctrl = byte < 32 ? uint32_t{KEY_STATE_LEFT_CTRL} : 0u;
  if (!key_for_character(typed, placement)) return key_event(0, byte, ctrl);
  KeyEvent key = key_event(placement.virtual_key, byte,
                           ctrl | (placement.shift ? uint32_t{KEY_STATE_SHIFT} : 0u));
  key.scan_code = placement.scan_code;
  return key;
}

}  // namespace textscreen::platform
