// The console writer into an in-memory console: bytes per second for plain text and for
// text full of line ends that scroll the screen.
#include <benchmark/benchmark.h>

#include <string>

#include "console/screen_state.h"
#include "platform/memory_console.h"
#include "textscreen/textscreen.h"

namespace {

using textscreen::platform::MemoryConsole;

void write_repeatedly(benchmark::State& state, const std::string& text) {
  MemoryConsole console(80, 25);
  textscreen::detail::reset_layer_for_tests(&console);
  for (auto _ : state) {
    textscreen::write_text(text, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  textscreen::detail::reset_layer_for_tests(nullptr);
}

void BM_ConsoleWriterPlainText(benchmark::State& state) {
  // Exactly one screen of text: it wraps but never needs more than the pending line feed.
  std::string text;
  for (int i = 0; i < 24 * 80; ++i) text.push_back(static_cast<char>('a' + i % 26));
  write_repeatedly(state, text);
}
BENCHMARK(BM_ConsoleWriterPlainText);

void BM_ConsoleWriterScrollingLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "a short line that scrolls\r\n";
  write_repeatedly(state, text);
}
BENCHMARK(BM_ConsoleWriterScrollingLines);

}  // namespace
