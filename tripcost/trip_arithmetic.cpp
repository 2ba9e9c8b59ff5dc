#include "trip_arithmetic.h"

#include <cmath>

int32_t clamp_directions(int32_t directions) {
  return directions > 2 ? 2 : directions;
}

int32_t wrapping_product(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

int32_t wrapping_difference(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int32_t litres_burned(int32_t usage_times_distance) {
  // The division runs with a 64-bit significand by the double 100.0 and goes back to an
  // integer under rounding to nearest, ties to even.
  constexpr double HUNDRED = 100.0;
  long double quotient =
      static_cast<long double>(usage_times_distance) / static_cast<long double>(HUNDRED);
  return static_cast<int32_t>(std::lrintl(quotient));
}

TripResults trip_results(const TripAnswers& a) {
  TripResults r;
  r.distance_km = wrapping_product(a.route_km, a.directions);
  r.fare = wrapping_product(a.price_per_km, r.distance_km);
  r.litres = litres_burned(wrapping_product(a.usage_per_100km, r.distance_km));
  r.fuel_cost = wrapping_product(a.fuel_price, r.litres);
  r.balance = wrapping_difference(wrapping_difference(r.fare, r.fuel_cost), a.extra_costs);
  return r;
}
