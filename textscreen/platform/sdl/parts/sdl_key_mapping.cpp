#include "platform/sdl/parts/sdl_key_mapping.h"

#include <algorithm>
#include <array>

#include "platform/code_pages.h"
#include "platform/keyboard_layout.h"
#include "platform/keys.h"

namespace textscreen::platform {
namespace {

struct KeyPlace {
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;
  bool extended = false;
};

// Virtual keys the layer's vocabulary does not name: they only travel through.
constexpr uint16_t VKEY_CAPITAL = 0x14;
constexpr uint16_t VKEY_MULTIPLY = 0x6A;
constexpr uint16_t VKEY_ADD = 0x6B;
constexpr uint16_t VKEY_SUBTRACT = 0x6D;
constexpr uint16_t VKEY_DECIMAL = 0x6E;
constexpr uint16_t VKEY_DIVIDE = 0x6F;
constexpr uint16_t VKEY_NUMLOCK = 0x90;
constexpr uint16_t VKEY_SCROLL = 0x91;
constexpr uint16_t VK_OEM_102 = 0xE2;

// Keys that are not letters or digits, by SDL scancode.
KeyPlace place_of_other_key(SDL_Scancode scancode, bool num_lock) {
  static constexpr std::array<uint16_t, 10> NAVIGATION_OF_KEYPAD{
      VKEY_END,   VKEY_DOWN, VKEY_NEXT, VKEY_LEFT,  0x0C,
      VKEY_RIGHT, VKEY_HOME, VKEY_UP,   VKEY_PRIOR, VKEY_INSERT};
  switch (scancode) {
    case SDL_SCANCODE_RETURN:
      return {VKEY_RETURN, 0x1C};
    case SDL_SCANCODE_ESCAPE:
      return {VKEY_ESCAPE, 0x01};
    case SDL_SCANCODE_BACKSPACE:
      return {VKEY_BACK, 0x0E};
    case SDL_SCANCODE_TAB:
      return {VKEY_TAB, 0x0F};
    case SDL_SCANCODE_SPACE:
      return {VKEY_SPACE, 0x39};
    case SDL_SCANCODE_MINUS:
      return {0xBD, 0x0C};
    case SDL_SCANCODE_EQUALS:
      return {0xBB, 0x0D};
    case SDL_SCANCODE_LEFTBRACKET:
      return {0xDB, 0x1A};
    case SDL_SCANCODE_RIGHTBRACKET:
      return {0xDD, 0x1B};
    case SDL_SCANCODE_BACKSLASH:
      return {0xDC, 0x2B};
    case SDL_SCANCODE_SEMICOLON:
      return {0xBA, 0x27};
    case SDL_SCANCODE_APOSTROPHE:
      return {0xDE, 0x28};
    case SDL_SCANCODE_GRAVE:
      return {0xC0, 0x29};
    case SDL_SCANCODE_COMMA:
      return {0xBC, 0x33};
    case SDL_SCANCODE_PERIOD:
      return {0xBE, 0x34};
    case SDL_SCANCODE_SLASH:
      return {0xBF, 0x35};
    case SDL_SCANCODE_NONUSBACKSLASH:
      return {VK_OEM_102, 0x56};
    case SDL_SCANCODE_CAPSLOCK:
      return {VKEY_CAPITAL, 0x3A};
    case SDL_SCANCODE_SCROLLLOCK:
      return {VKEY_SCROLL, 0x46};
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return {VKEY_NUMLOCK, 0x45};
    case SDL_SCANCODE_INSERT:
      return {VKEY_INSERT, 0x52, true};
    case SDL_SCANCODE_DELETE:
      return {VKEY_DELETE, 0x53, true};
    case SDL_SCANCODE_HOME:
      return {VKEY_HOME, 0x47, true};
    case SDL_SCANCODE_END:
      return {VKEY_END, 0x4F, true};
    case SDL_SCANCODE_PAGEUP:
      return {VKEY_PRIOR, 0x49, true};
    case SDL_SCANCODE_PAGEDOWN:
      return {VKEY_NEXT, 0x51, true};
    case SDL_SCANCODE_UP:
      return {VKEY_UP, 0x48, true};
    case SDL_SCANCODE_DOWN:
      return {VKEY_DOWN, 0x50, true};
    case SDL_SCANCODE_LEFT:
      return {VKEY_LEFT, 0x4B, true};
    case SDL_SCANCODE_RIGHT:
      return {VKEY_RIGHT, 0x4D, true};
    case SDL_SCANCODE_KP_DIVIDE:
      return {VKEY_DIVIDE, 0x35, true};
    case SDL_SCANCODE_KP_MULTIPLY:
      return {VKEY_MULTIPLY, 0x37};
    case SDL_SCANCODE_KP_MINUS:
      return {VKEY_SUBTRACT, 0x4A};
    case SDL_SCANCODE_KP_PLUS:
      return {VKEY_ADD, 0x4E};
    case SDL_SCANCODE_KP_ENTER:
      return {VKEY_RETURN, 0x1C, true};
    case SDL_SCANCODE_KP_PERIOD:
      return {num_lock ? VKEY_DECIMAL : uint16_t{VKEY_DELETE}, 0x53};
    case SDL_SCANCODE_LCTRL:
      return {VKEY_CONTROL, 0x1D};
    case SDL_SCANCODE_RCTRL:
      return {VKEY_CONTROL, 0x1D, true};
    case SDL_SCANCODE_LSHIFT:
      return {VKEY_SHIFT, 0x2A};
    case SDL_SCANCODE_RSHIFT:
      return {VKEY_SHIFT, 0x36};
    case SDL_SCANCODE_LALT:
      return {VKEY_MENU, 0x38};
    case SDL_SCANCODE_RALT:
      return {VKEY_MENU, 0x38, true};
    default:
      break;
  }
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    const auto vk = static_cast<uint16_t>(VKEY_F1 + (scancode - SDL_SCANCODE_F1));
    return {vk, scan_code_for_virtual_key(vk)};
  }
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) {
    const int digit = scancode == SDL_SCANCODE_KP_0 ? 0 : scancode - SDL_SCANCODE_KP_1 + 1;
    const auto numpad = static_cast<uint16_t>(VKEY_NUMPAD0 + digit);
    // With Num Lock off the keypad is a second cursor block, not flagged as extended.
    return {num_lock ? numpad : NAVIGATION_OF_KEYPAD[digit], scan_code_for_virtual_key(numpad)};
  }
  return {};
}

