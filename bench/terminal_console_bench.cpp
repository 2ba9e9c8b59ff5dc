// What the terminal console sends a real terminal (a pseudo-terminal here) for the layer's
// everyday operations: bytes per operation, and time.
#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "console/layer_reset.h"
#include "platform/system_clock.h"
#include "platform/terminal/terminal_console.h"
#include "textscreen/textscreen.h"

namespace {

using textscreen::platform::TerminalConsole;

// One pseudo-terminal of 80 by 25 for the whole run, read empty by a thread so that writes
// never block. The thread counts what it reads.
struct PseudoTerminal {
  int master = -1;
  int slave = -1;
  TerminalConsole* console = nullptr;
  std::thread drain;
  textscreen::platform::SystemClock clock;
  std::atomic<uint64_t> bytes_read{0};
  uint64_t bytes_written = 0;  // by the benchmarks themselves, beside the console's

  PseudoTerminal() {
    winsize size{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) return;
    console = new TerminalConsole(slave, slave, clock);
    drain = std::thread([this] {
      std::vector<char> sink(1 << 16);
      for (;;) {
        ssize_t n = read(master, sink.data(), sink.size());
        if (n <= 0) return;
        bytes_read.fetch_add(static_cast<uint64_t>(n));
        bytes_read.notify_all();
      }
    });
    drain.detach();
  }

  // Until the reader has read `total` bytes in all.
  void wait_until_read(uint64_t total) {
    for (uint64_t seen = bytes_read.load(); seen < total; seen = bytes_read.load()) {
      bytes_read.wait(seen);
    }
  }
};

PseudoTerminal& pseudo_terminal() {
  static PseudoTerminal terminal;
  return terminal;
}

TerminalConsole* fresh_screen() {
  PseudoTerminal& terminal = pseudo_terminal();
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

// Writes `bytes` to the pseudo-terminal in writes of `block` bytes and waits until the reader
// has read them all.
void write_in_blocks(PseudoTerminal& terminal, const std::string& bytes, size_t block) {
  const uint64_t target = terminal.bytes_read.load() + bytes.size();
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = write(terminal.slave, bytes.data() + done, std::min(block, bytes.size() - done));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
    terminal.bytes_written += static_cast<uint64_t>(n);
  }
  terminal.wait_until_read(target);
}

// 100,000 short lines printed through the print channel, each line a print of its own,
// against `cat` of the same lines: their text, each ended by CR LF, written to the same
// pseudo-terminal in blocks of cat's size (128 KiB). Each turn times both, each until the
// reader has read the last byte (and, for the library, until no change waits for its frame).
// ratio = library / cat; bytes_per_line is what the library sent.
void BM_PrintLinesAgainstCat(benchmark::State& state) {
  constexpr int LINES = 100000;
  constexpr size_t CAT_BLOCK = 128 * 1024;
  using Clock = std::chrono::steady_clock;
  TerminalConsole* console = fresh_screen();
  if (console == nullptr) return state.SkipWithError("no pseudo-terminal");
  PseudoTerminal& terminal = pseudo_terminal();
  std::vector<std::string> lines(LINES);
  std::string text;
  for (int i = 0; i < LINES; ++i) {
    char line[48];
    std::snprintf(line, sizeof line, "Line %6d: a short line of text", i + 1);
    lines[static_cast<size_t>(i)] = line;
    text += line;
    text += "\r\n";
  }
  uint64_t total_sent = 0;
  double library_ns = 0;
  double cat_ns = 0;
  auto nanoseconds = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::nano>(to - from).count();
  };
  for (auto _ : state) {
    // Everything sent before read first, so that each turn starts with the reader idle.
    terminal.wait_until_read(console->bytes_sent() + terminal.bytes_written);
    const uint64_t sent_before = console->bytes_sent();
    const auto start = Clock::now();
    for (const std::string& line : lines) {
      textscreen::print_string(0, line, textscreen::PRINT_NEWLINE);
    }
    while (console->output_owed()) std::this_thread::yield();
    terminal.wait_until_read(console->bytes_sent() + terminal.bytes_written);
    const auto printed = Clock::now();
    write_in_blocks(terminal, text, CAT_BLOCK);
    const auto cat_end = Clock::now();
    total_sent += console->bytes_sent() - sent_before;
    library_ns += nanoseconds(start, printed);
    cat_ns += nanoseconds(printed, cat_end);
  }
  const auto turns = static_cast<double>(state.iterations());
  state.counters["measured_us"] = library_ns / 1000 / turns;
  state.counters["baseline_us"] = cat_ns / 1000 / turns;
  state.counters["ratio"] = library_ns / cat_ns;
  state.counters["bytes_per_line"] = static_cast<double>(total_sent) / turns / LINES;
}
BENCHMARK(BM_PrintLinesAgainstCat)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
