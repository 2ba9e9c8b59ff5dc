// Idling a program that polls the keyboard in a loop: after a few polls in a row that found
// no key, the next poll first lets the process sleep until input arrives or a moment has
// passed. The wait ends the instant input arrives, so a key still reaches the program at
// once; the moment starts at 1 ms and grows to 8 ms the longer nothing comes, so an idle
// loop costs next to nothing even where every wake-up is dear (1 ms steps alone cost about
// 3% of a core on a small virtual machine). The console's key poll waits on the console
// device; a window's key ring can wait on its own wake-up in the same way.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace textscreen::detail {

class PollIdler {
 public:
  static constexpr int32_t EMPTY_POLLS_BEFORE_IDLING = 4;
  static constexpr std::chrono::milliseconds FIRST_IDLE{1};
  static constexpr std::chrono::milliseconds LONGEST_IDLE{8};

  // `longest`: where the idle moment stops growing. A source that wakes the wait the moment
  // a key comes can afford a long one.
  explicit PollIdler(std::chrono::milliseconds longest = LONGEST_IDLE) : longest_(longest) {}
  // The idle moment doubles after every this many empty polls.
  static constexpr int32_t EMPTY_POLLS_PER_DOUBLING = 64;

  // Before a poll: calls `wait(moment)` once the polls before it kept finding nothing.
  template <typename Wait>
  void before_poll(Wait&& wait) {
    if (empty_polls_ < EMPTY_POLLS_BEFORE_IDLING) return;
    const int32_t doublings =
        std::min((empty_polls_ - EMPTY_POLLS_BEFORE_IDLING) / EMPTY_POLLS_PER_DOUBLING, 6);
    wait(std::min(FIRST_IDLE * (1 << doublings), longest_));
  }
  // After a poll: whether it found a key.
  void after_poll(bool found) {
    empty_polls_ = found ? 0 : std::min(empty_polls_ + 1, INT32_MAX - 1);
  }
  void reset() { empty_polls_ = 0; }

 private:
  std::chrono::milliseconds longest_;
  int32_t empty_polls_ = 0;
};

}  // namespace textscreen::detail