KeyPlace place_of(const SDL_Keysym& key) {
  const SDL_Scancode s = key.scancode;
  uint16_t vk = 0;
  if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z)
    vk = static_cast<uint16_t>('A' + (s - SDL_SCANCODE_A));
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_0) {
    vk = s == SDL_SCANCODE_0 ? '0' : static_cast<uint16_t>('1' + (s - SDL_SCANCODE_1));
  }
  if (vk == 0) return place_of_other_key(s, (key.mod & KMOD_NUM) != 0);
  const uint16_t scan_code = scan_code_for_virtual_key(vk);
  // The layout names letters and digits: a key that types 'z' is the Z key wherever it is.
  if (key.sym >= 'a' && key.sym <= 'z') vk = static_cast<uint16_t>(key.sym - 'a' + 'A');
  if (key.sym >= '0' && key.sym <= '9') vk = static_cast<uint16_t>(key.sym);
  return {vk, scan_code};
}

uint32_t control_state_of(uint16_t mod, bool extended) {
  uint32_t state = 0;
  if (mod & KMOD_SHIFT) state |= KEY_STATE_SHIFT;
  if (mod & KMOD_LCTRL) state |= KEY_STATE_LEFT_CTRL;
  if (mod & KMOD_RCTRL) state |= KEY_STATE_RIGHT_CTRL;
  if (mod & KMOD_LALT) state |= KEY_STATE_LEFT_ALT;
  if (mod & KMOD_RALT) state |= KEY_STATE_RIGHT_ALT;
  if (mod & KMOD_NUM) state |= KEY_STATE_NUM_LOCK;
  if (mod & KMOD_CAPS) state |= KEY_STATE_CAPS_LOCK;
  if (extended) state |= KEY_STATE_ENHANCED;
  return state;
}

bool is_letter_key(uint16_t virtual_key) {
  return virtual_key >= 'A' && virtual_key <= 'Z';
}

bool alt_gr_only(uint16_t mod) {
  return (mod & KMOD_RALT) != 0 && (mod & KMOD_LALT) == 0;
}

