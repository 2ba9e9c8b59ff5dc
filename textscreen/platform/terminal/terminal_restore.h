// Giving the terminal back from anywhere, a crash signal handler included: the terminal's
// saved mode and the reset sequence are kept where an async-signal-safe routine finds them.
#pragma once

#include <termios.h>

namespace textscreen::platform {

// Remembers how to give the terminal back and installs the crash-signal handlers that do
// it before the process dies.
void arm_terminal_restore(int input_fd, const termios* saved_mode, int output_fd);
// Sends the reset sequence and puts the saved mode back. Async-signal-safe.
void restore_terminal_now();

}  // namespace textscreen::platform
