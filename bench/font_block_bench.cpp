// Unpacking the built-in fonts and palettes, which the first graphics screen of a process
// waits for.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/font_block.h"

namespace {

void BM_UnpackFontBlock(benchmark::State& state) {
  using namespace textscreen::detail;
  for (auto _ : state) {
    std::vector<uint8_t> out(FONT_BLOCK_SIZE);
    size_t written = 0;
    const UnpackError error = unpack_font_block(packed_font_block(), out, written);
    if (error != UnpackError::none || written != FONT_BLOCK_SIZE) {
      state.SkipWithError("the built-in block did not unpack");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FONT_BLOCK_SIZE));
}
BENCHMARK(BM_UnpackFontBlock)->Unit(benchmark::kMicrosecond);

}  // namespace
