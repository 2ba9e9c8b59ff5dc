// tripcost: what a road trip leaves the driver. The start screen and the key loop; Enter
// opens the trip cost screen, Esc ends the program with a farewell.
#include <cstdint>
#include <string>
#include <string_view>

#include "textscreen/textscreen.h"
#include "trip_cost_screen.h"

using namespace textscreen;

namespace {

// Restore values in the packed forms that screen_width and screen_color report: columns
// (or foreground) in the low 16 bits, rows (or background) in the high 16 bits. Nothing
// captures them, so the end leaves a black screen with the whole screen as the view.
int32_t restore_size = 0;
int32_t restore_colors = 0;

const std::string ENTER_KEY = "\r";
const std::string ESC_KEY = "\x1b";

void show_start_screen() {
  screen_cls(DEFAULT_MODE);
  screen_locate(1, 20, -1);
  screen_color(14, -1);
  screen_view_print(1, 30);
  screen_color(2, 6);
  screen_cls(DEFAULT_MODE);
  screen_color(14, -1);
  screen_locate(3, 1, -1);
  print_string(0, "Kalkulator Trasoka nacisnij enter jesli chcesz kontynuowac", PRINT_NEWLINE);
  screen_locate(6, 1, -1);
  print_string(0, " Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!", PRINT_NEWLINE);
}

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

void show_farewell() {
  screen_cls(DEFAULT_MODE);
  screen_color(13, -1);
  print_string(0, "Koniec", PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  screen_color(10, -1);
  print_void(0, PRINT_NEWLINE);
  print_string(0, "\x03", 0);
  print_string(0, " KALKULATOR TRASOKA ", 0);
  print_string(0, "\x06", PRINT_NEWLINE);
  for (int i = 0; i < 8; ++i) print_void(0, PRINT_NEWLINE);
  print_string(0, std::string(38, ' ') + "napisali autorzy textscreen", PRINT_NEWLINE);
  screen_color(0, 12);
  screen_cls(DEFAULT_MODE);
  beep();
  screen_view_print(17, 25);
  screen_color(-1, 7);
  screen_cls(DEFAULT_MODE);
  screen_locate(25, 57, -1);
  print_string(0, "press any key to koniec", PRINT_NEWLINE);
  screen_color(13, -1);
  screen_locate(25, 7, -1);
  print_string(0, "autorzy: the textscreen authors", PRINT_NEWLINE);
  screen_view_print(9, 16);
  screen_color(7, 4);
  screen_cls(DEFAULT_MODE);
  print_string(0, "KONIEC PRACY  ", 0);
  screen_color(13, -1);
  print_string(0, "KALKULATORA", 0);
  screen_color(23, -1);
  print_string(0, " !", PRINT_NEWLINE);
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
    "Keys: Enter opens the calculation (type each answer, then Enter); Esc ends the\n"
    "program, and any key then leaves the farewell. Ctrl+C ends it at once.\n"
    "With standard input a pipe or a file, its bytes are the keys typed.\n"
    "\n"
    "Environment: VXGFX names the graphics driver to try first (\"null\": draw in memory,\n"
    "show no window).\n";

int main(int argc, char** argv) {
  if (answer_command_line(argc, argv, USAGE)) return 0;
  layer_init(argc, argv);
  show_start_screen();
  run_key_loop();
  show_farewell();
  sleep_wait(-1);
  key_poll();
  restore_and_end();
}
