#include "log_start_and_farewell.h"

#include "textscreen/textscreen.h"

using namespace textscreen;

void show_log_start_screen() {
  screen_cls(DEFAULT_MODE);
  screen_color(20, -1);
  print_string(0, " Pieniomat do Drewna Okraglego", PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  print_string(0, "Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc", PRINT_NEWLINE);
}

void show_log_farewell() {
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
