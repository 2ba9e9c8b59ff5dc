#include "log_volume_screen.h"

#include <string>

#include "log_arithmetic.h"
#include "textscreen/textscreen.h"

using namespace textscreen;

namespace {

LogMeasures measures;
float volume = 0;

void newlines(int count) {
  for (int i = 0; i < count; ++i) print_void(0, PRINT_NEWLINE);
}

void line(int32_t colour, const std::string& text) {
  screen_color(colour, -1);
  print_string(0, text, PRINT_NEWLINE);
}

void show_sheet_top() {
  newlines(2);
  line(2, "Autor programu: the textscreen authors");
  newlines(2);
  line(13, "Program jest przeznaczony r\xA2wniez dla ludzi prostych ");
  newlines(2);
  screen_color(6, -1);
  print_string(0, "TO JEST PROGRAM ZA FREEKO ALE ZA KAzDY NAST\xA8PNY NALEZ", 0);
  print_string(0, "\xA0", 0);
  print_string(0, " SI", 0);
  print_string(0, "\x8A", PRINT_NEWLINE);
  newlines(2);
  line(13, std::string(25, ' ') + "DWA  PIWA !!!" + std::string(27, ' '));
  newlines(1);
  line(12, "Automatyczny Pieniomat do Drewna");
  newlines(2);
}

void ask_measures() {
  screen_color(14, -1);
  newlines(3);
  print_string(0, "Podaj dlugosc w metrach i nacisnij Enter", PRINT_NEWLINE);
  print_string(0, std::string(40, '_'), PRINT_NEWLINE);
  input_prompt("", 0, -1);
  input_single(measures.length);
  line(9, std::string(19, '_'));
  newlines(2);
  print_string(0, "A \x9Crednica w centymetrach to niby jaka ma byc ??", PRINT_NEWLINE);
  print_string(0, std::string(46, '_'), PRINT_NEWLINE);
  input_prompt("", 0, -1);
  input_single(measures.diameter);
  line(10, std::string(20, '_'));
  newlines(3);
}

void show_volume_and_hints() {
  screen_color(15, -1);
  print_single(0, volume, 0);
  print_string(0, "Tyle fast metrow Robaczku!", PRINT_NEWLINE);
  line(10, std::string(26, '>'));
  newlines(1);
  print_string(0, "Jezeli chcesz kontynuowac Nacisnij  Enter", PRINT_NEWLINE);
  line(5, std::string(42, 'X'));
  newlines(1);
  screen_color(12, -1);
  print_string(0, "Jezeli chcesz sko", 0);
  print_string(0, "\xA4", 0);
  print_string(0, "czyc Naci\x98nij Esc", PRINT_NEWLINE);
  print_string(0, std::string(35, '_'), PRINT_NEWLINE);
}

}  // namespace

void log_volume_screen() {
  screen_mode(12, 8, 0, 0, 0);
  screen_cls(DEFAULT_MODE);
  show_sheet_top();
  ask_measures();
  volume = log_volume(measures);
  show_volume_and_hints();
}
