// The composition root of a Windows process: layer_init builds the devices of a console
// program (the Windows console, the clock, the speaker's Beep, the window drivers) and hands
// them to the layer before it starts. The one place where the core and the Windows devices
// meet.
#include "console/layer_devices.h"
#include "console/layer_lifecycle.h"
#include "platform/floating_point.h"
#include "platform/windows/beep_speaker.h"
#include "platform/windows/win32_console.h"
#include "platform/windows/windows_api.h"
#include "platform/system_clock.h"
#include "platform/windows/windows_display_drivers.h"
#include "textscreen/program.h"
#include "textscreen/textscreen.h"

namespace textscreen {
namespace {

// The program's file, which names its windows; null when the system does not say.
const char* program_file_path() {
  static char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  path[length] = '\0';
  return path;
}

}  // namespace

void layer_init(int argc, char** argv) {
  platform::set_extended_precision();
  static platform::SystemClock clock;
  static platform::BeepSpeaker speaker;
  // Never destroyed: the exit steps and the control handler's thread use it to the very end.
  static auto* console =
      new platform::Win32Console(GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE));
  detail::install_devices(
      {console, &clock, &speaker, platform::windows_display_drivers(), program_file_path()});
  detail::start_layer(argc, argv);
}

}  // namespace textscreen
