#include "trip_start_and_farewell.h"

#include <string>

#include "textscreen/textscreen.h"

using namespace textscreen;

void show_trip_start_screen() {
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

void show_trip_farewell() {
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