// What the key types with the modifiers held, as the console's keyboard translation gives
// it: Alt changes no character, Ctrl gives the control characters, Shift (Caps Lock turning
// letters) the shifted ones; AltGr gives none here, its letters come as text.
uint8_t character_of(const SDL_Keysym& key, const KeyPlace& place) {
  SDL_Keysym without_alt = key;
  without_alt.mod = static_cast<uint16_t>(key.mod & ~KMOD_LALT);
  if (const uint8_t control = untexted_character(without_alt)) return control;
  if ((key.mod & KMOD_CTRL) != 0 || alt_gr_only(key.mod)) return 0;
  switch (place.virtual_key) {
    case VKEY_DIVIDE:
      return '/';
    case VKEY_MULTIPLY:
      return '*';
    case VKEY_SUBTRACT:
      return '-';
    case VKEY_ADD:
      return '+';
    case VKEY_DECIMAL:
      return '.';
    default:
      break;
  }
  bool shift = (key.mod & KMOD_SHIFT) != 0;
  if (is_letter_key(place.virtual_key) && (key.mod & KMOD_CAPS) != 0) shift = !shift;
  return shift ? shifted_character(place.virtual_key) : unshifted_character(place.virtual_key);
}

}  // namespace

bool window_key_event(const SDL_Keysym& key, WindowKeyEvent& event) {
  const KeyPlace place = place_of(key);
  if (place.scan_code == 0) return false;
  event.virtual_key = place.virtual_key;
  event.scan_code = place.scan_code;
  event.extended = place.extended;
  event.repeat_count = 1;
  event.control_state = control_state_of(key.mod, place.extended);
  event.character = character_of(key, place);
  event.unshifted = unshifted_character(place.virtual_key);
  return true;
}

uint8_t untexted_character(const SDL_Keysym& key) {
  if (key.mod & KMOD_LALT) return 0;
  const bool ctrl = (key.mod & KMOD_CTRL) != 0 && !alt_gr_only(key.mod);
  switch (key.scancode) {
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return ctrl ? 10 : 13;
    case SDL_SCANCODE_ESCAPE:
      return 27;
    case SDL_SCANCODE_BACKSPACE:
      return ctrl ? 127 : 8;
    case SDL_SCANCODE_TAB:
      return ctrl ? 0 : 9;
    default:
      break;
  }
  if (ctrl && key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
    // The letter the layout puts on the key, as Ctrl+letter is about the letter.
    const SDL_Keycode letter =
        key.sym >= 'a' && key.sym <= 'z' ? key.sym : 'a' + (key.scancode - SDL_SCANCODE_A);
    return static_cast<uint8_t>(letter - 'a' + 1);
  }
  return 0;
}

bool text_counts(uint16_t modifiers) {
  if (modifiers & KMOD_LALT) return false;
  return (modifiers & KMOD_CTRL) == 0 || (modifiers & KMOD_RALT) != 0;
}

std::string code_page_437_text(std::string_view utf8) {
  std::string bytes;
  while (!utf8.empty()) {
    char32_t code_point = 0;
    size_t used = decode_utf8(utf8, code_point);
    if (used == 0) break;  // a character cut short: SDL never sends one
    utf8.remove_prefix(used);
    bytes.push_back(static_cast<char>(byte_for(CodePage::cp437, code_point)));
  }
  return bytes;
}

uint16_t set1_scan_code(SDL_Scancode scancode) {
  SDL_Keysym key{};
  key.scancode = scancode;
  key.mod = KMOD_NUM;
  const uint16_t scan_code = place_of(key).scan_code;
  return scan_code < 128 ? scan_code : 0;
}

void fill_key_states(const uint8_t* sdl_state, int sdl_state_count, uint8_t* key_states) {
  // Read a hundred times a second: the scan codes are looked up once.
  static const std::array<uint8_t, SDL_NUM_SCANCODES> SET1_OF = [] {
    std::array<uint8_t, SDL_NUM_SCANCODES> table{};
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
      table[static_cast<size_t>(s)] =
          static_cast<uint8_t>(set1_scan_code(static_cast<SDL_Scancode>(s)));
    }
    return table;
  }();
  std::fill_n(key_states, 128, uint8_t{0});
  const int count = std::min(sdl_state_count, static_cast<int>(SDL_NUM_SCANCODES));
  for (int s = 0; s < count; ++s) {
    if (sdl_state[s] != 0 && SET1_OF[static_cast<size_t>(s)] != 0)
      key_states[SET1_OF[static_cast<size_t>(s)]] = 1;
  }
}

}  // namespace textscreen::platform
