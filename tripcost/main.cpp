// tripcost: what a road trip leaves the driver. The start screen and the key loop; Enter
// opens the trip cost screen, Esc ends the program with a farewell.
#include <cstdint>
#include <string>
#include <string_view>

#include "textscreen/textscreen.h"
#include "trip_cost_screen.h"
#include "trip_start_and_farewell.h"

using namespace textscreen;

namespace {

// Restore values in the packed forms that screen_width and screen_color report: columns
// (or foreground) in the low 16 bits, rows (or background) in the high 16 bits. Nothing
// captures them, so the end leaves a black screen with the whole screen as the view.
int32_t restore_size = 0;
int32_t restore_colors = 0;

const std::string ENTER_KEY = "\r";
const std::string ESC_KEY = "\x1b";

// Enter opens the calculation screen; false for Esc, which ends the loop. Other keys are
// dropped.
bool react_to(const std::string& key) {
  if (key == ENTER_KEY) trip_cost_screen();
  return key != ESC_KEY;
}

// Two polls a pass, each looking for both keys, so that neither key is lost to the other's
// poll.
void run_key_loop() {
  while (react_to(key_poll()) && react_to(key_poll())) {
  }
}

[[noreturn]] void restore_and_end() {
  screen_width(restore_size & 0xFFFF, restore_size >> 16);
  screen_color(restore_colors & 0xFFFF, restore_colors >> 16);
  screen_view_print(1, restore_size >> 16);
  screen_cls(DEFAULT_MODE);
  screen_locate(0, 0, 1);
  layer_end(0);
}

}  // namespace

constexpr std::string_view USAGE =
    "Usage: tripcost [--help | --version]\n"
    "\n"
    "Works out what a road trip leaves the driver: from the route length, the price per\n"
    "kilometre, the price of a litre of fuel, one way or both ways, the fuel use per 100 km\n"
    "and the extra costs it shows the distance, the fare, the litres burned, the fuel cost\n"
    "and what is left, with a warning when the trip runs at a loss.\n"
    "\n"
    "Keys: Enter opens the calculation, in a window of its own where a desktop answers\n"
    "(type each answer there, then Enter); Esc ends the program, and any key then leaves\n"
    "the farewell. Ctrl+C in the terminal ends it at once.\n"
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
  show_trip_start_screen();
  run_key_loop();
  show_trip_farewell();
  sleep_wait(-1);
  key_poll();
  restore_and_end();
}
