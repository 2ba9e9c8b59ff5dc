// Tones on the machine's audio output through SDL2's audio.
#pragma once

namespace textscreen::platform {

// Plays a square-wave tone and returns when it has ended; false (at once) when no audio
// output could be opened. Once an output failed to open, later calls fail at once.
bool play_sdl_tone(int frequency, int milliseconds);

}  // namespace textscreen::platform
