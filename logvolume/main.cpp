// logvolume: the volume of a round log. The start screen and the key loop; Enter opens the
// log sheet, Esc ends the program with a farewell, a beep and a closing pause.
#include <string>
#include <string_view>

#include "closing_delay.h"
#include "log_start_and_farewell.h"
#include "log_volume_screen.h"
#include "textscreen/textscreen.h"

using namespace textscreen;

namespace {

const std::string ENTER_KEY = "\r";
const std::string ESC_KEY = "\x1b";

// Enter opens the calculation screen; false for Esc, which ends the loop. Other keys are
// dropped.
bool react_to(const std::string& key) {
  if (key == ENTER_KEY) log_volume_screen();
  return key != ESC_KEY;
}

// Two polls a pass, each looking for both keys, so that neither key is lost to the other's
// poll.
void run_key_loop() {
  while (react_to(key_poll()) && react_to(key_poll())) {
  }
}

}  // namespace

constexpr std::string_view USAGE =
    "Usage: logvolume [--help | --version]\n"
    "\n"
    "Works out the volume of a round log in cubic metres from its length in metres and\n"
    "its diameter in centimetres; decimal answers take a point (2.5).\n"
    "\n"
    "Keys: Enter opens the calculation, in a window of its own where a desktop answers\n"
    "(type each answer there, then Enter); Esc ends the program, which closes by itself\n"
    "a moment after its farewell. Ctrl+C in the terminal ends it at once.\n"
    "With standard input a pipe or a file, its bytes are the keys typed (an ESC byte is\n"
    "the Esc key), the calculations stay in the terminal unless VXGFX names a driver,\n"
    "and the end of the input ends the program.\n"
    "\n"
    "Environment: DISPLAY or WAYLAND_DISPLAY name the desktop for the window; without\n"
    "one that answers, everything stays in this terminal. VXGFX names the graphics driver\n"
    "to try first (\"null\": draw in memory, show no window).\n";

int main(int argc, char** argv) {
  if (const auto status = answer_command_line(argc, argv, USAGE)) return *status;
  layer_init(argc, argv);
  show_log_start_screen();
  run_key_loop();
  show_log_farewell();
  beep();
  run_closing_delay();
  layer_end(0);
}
