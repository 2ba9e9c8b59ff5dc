#include "platform/floating_point.h"

#include <float.h>

namespace textscreen::platform {

// The C runtime sets precision and rounding on the 32-bit target. The 64-bit runtime keeps
// precision control to itself (its doubles live in SSE registers), but long double still
// computes in the x87 unit: there the precision goes into the control word directly.
void set_extended_precision() {
#if defined(_M_IX86) || defined(__i386__)
  _controlfp(_PC_64 | _RC_NEAR, _MCW_PC | _MCW_RC);
#else
  _controlfp(_RC_NEAR, _MCW_RC);
  uint16_t word = floating_point_control_word();
  word = static_cast<uint16_t>((word & ~0x0F00u) | 0x0300u);  // 64-bit significand, nearest
  asm volatile("fldcw %0" : : "m"(word));
#endif
}

uint16_t floating_point_control_word() {
  uint16_t word = 0;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

}  // namespace textscreen::platform
