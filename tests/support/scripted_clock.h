// Time for tests: it passes only when the layer sleeps, and things can be made to happen at
// chosen moments (a key arriving 120 ms into a wait).
#pragma once

#include <algorithm>
#include <functional>
#include <map>

#include "platform/clock.h"

namespace textscreen::testing {

class ScriptedClock final : public platform::Clock {
 public:
  Instant now() override { return now_; }
  void sleep_for(std::chrono::milliseconds duration) override {
    if (duration.count() <= 0) return;
    Instant end = now_ + duration;
    // Events due during the sleep happen at their moment, in order.
    while (!events_.empty() && events_.begin()->first <= end) {
      auto event = events_.extract(events_.begin());
      now_ = event.key();
      event.mapped()();
    }
    now_ = end;
  }
  // Time passes event by event until one of them wakes `signal` (a key typed) or the
  // duration is over.
  bool sleep_until_woken(std::chrono::milliseconds duration,
                         platform::WakeSignal& signal) override {
    if (signal.take()) return true;
    const Instant end = now_ + std::max(duration, std::chrono::milliseconds(0));
    while (!events_.empty() && events_.begin()->first <= end) {
      auto event = events_.extract(events_.begin());
      now_ = event.key();
      event.mapped()();
      if (signal.take()) return true;
    }
    now_ = end;
    return false;
  }
  std::tm local_time() override { return {}; }

  // `action` runs once the clock has passed `after` from now.
  void at(std::chrono::milliseconds after, std::function<void()> action) {
    events_.emplace(now_ + after, std::move(action));
  }
  std::chrono::milliseconds elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - Instant{});
  }

 private:
  Instant now_{};
  std::multimap<Instant, std::function<void()>> events_;
};

}  // namespace textscreen::testing
