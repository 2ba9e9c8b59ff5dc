// The graphics screen's text against the plain memory operations it stands for: redrawing
// every cell of mode 12 against a memset of its frame, and scrolling the 30-row view by a
// row against a memmove of the same bytes. Both are timed in turn in one run, so the ratio
// counters compare like with like on a busy machine.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compare_in_turn.h"
#include "console/layer_reset.h"
#include "graphics/graphics_screen.h"
#include "platform/memory/memory_console.h"
#include "textscreen/textscreen.h"

namespace {

using namespace textscreen;

class GraphicsBench {
 public:
  GraphicsBench() : console_(80, 25) {
    setenv("VXGFX", "null", 1);
    detail::reset_layer({&console_, nullptr, nullptr, {}});
    screen_mode(12, 8, 0, 0, 0);
  }
  ~GraphicsBench() {
    detail::reset_layer({});
    unsetenv("VXGFX");
  }

 private:
  platform::MemoryConsole console_;
};

void BM_RedrawAllCellsVsMemset(benchmark::State& state) {
  GraphicsBench bench;
  std::string cells(80 * 30, 'W');
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<char>(33 + i % 90);
  std::vector<uint8_t> frame(640 * 480);
  compare_in_turn(
      state,
      [&] {
        screen_locate(1, 1, -1);
        write_text(cells, 0);
        benchmark::DoNotOptimize(detail::graphics_screen()->line(0)[0]);
      },
      [&] {
        std::memset(frame.data(), static_cast<int>(frame[7] + 1), frame.size());
        benchmark::DoNotOptimize(frame.data());
      });
}
BENCHMARK(BM_RedrawAllCellsVsMemset);

void BM_ScrollViewByOneRowVsMemmove(benchmark::State& state) {
  GraphicsBench bench;
  screen_locate(30, 1, -1);
  std::vector<uint8_t> frame(640 * 480);
  const size_t moved = 640 * (480 - 16);
  compare_in_turn(
      state, [&] { write_text("\n", 0); },
      [&] {
        std::memmove(frame.data(), frame.data() + 640 * 16, moved);
        benchmark::DoNotOptimize(frame.data());
      });
}
BENCHMARK(BM_ScrollViewByOneRowVsMemmove);

}  // namespace
