#include "console/key_arrival.h"

#include "console/layer_devices.h"
#include "console/screen_state.h"

namespace textscreen::detail {
namespace {

void (*graphics_wait)(std::chrono::milliseconds) = nullptr;

}  // namespace

void wait_for_console_key(std::chrono::milliseconds at_most) {
  console().flush();
  console().wait_for_input(at_most);
}

void wait_for_key_arrival(std::chrono::milliseconds at_most) {
  if (screen_state().hooks.peek_key != nullptr && graphics_wait != nullptr) {
    graphics_wait(at_most);
  } else {
    wait_for_console_key(at_most);
  }
}

void set_graphics_key_arrival(void (*wait)(std::chrono::milliseconds)) {
  graphics_wait = wait;
}

}  // namespace textscreen::detail
