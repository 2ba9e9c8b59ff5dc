#include "closing_delay.h"

namespace {
// Volatile so that every step really reads and writes memory: no build may fold the count
// away or shorten it.
volatile int32_t delay_count = 0;
}  // namespace

int32_t run_closing_delay() {
  delay_count = 1;
  int32_t value = 0;
  do {
    value = delay_count + 1;
    delay_count = value;
  } while (value <= CLOSING_DELAY_STEPS);
  return delay_count;
}
