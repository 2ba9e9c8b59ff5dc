// What a window's messages mean to the window thread: the window procedure of every Windows
// window driver hands each message here, and the events go to the window's sink. Keys keep
// the scan code, the extended bit, the repeat count and the modifiers the keyboard state
// shows; typed characters arrive as UTF-16 (the window class is a wide one) and go on as
// code page 437. The keyboard and the layout are asked by the caller, so that this part
// runs on messages made up by tests.
#pragma once

#include <cstdint>

#include "platform/window/window_backend.h"
#include "platform/windows/windows_api.h"

namespace textscreen::platform {

// The modifier bits of a console key event, from a keyboard state as GetKeyboardState
// fills it (a key is held when its high bit is set): Shift, left (or either) Ctrl and Alt,
// right Ctrl and Alt, and the extended bit of the key's message.
uint32_t modifier_state(const BYTE keyboard[256], bool extended);

// The key of a key-down message: virtual key, scan code (bits 16-23 of `lparam`), extended
// bit (24), repeat count (0-15), the modifiers, and the characters the layout gives for it
// with the keys held (`character`) and with none (`unshifted`), both code page 437, 0 for
// none.
WindowKeyEvent window_key_event(WPARAM virtual_key, LPARAM lparam, const BYTE keyboard[256],
                                uint8_t character, uint8_t unshifted);

// The window's state that its messages change.
struct WindowMessageState {
  bool active = false;  // the application has the keyboard
  int32_t width = 0;    // the client area: the pointer is reported in its pixels
  int32_t height = 0;
};

// What the window procedure does with one message: `handled` false leaves it to the
// default processing. `repaint` asks the presenter to show the whole frame again.
struct MessageOutcome {
  bool handled = false;
  bool repaint = false;
};

// Hands the message's events to `sink`. For key downs `key` is the key as window_key_event
// made it (the caller asked the keyboard and the layout). Window thread.
MessageOutcome handle_window_message(UINT message, WPARAM wparam, LPARAM lparam,
                                     const WindowKeyEvent& key, WindowMessageState& state,
                                     WindowEventSink& sink);

}  // namespace textscreen::platform
