// The console writer into an in-memory console: bytes per second for plain text and for
// text full of line ends that scroll the screen.
#include <benchmark/benchmark.h>

#include <string>

#include "console/layer_reset.h"
#include "platform/memory/memory_console.h"
#include "textscreen/textscreen.h"

namespace {

using textscreen::platform::MemoryConsole;

void write_repeatedly(benchmark::State& state, const std::string& text, bool from_top) {
  MemoryConsole console(80, 25);
  textscreen::detail::reset_layer({&console, nullptr, nullptr, {}});
  for (auto _ : state) {
    if (from_top) textscreen::screen_locate(1, 1, -1);
    textscreen::write_text(text, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  textscreen::detail::reset_layer({});
}

void BM_ConsoleWriterPlainText(benchmark::State& state) {
  // 24 rows of text from the top: it wraps at every row end but never scrolls.
  std::string text;
  for (int i = 0; i < 24 * 80; ++i) text.push_back(static_cast<char>('a' + i % 26));
  write_repeatedly(state, text, true);
}
BENCHMARK(BM_ConsoleWriterPlainText);

void BM_ConsoleWriterScrollingLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "a short line that scrolls\r\n";
  write_repeatedly(state, text, false);
}
BENCHMARK(BM_ConsoleWriterScrollingLines);

}  // namespace
