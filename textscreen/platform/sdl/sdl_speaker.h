// The speaker of the process: tones through the SDL module, loaded at the first tone.
#pragma once

#include "platform/speaker.h"

namespace textscreen::platform {

class SdlSpeaker final : public Speaker {
 public:
  bool play_tone(int frequency, int milliseconds) override;
};

}  // namespace textscreen::platform
