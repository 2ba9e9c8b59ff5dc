#include "console/layer_lifecycle.h"

#include <atomic>
#include <cstdlib>

#include "console/key_queue.h"
#include "console/layer_devices.h"
#include "console/screen_state.h"
#include "textscreen/program.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

// The argument vector as the process received it; its first entry names the windows.
int argument_count = 0;
char** argument_vector = nullptr;
bool handler_installed = false;
bool handler_removal_registered = false;

// Close (2), logoff (5) and shutdown (6): bit t of this mask.
constexpr uint32_t CLOSE_EVENTS_MASK = 0x64;

void remove_control_handler() {
  if (handler_installed) console().set_control_handler(console_control_handler, false);
}

}  // namespace

bool console_control_handler(uint32_t event) {
  if (event <= 6 && (CLOSE_EVENTS_MASK & (1u << event)) != 0) {
    key_queue().push(CLOSE_KEY);
    return true;
  }
  return false;
}

void install_control_handler_once() {
  if (handler_installed) return;
  handler_installed = true;
  if (!handler_removal_registered) {
    handler_removal_registered = true;
    register_exit_step(remove_control_handler);
  }
  console().set_control_handler(console_control_handler, true);
}

void register_exit_step(ExitStep step) {
  std::atexit(step);
}

void reset_layer_lifecycle() {
  handler_installed = false;
  argument_count = 0;
  argument_vector = nullptr;
}

const char* program_argument() {
  return argument_count > 0 && argument_vector[0] != nullptr ? argument_vector[0] : "";
}

}  // namespace textscreen::detail

namespace textscreen::detail {

void start_layer(int argc, char** argv) {
  argument_count = argc;
  argument_vector = argv;
  ScreenState& s = screen_state();
  s.print_channel_ready = false;
  s.print_column = 0;
  s.print_width = 0;
  platform::ConsoleDevice& device = console();
  uint32_t mode = 0;
  if (device.read_input_mode(mode)) device.set_input_mode(mode | platform::INPUT_MODE_PROCESSED);
}

}  // namespace textscreen::detail

namespace textscreen {

void layer_end(int32_t status) {
  detail::console().flush();
  std::exit(status);
}

}  // namespace textscreen
