// The composition root of a POSIX process: layer_init builds the devices of a process
// started from a terminal (the terminal console, the system clock, the speaker, the window
// drivers) and hands them to the layer before it starts. The one place where the core and
// the device rooms meet.
#include <unistd.h>

#include "console/layer_devices.h"
#include "console/layer_lifecycle.h"
#include "platform/sdl/sdl_speaker.h"
#include "platform/floating_point.h"
#include "platform/system/process_display_drivers.h"
#include "platform/system_clock.h"
#include "platform/terminal/terminal_console.h"
#include "textscreen/program.h"
#include "textscreen/textscreen.h"

namespace textscreen {
namespace {

// The program's file, which names its windows; null when the system does not say.
const char* program_file_path() {
  static char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return nullptr;
  path[length] = '\0';
  return path;
}

}  // namespace

void layer_init(int argc, char** argv) {
  platform::set_extended_precision();
  static platform::SystemClock clock;
  static platform::SdlSpeaker speaker;
  // Never destroyed: the exit steps and the signal thread use the console to the very end.
  static auto* console = new platform::TerminalConsole(STDIN_FILENO, STDOUT_FILENO, clock);
  detail::install_devices(
      {console, &clock, &speaker, platform::process_display_drivers(), program_file_path()});
  detail::start_layer(argc, argv);
}

}  // namespace textscreen
