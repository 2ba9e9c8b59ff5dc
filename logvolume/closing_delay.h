// The pause before logvolume ends: a fixed amount of processor work, not a clock time.
#pragma once

#include <cstdint>

constexpr int32_t CLOSING_DELAY_STEPS = 1000000000;

// Counts a stored 32-bit variable from 1 up past CLOSING_DELAY_STEPS, one read-add-write
// per step; returns its last value (CLOSING_DELAY_STEPS + 1).
int32_t run_closing_delay();
