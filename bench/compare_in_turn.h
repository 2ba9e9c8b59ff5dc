// Timing a measured operation and the plain memory operation it is held against in turn,
// iteration by iteration, so that their ratio compares like with like on a busy machine.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

template <typename Measured, typename Baseline>
void compare_in_turn(benchmark::State& state, Measured measured, Baseline baseline) {
  using Clock = std::chrono::steady_clock;
  double measured_ns = 0;
  double baseline_ns = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    measured();
    auto middle = Clock::now();
    baseline();
    auto end = Clock::now();
    measured_ns += std::chrono::duration<double, std::nano>(middle - start).count();
    baseline_ns += std::chrono::duration<double, std::nano>(end - middle).count();
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["measured_us"] = measured_ns / 1000 / iterations;
  state.counters["baseline_us"] = baseline_ns / 1000 / iterations;
  state.counters["ratio"] = measured_ns / baseline_ns;
}
