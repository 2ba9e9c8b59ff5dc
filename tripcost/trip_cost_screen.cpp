#include "trip_cost_screen.h"

#include <string>

#include "textscreen/textscreen.h"
#include "trip_arithmetic.h"

using namespace textscreen;

namespace {

// Overwritten on every run before use; they live as long as the program.
TripAnswers answers;
TripResults results;

void newlines(int count) {
  for (int i = 0; i < count; ++i) print_void(0, PRINT_NEWLINE);
}

void show_heading() {
  screen_mode(12, 8, 0, 0, 0);
  screen_cls(DEFAULT_MODE);
  print_string(0, std::string(39, ' ') + "KALKULATOR TRASOKA", PRINT_NEWLINE);
  print_string(0, "Twoja Godzina  ", 0);
  print_string(0, time_string(), PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  print_string(0, "Nasza Data             ", 0);
  print_string(0, date_string(), PRINT_NEWLINE);
  screen_color(10, -1);
  print_void(0, PRINT_NEWLINE);
}

// The answer is typed on its own row; the program prints the line ends around it.
void ask(int newlines_before, int32_t& value, int newlines_after) {
  newlines(newlines_before);
  input_prompt("", 0, 0);
  input_int(value);
  newlines(newlines_after);
}

void ask_questions() {
  print_string(0, std::string(13, ' ') + "PODAJ DLUGOSC TRASY W KILOMETRACH I NACISNIJ ENTER ",
               PRINT_NEWLINE);
  ask(1, answers.route_km, 2);

  print_string(0, "A CENA ZA JEDEN KILOMETR TO NIBY JAKA MA BY", 0);
  print_string(0, "\x80", 0);
  print_string(0, " ?", PRINT_NEWLINE);
  ask(1, answers.price_per_km, 2);

  print_string(0, "Podaj koszt jednego litra paliwa", PRINT_NEWLINE);
  ask(2, answers.fuel_price, 1);

  print_string(0, "LICZYMY W DWIE CZY W JEDN", 0);
  print_string(0, "\xA0", 0);
  print_string(0, " STRON", 0);
  print_string(0, "\x82", 0);
  print_string(0, " ? ", PRINT_NEWLINE);
  ask(2, answers.directions, 1);

  print_string(0, "A ILE PALI NA STO ? ", PRINT_NEWLINE);
  ask(1, answers.usage_per_100km, 1);

  print_string(0, "    DODATKOWE KOSZTY ILE ? np NA ZARCIE ", PRINT_NEWLINE);
  ask(0, answers.extra_costs, 0);
  screen_color(10, -1);
}

void show_first_results() {
  newlines(3);
  screen_color(12, -1);
  print_string(0, " PRZEJECHANE ", 0);
  print_int(0, results.distance_km, 0);
  print_string(0, " KM", PRINT_NEWLINE);
  print_string(0, " " + std::string(22, '_'), PRINT_NEWLINE);
  newlines(2);
  screen_color(14, -1);
  print_string(0, "CENA ZA PRZEJAZD = ", 0);
  print_int(0, results.fare, 0);
  print_string(0, "PLN", PRINT_NEWLINE);
  screen_color(13, -1);
  newlines(2);
  print_string(0, " PALIWA SPALONE", 0);
  print_int(0, results.litres, 0);
  print_string(0, "  [LITRY]", PRINT_NEWLINE);
  screen_color(10, -1);
  newlines(2);
}

void show_balance_and_hint() {
  print_string(0, "CENA ZA PALIWO = ", 0);
  print_int(0, results.fuel_cost, 0);
  print_string(0, "PLN", PRINT_NEWLINE);
  newlines(2);
  print_string(0, "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WI", 0);
  print_string(0, "\x8A", 0);
  print_string(0, "CEJ  ", 0);
  print_int(0, results.balance, 0);
  print_string(0, " ZL", PRINT_NEWLINE);
  print_string(0, std::string(59, '*'), PRINT_NEWLINE);
  print_void(0, PRINT_NEWLINE);
  screen_color(14, -1);
  print_string(0, "       NACISNIJ ESC JAK CHCESZ ZAKONCZYC", PRINT_NEWLINE);
}

void show_warning() {
  print_void(0, PRINT_NEWLINE);
  screen_color(5, -1);
  print_string(0, std::string(19, ' ') + "{LECISZ NA MINUSIE FRAJERZE}", PRINT_NEWLINE);
}

}  // namespace

void trip_cost_screen() {
  show_heading();
  ask_questions();
  if (answers.directions > 2) {
    answers.directions = clamp_directions(answers.directions);
    screen_cls(DEFAULT_MODE);
  }
  results = trip_results(answers);
  show_first_results();
  show_balance_and_hint();
  if (results.balance < 0) show_warning();
  screen_color(5, -1);
}
