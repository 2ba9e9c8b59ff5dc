// The arithmetic set-up the programs rely on: a 64-bit significand, rounding to nearest
// (ties to even) and every floating-point exception masked.
#pragma once

#include <cfloat>
#include <cstdint>

namespace textscreen::platform {

static_assert(LDBL_MANT_DIG == 64, "the programs' arithmetic needs a 64-bit significand");

// The x87 control word in force after set-up.
constexpr uint16_t EXTENDED_CONTROL_WORD = 0x037F;

// Precision 64-bit significand and rounding to nearest; the exception masks stay as they
// are (all masked at process start).
void set_extended_precision();
uint16_t floating_point_control_word();

}  // namespace textscreen::platform
