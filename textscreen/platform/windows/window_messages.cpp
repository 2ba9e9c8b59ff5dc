#include "platform/windows/window_messages.h"

#include <windowsx.h>

#include <string>

#include "platform/code_pages.h"
#include "platform/keys.h"

namespace textscreen::platform {
namespace {

bool held(const BYTE keyboard[256], int virtual_key) {
  return (keyboard[virtual_key] & 0x80) != 0;
}

}  // namespace

uint32_t modifier_state(const BYTE keyboard[256], bool extended) {
  uint32_t state = 0;
  if (held(keyboard, VK_SHIFT) || held(keyboard, VK_LSHIFT) || held(keyboard, VK_RSHIFT)) {
    state |= KEY_STATE_SHIFT;
  }
  if (held(keyboard, VK_LCONTROL) || held(keyboard, VK_CONTROL)) state ^= KEY_STATE_LEFT_CTRL;
  if (held(keyboard, VK_RCONTROL)) state ^= KEY_STATE_RIGHT_CTRL;
  if (held(keyboard, VK_LMENU) || held(keyboard, VK_MENU)) state ^= KEY_STATE_LEFT_ALT;
  if (held(keyboard, VK_RMENU)) state ^= KEY_STATE_RIGHT_ALT;
  if (extended) state |= KEY_STATE_ENHANCED;
  return state;
}

WindowKeyEvent window_key_event(WPARAM virtual_key, LPARAM lparam, const BYTE keyboard[256],
                                uint8_t character, uint8_t unshifted) {
  WindowKeyEvent key;
  key.virtual_key = static_cast<uint16_t>(virtual_key);
  key.scan_code = static_cast<uint16_t>((lparam >> 16) & 0xFF);
  key.extended = ((lparam >> 24) & 1) != 0;
  key.repeat_count = static_cast<uint16_t>(lparam & 0xFFFF);
  key.control_state = modifier_state(keyboard, key.extended);
  key.character = character;
  key.unshifted = unshifted;
  return key;
}

MessageOutcome handle_window_message(UINT message, WPARAM wparam, LPARAM lparam,
                                     const WindowKeyEvent& key, WindowMessageState& state,
                                     WindowEventSink& sink) {
  MessageOutcome outcome;
  switch (message) {
    case WM_SYSKEYDOWN:
      // Keys with Alt reach the program only while the window has the keyboard.
      if (!state.active) break;
      [[fallthrough]];
    case WM_KEYDOWN:
      // F10 and Alt would open the window's menu, Alt+F4 would close it: the layer says.
      outcome.handled = sink.key_down(key, 0);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      sink.key_up();
      // Releasing Alt alone would open the window's menu.
      outcome.handled = wparam == VK_MENU || wparam == VK_F10;
      break;
    case WM_SYSCHAR:
      outcome.handled = true;  // no menu accelerators: the keys were the program's
      break;
    case WM_CHAR: {
      const char byte = static_cast<char>(byte_for(CodePage::cp437, static_cast<char32_t>(wparam)));
      const int repeat = static_cast<int>(lparam & 0xFFFF);
      sink.text_typed(std::string(static_cast<size_t>(repeat > 0 ? repeat : 1), byte));
      break;
    }
    case WM_SIZE:
      // The maximise box asks for the whole screen; the window itself keeps its size.
      if (wparam == SIZE_MAXIMIZED && state.active) {
        sink.switch_requested();
        outcome.handled = true;
      }
      break;
    case WM_CLOSE:
      sink.close_requested();
      outcome.handled = true;  // the window stays
      break;
    case WM_ACTIVATEAPP:
      state.active = wparam != FALSE;
      sink.focus_changed(state.active);
      break;
    case WM_PAINT:
      outcome.repaint = true;
      break;
    case WM_MOUSEMOVE:
      sink.pointer_moved(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      sink.button_changed(1, message == WM_LBUTTONDOWN);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      sink.button_changed(2, message == WM_RBUTTONDOWN);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      sink.button_changed(4, message == WM_MBUTTONDOWN);
      break;
    case WM_MOUSEWHEEL:
      sink.wheel_turned(GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? 1 : -1);
      break;
    default:
      break;
  }
  return outcome;
}

}  // namespace textscreen::platform
