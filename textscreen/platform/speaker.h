// The machine's sound output, as the layer's beep uses it.
#pragma once

namespace textscreen::platform {

class Speaker {
 public:
  virtual ~Speaker() = default;

  // Plays a tone of `frequency` hertz and returns when it has ended, `milliseconds` later.
  // Called by the program's thread; blocks for the tone. False, at once and with nothing
  // played, when no sound output can be opened: the caller then rings the console's bell.
  virtual bool play_tone(int frequency, int milliseconds) = 0;
};

}  // namespace textscreen::platform
