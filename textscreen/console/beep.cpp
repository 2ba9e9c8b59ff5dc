#include "console/layer_devices.h"
#include "console/screen_state.h"
#include "textscreen/keyboard.h"
#include "textscreen/textscreen.h"

namespace textscreen {

namespace {
constexpr int BEEP_FREQUENCY = 1000;
constexpr int BEEP_MILLISECONDS = 250;
}  // namespace

void beep() {
  // What was drawn before the beep is shown before it sounds.
  detail::console().flush();
  platform::Speaker* speaker = detail::installed_devices().speaker;
  if (speaker != nullptr && speaker->play_tone(BEEP_FREQUENCY, BEEP_MILLISECONDS)) return;
  // Without a tone the beep still takes its time, so what follows it is not hurried.
  detail::console().ring_bell();
  detail::clock().sleep_for(std::chrono::milliseconds(BEEP_MILLISECONDS));
}

}  // namespace textscreen
