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
#include "platform/system/system_clock.h"
#include "platform/terminal/terminal_console.h"
#include "textscreen/textscreen.h"

namespace {

using textscreen::platform::TerminalConsole;

// One pseudo-terminal of 80 by 25 for the whole run, read empty by a thread so that writes
// never block. The thread counts what it reads and, when asked, keeps a copy of it.
struct PseudoTerminal {
  int master = -1;
  int slave = -1;
  TerminalConsole* console = nullptr;
  std::thread drain;
  textscreen::platform::SystemClock clock;
  std::atomic<uint64_t> bytes_read{0};
  uint64_t bytes_written = 0;  // by the benchmarks themselves, beside the console's
  std::mutex kept_mutex;
  bool keeping = false;
  std::string kept;

  PseudoTerminal() {
    winsize size{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) return;
    console = new TerminalConsole(slave, slave, clock);
    drain = std::thread([this] {
      std::vector<char> sink(1 << 16);
      for (;;) {
        ssize_t n = read(master, sink.data(), sink.size());
        if (n <= 0) return;
        {
          std::lock_guard lock(kept_mutex);
          if (keeping) kept.append(sink.data(), static_cast<size_t>(n));
        }
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

// 100,000 short lines printed through the print channel, each line a print of its own (and so
// a flush and a write of its own), against `cat` of the very bytes those prints sent: the same
// bytes written to the same pseudo-terminal in blocks of cat's size (128 KiB). Every turn
// times the three in a row, each until the reader has read the last byte; the third is the
// same bytes again in one write per line, what writing as often as the library does costs
// with no library at all. ratio = library / cat; line_writes_ratio = line writes / cat.
void BM_PrintLinesAgainstCat(benchmark::State& state) {
  constexpr int LINES = 100000;
  constexpr size_t CAT_BLOCK = 128 * 1024;
  using Clock = std::chrono::steady_clock;
  TerminalConsole* console = fresh_screen();
  if (console == nullptr) return state.SkipWithError("no pseudo-terminal");
  PseudoTerminal& terminal = pseudo_terminal();
  std::vector<std::string> lines(LINES);
  for (int i = 0; i < LINES; ++i) {
    char text[48];
    std::snprintf(text, sizeof text, "Line %6d: a short line of text", i + 1);
    lines[static_cast<size_t>(i)] = text;
  }
  // Everything sent so far read first: each turn below starts with the reader idle, so that
  // only that turn's bytes are kept and counted.
  terminal.wait_until_read(console->bytes_sent() + terminal.bytes_written);
  std::string sent;
  uint64_t total_sent = 0;
  double library_ns = 0;
  double cat_ns = 0;
  double line_writes_ns = 0;
  auto nanoseconds = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::nano>(to - from).count();
  };
  for (auto _ : state) {
    {
      std::lock_guard lock(terminal.kept_mutex);
      terminal.kept.clear();
      terminal.keeping = true;
    }
    const uint64_t read_before = terminal.bytes_read.load();
    const uint64_t sent_before = console->bytes_sent();
    const auto start = Clock::now();
    for (const std::string& line : lines) {
      textscreen::print_string(0, line, textscreen::PRINT_NEWLINE);
    }
    const uint64_t count = console->bytes_sent() - sent_before;
    terminal.wait_until_read(read_before + count);
    const auto printed = Clock::now();
    {
      std::lock_guard lock(terminal.kept_mutex);
      terminal.keeping = false;
      sent.swap(terminal.kept);
    }
    const auto cat_start = Clock::now();
    write_in_blocks(terminal, sent, CAT_BLOCK);
    const auto cat_end = Clock::now();
    write_in_blocks(terminal, sent, (sent.size() + LINES - 1) / LINES);
    const auto line_writes_end = Clock::now();
    total_sent += count;
    library_ns += nanoseconds(start, printed);
    cat_ns += nanoseconds(cat_start, cat_end);
    line_writes_ns += nanoseconds(cat_end, line_writes_end);
  }
  const auto turns = static_cast<double>(state.iterations());
  state.counters["measured_us"] = library_ns / 1000 / turns;
  state.counters["baseline_us"] = cat_ns / 1000 / turns;
  state.counters["line_writes_us"] = line_writes_ns / 1000 / turns;
  state.counters["ratio"] = library_ns / cat_ns;
  state.counters["line_writes_ratio"] = line_writes_ns / cat_ns;
  state.counters["bytes_per_line"] = static_cast<double>(total_sent) / turns / LINES;
}
BENCHMARK(BM_PrintLinesAgainstCat)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
