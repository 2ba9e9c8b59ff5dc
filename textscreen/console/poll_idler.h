// Idling a program that polls the keyboard in a loop: after a few polls in a row that found
// no key, the next poll first lets the process sleep until input arrives or a millisecond
// has passed. A key still reaches the program at once; an idle loop costs next to nothing.
// The console's key poll waits on the console device; a window's key ring can wait on its
// own wake-up in the same way.
#pragma once

#include <chrono>
#include <cstdint>

namespace textscreen::detail {

class PollIdler {
 public:
  static constexpr int32_t EMPTY_POLLS_BEFORE_IDLING = 4;
  static constexpr std::chrono::milliseconds LONGEST_IDLE{1};

  // Before a poll: calls `wait(LONGEST_IDLE)` once the polls before it kept finding nothing.
  template <typename Wait>
  void before_poll(Wait&& wait) {
    if (empty_polls_ >= EMPTY_POLLS_BEFORE_IDLING) wait(LONGEST_IDLE);
  }
  // After a poll: whether it found a key.
  void after_poll(bool found) { empty_polls_ = found ? 0 : empty_polls_ + 1; }
  void reset() { empty_polls_ = 0; }

 private:
  int32_t empty_polls_ = 0;
};

}  // namespace textscreen::detail
