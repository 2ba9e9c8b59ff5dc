// What the terminal console sends a real terminal (a pseudo-terminal here) for the layer's
// everyday operations: bytes per operation, and time.
#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "console/layer_reset.h"
#include "platform/system/system_clock.h"
#include "platform/terminal/terminal_console.h"
#include "textscreen/textscreen.h"

namespace {

using textscreen::platform::TerminalConsole;

// One pseudo-terminal of 80 by 25 for the whole run, read empty by a thread so that writes
// never block.
struct PseudoTerminal {
  int master = -1;
  int slave = -1;
  TerminalConsole* console = nullptr;
  std::thread drain;
  textscreen::platform::SystemClock clock;

  PseudoTerminal() {
    winsize size{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) return;
    console = new TerminalConsole(slave, slave, clock);
    drain = std::thread([fd = master] {
      char sink[4096];
      while (read(fd, sink, sizeof sink) > 0) {
      }
    });
    drain.detach();
  }
};

TerminalConsole* fresh_screen() {
  static PseudoTerminal terminal;
  if (terminal.console == nullptr) return nullptr;
  textscreen::detail::reset_layer({terminal.console, &terminal.clock, nullptr, {}});
  textscreen::screen_cls(textscreen::DEFAULT_MODE);
  // Every cell non-blank, as after a screen full of text.
  for (int row = 1; row <= 25; ++row) {
    textscreen::screen_locate(row, 1, -1);
    textscreen::write_text(std::string(row == 25 ? 79 : 80, static_cast<char>('A' + row % 26)), 0);
  }
  terminal.console->flush();
  return terminal.console;
}

void report_bytes(benchmark::State& state, TerminalConsole* console, uint64_t before) {
  state.counters["bytes_per_op"] =
      benchmark::Counter(static_cast<double>(console->bytes_sent() - before) /
                         static_cast<double>(state.iterations()));
}

void BM_KeyPollThatChangesNothing(benchmark::State& state) {
  TerminalConsole* console = fresh_screen();
  if (console == nullptr) return state.SkipWithError("no pseudo-terminal");
  uint64_t before = console->bytes_sent();
  for (auto _ : state) benchmark::DoNotOptimize(textscreen::key_poll());
  report_bytes(state, console, before);
}
BENCHMARK(BM_KeyPollThatChangesNothing);

void BM_WholeScreenScrollByOneRow(benchmark::State& state) {
  TerminalConsole* console = fresh_screen();
  if (console == nullptr) return state.SkipWithError("no pseudo-terminal");
  textscreen::screen_locate(25, 1, -1);
  uint64_t before = console->bytes_sent();
  for (auto _ : state) textscreen::write_text("\n", 0);
  report_bytes(state, console, before);
}
BENCHMARK(BM_WholeScreenScrollByOneRow);

void BM_PrintSixtyCharacterLine(benchmark::State& state) {
  TerminalConsole* console = fresh_screen();
  if (console == nullptr) return state.SkipWithError("no pseudo-terminal");
  const std::string lines[2] = {std::string(60, 'x'), std::string(60, 'y')};
  uint64_t before = console->bytes_sent();
  int i = 0;
  for (auto _ : state) {
    textscreen::screen_locate(10, 1, -1);
    textscreen::print_string(0, lines[i++ & 1], 0);
  }
  report_bytes(state, console, before);
  state.counters["visible_bytes"] = 60;
}
BENCHMARK(BM_PrintSixtyCharacterLine);

}  // namespace
