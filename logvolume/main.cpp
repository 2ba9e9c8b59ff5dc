// logvolume: the volume of a round log. The start screen and the key loop; Enter opens the
// log sheet, Esc ends the program with a farewell, a beep and a closing pause.
#include <string>

#include "closing_delay.h"
#include "log_volume_screen.h"
#include "textscreen/textscreen.h"

using namespace textscreen;

namespace {

const std::string ENTER_KEY = "\r";
const std::string ESC_KEY = "\x1b";

void show_start_screen() {
  screen_cls(DEFAULT_MODE);
  screen_color(20, -1);
  print_string(0, " Pieniomat do Drewna Okraglego", PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  print_string(0, "Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc", PRINT_NEWLINE);
}

void run_key_loop() {
  for (;;) {
    if (key_poll() == ENTER_KEY) log_volume_screen();
    if (key_poll() == ESC_KEY) return;
  }
}

void show_farewell() {
  for (int i = 0; i < 3; ++i) print_void(0, PRINT_NEWLINE);
  screen_color(11, -1);
  print_string(0,
               "Zako\xE4"
               "czy\x88"
               "e\x98 dzia\x88"
               "anie pieniomata!",
               PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  print_string(0, "Program napisali autorzy textscreen", PRINT_NEWLINE);
}

}  // namespace

int main(int argc, char** argv) {
  layer_init(argc, argv);
  show_start_screen();
  run_key_loop();
  show_farewell();
  beep();
  run_closing_delay();
  layer_end(0);
}
