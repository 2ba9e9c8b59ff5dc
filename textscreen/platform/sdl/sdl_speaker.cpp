#include "platform/sdl/sdl_speaker.h"

#include "platform/sdl/sdl_module_loader.h"

namespace textscreen::platform {

bool SdlSpeaker::play_tone(int frequency, int milliseconds) {
  const SdlModule* module = sdl_module();
  return module != nullptr && module->play_tone(frequency, milliseconds);
}

}  // namespace textscreen::platform
