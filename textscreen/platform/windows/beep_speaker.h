// The tone of the PC speaker, as Windows plays it through the sound output.
#pragma once

#include "platform/speaker.h"

namespace textscreen::platform {

class BeepSpeaker final : public Speaker {
 public:
  bool play_tone(int frequency, int milliseconds) override;
};

}  // namespace textscreen::platform
