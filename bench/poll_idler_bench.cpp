// A program that draws between its key polls: 10,000 rounds of a print and an empty key
// poll, against the same 10,000 prints alone, timed in turn. The console's input wait sleeps
// on the system clock, so a poll that idled would show here as whole milliseconds.
#include <benchmark/benchmark.h>

#include "compare_in_turn.h"
#include "console/layer_reset.h"
#include "platform/memory/memory_console.h"
#include "platform/system_clock.h"
#include "textscreen/textscreen.h"

namespace {

constexpr int ROUNDS = 10000;

void BM_DrawThenPollAgainstDrawsAlone(benchmark::State& state) {
  textscreen::platform::SystemClock clock;
  textscreen::platform::MemoryConsole console(80, 25);
  console.set_clock(&clock);
  textscreen::detail::reset_layer({&console, &clock, nullptr, {}});
  const auto draw = [](int round) {
    textscreen::screen_locate(1 + round % 25, 1, -1);
    textscreen::print_string(0, "*", 0);
  };
  compare_in_turn(
      state,
      [&] {
        for (int round = 0; round < ROUNDS; ++round) {
          draw(round);
          benchmark::DoNotOptimize(textscreen::key_poll());
        }
      },
      [&] {
        for (int round = 0; round < ROUNDS; ++round) draw(round);
      });
  state.counters["input_waits"] = console.input_waits();
  textscreen::detail::reset_layer({});
}
BENCHMARK(BM_DrawThenPollAgainstDrawsAlone)->Unit(benchmark::kMillisecond);

}  // namespace
