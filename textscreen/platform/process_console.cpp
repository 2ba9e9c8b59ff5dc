#include "process_console.h"

#include <unistd.h>

#include "terminal_console.h"

namespace textscreen::platform {

ConsoleDevice& process_console() {
  // Never destroyed: the exit steps and the signal thread use it up to the very end.
  static auto* console = new TerminalConsole(STDIN_FILENO, STDOUT_FILENO);
  return *console;
}

}  // namespace textscreen::platform
