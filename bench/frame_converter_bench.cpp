// The window's presenter: converting a wholly dirty mode-12 frame into the texture's ARGB
// lines against a memcpy of as many bytes, and an idle cycle, which must convert nothing.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "compare_in_turn.h"
#include "platform/window/frame_converter.h"

namespace {

using textscreen::platform::DisplayLines;
using textscreen::platform::FrameConverter;
using textscreen::platform::FrameView;

constexpr int32_t WIDTH = 640;
constexpr int32_t HEIGHT = 480;

struct ModeTwelveFrame {
  ModeTwelveFrame() : pixels(WIDTH * HEIGHT), dirty(HEIGHT), palette(256) {
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 % 16);
    for (uint32_t i = 0; i < 256; ++i) palette[i] = i * 0x010203u;
  }
  FrameView view() {
    return {pixels.data(), WIDTH, WIDTH, HEIGHT, 4, 1, dirty.data(), palette.data()};
  }
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> dirty;
  std::vector<uint32_t> palette;
};

void BM_ConvertDirtyFrameVsMemcpy(benchmark::State& state) {
  ModeTwelveFrame frame;
  FrameConverter converter;
  converter.set_palette(frame.palette.data());
  std::vector<uint32_t> display(WIDTH * HEIGHT);
  std::vector<uint32_t> source(WIDTH * HEIGHT, 1), copy(WIDTH * HEIGHT);
  compare_in_turn(
      state,
      [&] {
        std::fill(frame.dirty.begin(), frame.dirty.end(), uint8_t{1});
        benchmark::DoNotOptimize(converter.convert(frame.view(), display.data(), WIDTH));
      },
      [&] {
        std::memcpy(copy.data(), source.data(), copy.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(copy.data());
      });
}
BENCHMARK(BM_ConvertDirtyFrameVsMemcpy);

void BM_IdleCycleConvertsNothing(benchmark::State& state) {
  ModeTwelveFrame frame;
  FrameConverter converter;
  converter.set_palette(frame.palette.data());
  std::vector<uint32_t> display(WIDTH * HEIGHT);
  int64_t lines = 0;
  for (auto _ : state) {
    const DisplayLines converted = converter.convert(frame.view(), display.data(), WIDTH);
    lines += converted.end - converted.first;
  }
  state.counters["lines_converted"] = static_cast<double>(lines);
}
BENCHMARK(BM_IdleCycleConvertsNothing);

}  // namespace
