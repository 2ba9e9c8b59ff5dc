#include "platform/floating_point.h"

#include <fpu_control.h>

namespace textscreen::platform {

void set_extended_precision() {
  fpu_control_t word = 0;
  _FPU_GETCW(word);
  word = static_cast<fpu_control_t>((word & ~(_FPU_EXTENDED | _FPU_RC_ZERO)) | _FPU_EXTENDED |
                                    _FPU_RC_NEAREST);
  _FPU_SETCW(word);
}

uint16_t floating_point_control_word() {
  fpu_control_t word = 0;
  _FPU_GETCW(word);
  return static_cast<uint16_t>(word);
}

}  // namespace textscreen::platform
