// The tripcost start screen drawn the way a plain C++ program would: one write of SGR and
// cursor sequences, no library. startup_bench starts it beside tripcost as the baseline.
#include <unistd.h>

#include <string_view>

int main() {
  // Bright yellow (93) on brown (43), as tripcost's colours 14 on 6; the clear fills the screen
  // with that background. Texts at rows 3 and 6, column 1; the cursor ends on row 7.
  constexpr std::string_view screen =
      "\x1b[0;93;43m\x1b[2J"
      "\x1b[3;1HKalkulator Trasoka nacisnij enter jesli chcesz kontynuowac\n"
      "\x1b[6;1H Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!\n";
  if (write(STDOUT_FILENO, screen.data(), screen.size()) != static_cast<ssize_t>(screen.size()))
    return 1;

  // Stay alive like tripcost does on its start screen, until input arrives or we are killed.
  char key;
  if (read(STDIN_FILENO, &key, 1) < 0) return 1;
  constexpr std::string_view reset = "\x1b[0m\x1b[2J\x1b[H";
  return write(STDOUT_FILENO, reset.data(), reset.size()) < 0 ? 1 : 0;
}
