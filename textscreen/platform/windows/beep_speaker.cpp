#include "platform/windows/beep_speaker.h"

#include "platform/windows/windows_api.h"

namespace textscreen::platform {

// Beep returns when the tone has ended; it fails (at once) where the system has no sound
// output, and the layer then rings the console's bell.
bool BeepSpeaker::play_tone(int frequency, int milliseconds) {
  if (frequency < 37 || frequency > 32767 || milliseconds <= 0) return false;
  return Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(milliseconds)) != FALSE;
}

}  // namespace textscreen::platform
