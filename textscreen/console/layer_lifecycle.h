// The start and end of a program: the layer's half of layer_init, the console control
// handler and the exit steps that layer_end runs.
#pragma once

#include <cstdint>

namespace textscreen::detail {

// What layer_init does once the platform has installed the process's devices and set up
// its arithmetic: keeps the argument vector, starts the print column afresh and lets the
// console turn Ctrl+C into a control event.
void start_layer(int argc, char** argv);

// The path the program was started by (argv[0]), empty when unknown.
const char* program_argument();

// Installs the console control handler on the first console read, and registers its
// removal as an exit step.
void install_control_handler_once();

// The handler itself: close, logoff and shutdown become the close key.
bool console_control_handler(uint32_t event);

// Exit steps run last-registered-first when the process ends.
using ExitStep = void (*)();
void register_exit_step(ExitStep step);

void reset_layer_lifecycle();

}  // namespace textscreen::detail
