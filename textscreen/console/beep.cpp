#include <chrono>
#include <thread>

#include "console/screen_state.h"
#include "platform/sound.h"
#include "textscreen/textscreen.h"

namespace textscreen {

namespace {
constexpr int BEEP_FREQUENCY = 1000;
constexpr int BEEP_MILLISECONDS = 250;
void (*beep_sound)() = nullptr;
}  // namespace

void detail::set_beep_sound(void (*sound)()) {
  beep_sound = sound;
}

void beep() {
  // What was drawn before the beep is shown before it sounds.
  detail::console().flush();
  if (beep_sound != nullptr) {
    beep_sound();
    return;
  }
  if (platform::play_tone(BEEP_FREQUENCY, BEEP_MILLISECONDS)) return;
  detail::console().ring_bell();
  std::this_thread::sleep_for(std::chrono::milliseconds(BEEP_MILLISECONDS));
}

}  // namespace textscreen
