// The trip's arithmetic on 32-bit values: products and differences wrap around.
#pragma once

#include <cstdint>

struct TripAnswers {
  int32_t route_km = 0;
  int32_t price_per_km = 0;
  int32_t fuel_price = 0;
  int32_t directions = 0;
  int32_t usage_per_100km = 0;
  int32_t extra_costs = 0;
};

struct TripResults {
  int32_t distance_km = 0;  // route times directions
  int32_t fare = 0;
  int32_t litres = 0;
  int32_t fuel_cost = 0;
  int32_t balance = 0;  // fare less fuel and extra costs
};

// More than two directions count as two.
int32_t clamp_directions(int32_t directions);

// Whole litres of fuel for usage times distance: the product divided by 100, halfway
// cases going to the even neighbour.
int32_t litres_burned(int32_t usage_times_distance);

int32_t wrapping_product(int32_t a, int32_t b);
int32_t wrapping_difference(int32_t a, int32_t b);

// The directions must have been clamped.
TripResults trip_results(const TripAnswers& answers);
