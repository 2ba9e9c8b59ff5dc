// Tones on the machine's audio output.
#pragma once

namespace textscreen::platform {

// Plays a square-wave tone and returns when it has ended; false (at once) when no audio
// output could be opened.
bool play_tone(int frequency, int milliseconds);

}  // namespace textscreen::platform
