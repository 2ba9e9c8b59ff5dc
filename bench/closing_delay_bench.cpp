// The closing pause of logvolume: how long its 10^9 counting steps take on this machine.
#include <benchmark/benchmark.h>

#include "closing_delay.h"

namespace {

void BM_ClosingDelay(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(run_closing_delay());
}
BENCHMARK(BM_ClosingDelay)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
