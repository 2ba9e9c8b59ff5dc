// The line editor's redraw: inserting one byte at the start of a 10,000-byte line should
// cost one redraw of the rest of the line and nothing more.
#include <benchmark/benchmark.h>

#include <deque>
#include <string>

#include "console/layer_reset.h"
#include "console/screen_state.h"
#include "platform/memory/memory_console.h"
#include "textscreen/textscreen.h"

namespace {

constexpr int LINE_LENGTH = 10000;

// The keys come one by one through the key slots, as they do from a typist: the console
// key queue would drop all but the newest 511 of a line typed at once.
std::deque<std::string> script;
std::string scripted_key() {
  std::string key = script.front();
  script.pop_front();
  return key;
}
int32_t scripted_key_waiting() {
  return script.empty() ? 0 : 1;
}

// Cells the editor writes for the typed line, with or without one byte inserted at its
// start before Enter.
int64_t cells_written(bool insert_at_start) {
  textscreen::platform::MemoryConsole console(80, 200);  // tall enough for the whole line
  textscreen::detail::reset_layer({&console, nullptr, nullptr, {}});
  auto& hooks = textscreen::detail::screen_state().hooks;
  hooks.poll_key = scripted_key;
  hooks.peek_key = scripted_key_waiting;
  for (int i = 0; i < LINE_LENGTH; ++i) script.emplace_back(1, static_cast<char>('0' + i % 10));
  if (insert_at_start) {
    script.emplace_back("\xFFG");  // Home
    script.emplace_back("x");
  }
  script.emplace_back("\r");
  textscreen::input_prompt("", 0, 0);
  int64_t cells = console.cells_written();
  textscreen::detail::reset_layer({});
  return cells;
}

void BM_InsertAtStartOfLongLine(benchmark::State& state) {
  int64_t extra = 0;
  for (auto _ : state) extra = cells_written(true) - cells_written(false);
  state.counters["cells_for_the_insert"] = static_cast<double>(extra);
  state.counters["line_bytes_after_insert"] = LINE_LENGTH + 1;
}
BENCHMARK(BM_InsertAtStartOfLongLine)->Unit(benchmark::kMillisecond);

}  // namespace
