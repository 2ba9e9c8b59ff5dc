#include "console/console_state.h"

#include "console/console_keyboard.h"
#include "console/key_queue.h"
#include "console/layer_devices.h"
#include "console/layer_lifecycle.h"

namespace textscreen::detail {
namespace {

ConsoleState state;

}  // namespace

ConsoleState& console_state() {
  return state;
}

void reread_console_window() {
  if (state.geometry_frozen) return;
  platform::ScreenBufferInfo info;
  if (console().read_screen_buffer_info(info)) {
    state.window = {0, info.window.top, static_cast<int16_t>(info.size.column - 1),
                    info.window.bottom};
  } else {
    state.window = {};
  }
  state.window_known = true;
}

void console_window_moved(int16_t top, int16_t bottom) {
  state.window.top = top;
  state.window.bottom = bottom;
}

const ConsoleWindow& console_window() {
  // An empty window is read again each time: output that was no console for a moment (a
  // terminal being resized) must not stay raw once it is one again.
  if (!state.window_known || state.window.empty()) reread_console_window();
  return state.window;
}

void reset_console_half() {
  state = ConsoleState{};
  key_queue().reset();
  reset_console_keyboard();
  reset_layer_lifecycle();
}

}  // namespace textscreen::detail
