#include "console/console_keyboard.h"
#include "console/key_queue.h"
#include "console/layer_lifecycle.h"
#include "console/line_input.h"
#include "console/screen_state.h"

namespace textscreen::detail {

void reset_layer_for_tests(platform::ConsoleDevice* device) {
  screen_state() = ScreenState{};
  screen_state().console = device;
  key_queue().reset();
  reset_console_keyboard();
  reset_layer_lifecycle();
  input_context() = InputContext{};
}

}  // namespace textscreen::detail
