#include "graphics/graphics_wait.h"

namespace textscreen::detail {
namespace {

constexpr int32_t LOOK_EVERY_MS = 50;
constexpr int32_t LONGEST_BLIND_WAIT_MS = 99;
constexpr int32_t KEY_WAIT_STEP_MS = 20;

void sleep_ms(platform::Clock& clock, int32_t milliseconds) {
  clock.sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

void graphics_sleep_wait(int32_t milliseconds, platform::Clock& clock,
                         const std::function<bool()>& take_key_ready) {
  if (milliseconds == -1) {
    while (!take_key_ready()) sleep_ms(clock, LOOK_EVERY_MS);
    return;
  }
  if (milliseconds > LONGEST_BLIND_WAIT_MS) {
    while (milliseconds > LOOK_EVERY_MS) {
      if (take_key_ready()) return;
      sleep_ms(clock, LOOK_EVERY_MS);
      milliseconds -= LOOK_EVERY_MS;
    }
  }
  if (milliseconds >= 1) sleep_ms(clock, milliseconds);
}

int32_t graphics_wait_key(const std::function<int32_t()>& pop_key,
                          const std::function<void(int32_t)>& sleep) {
  for (;;) {
    int32_t code = pop_key();
    if (code != 0) return code;
    sleep(KEY_WAIT_STEP_MS);
  }
}

}  // namespace textscreen::detail
