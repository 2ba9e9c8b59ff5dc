// Idling a program that does nothing but poll the keyboard in a loop: after a few polls in
// a row that found no key, the next poll first lets the process sleep until input arrives
// or a moment has passed. The wait ends the instant a key arrives, so a key still reaches
// the program at once; the moment starts at 1 ms and grows to 50 ms the longer nothing
// comes, so an idle loop wakes the processor some twenty times a second. Any other layer
// operation between two polls (a print, a locate, a sleep, a mode) starts it all over: a
// program that draws between its polls never sees a poll wait.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace textscreen::detail {

class PollIdler {
 public:
  static constexpr int32_t EMPTY_POLLS_BEFORE_IDLING = 4;
  static constexpr std::chrono::milliseconds FIRST_IDLE{1};
  static constexpr std::chrono::milliseconds LONGEST_IDLE{50};
  // The idle moment doubles after every this many empty polls.
  static constexpr int32_t EMPTY_POLLS_PER_DOUBLING = 64;

  // Before a poll, given how many outermost layer operations have begun (this poll's own
  // included): calls `wait(moment)` once the polls before it kept finding nothing and
  // nothing else happened in between.
  template <typename Wait>
  void before_poll(uint64_t operations_begun, Wait&& wait) {
    if (operations_begun != last_operations_ + 1) empty_polls_ = 0;
    last_operations_ = operations_begun;
    if (empty_polls_ < EMPTY_POLLS_BEFORE_IDLING) return;
    const int32_t doublings =
        std::min((empty_polls_ - EMPTY_POLLS_BEFORE_IDLING) / EMPTY_POLLS_PER_DOUBLING, 6);
    wait(std::min(FIRST_IDLE * (1 << doublings), LONGEST_IDLE));
  }
  // After a poll: whether it found a key.
  void after_poll(bool found) {
    empty_polls_ = found ? 0 : std::min(empty_polls_ + 1, INT32_MAX - 1);
  }
  void reset() {
    empty_polls_ = 0;
    last_operations_ = 0;
  }

 private:
  int32_t empty_polls_ = 0;
  uint64_t last_operations_ = 0;
};

}  // namespace textscreen::detail
