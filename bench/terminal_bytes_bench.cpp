// Time to render common screen updates and the bytes they send to the terminal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "platform/terminal/terminal_renderer.h"

namespace {

using textscreen::platform::CellBuffer;
using textscreen::platform::CellRect;
using textscreen::platform::ConsoleCell;
using textscreen::platform::TerminalRenderer;

constexpr int16_t COLUMNS = 80;
constexpr int16_t ROWS = 25;

// Every cell non-blank, colours varying along the rows.
void fill_screen(CellBuffer& buffer) {
  for (int16_t row = 0; row < ROWS; ++row) {
    for (int16_t column = 0; column < COLUMNS; ++column) {
      ConsoleCell c{static_cast<uint8_t>('A' + (row + column) % 26),
                    static_cast<uint16_t>(0x10 * (row % 8) + 0x7)};
      buffer.write_cells(&c, 1, {column, row});
    }
  }
}

void report_bytes(benchmark::State& state, size_t total) {
  state.counters["bytes"] =
      static_cast<double>(total) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
}

void render_unchanged(benchmark::State& state) {
  CellBuffer buffer(COLUMNS, ROWS);
  fill_screen(buffer);
  TerminalRenderer renderer;
  renderer.render(buffer);
  size_t total = 0;
  for (auto _ : state) {
    std::string bytes = renderer.render(buffer);
    total += bytes.size();
    benchmark::DoNotOptimize(bytes);
  }
  report_bytes(state, total);
}
BENCHMARK(render_unchanged);

// Scrolls the full screen up one row; with `text_row` the freed bottom row gets new text, else
// it stays blank (and is refilled untimed, so that every scroll moves a full screen).
void render_whole_screen_scroll(benchmark::State& state, bool text_row) {
  CellBuffer buffer(COLUMNS, ROWS);
  fill_screen(buffer);
  TerminalRenderer renderer;
  renderer.render(buffer);
  CellRect screen{0, 0, COLUMNS - 1, ROWS - 1};
  ConsoleCell fill{' ', 0x07};
  ConsoleCell row[COLUMNS];
  size_t total = 0;
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < COLUMNS; ++i) row[i] = {static_cast<uint8_t>('a' + (i + turn) % 26), 0x07};
    ++turn;
    if (!text_row) {
      buffer.write_cells(row, COLUMNS, {0, ROWS - 1});
      renderer.render(buffer);
    }
    buffer.scroll_rectangle({0, 1, COLUMNS - 1, ROWS - 1}, &screen, {0, 0}, fill);
    if (text_row) buffer.write_cells(row, COLUMNS, {0, ROWS - 1});
    state.ResumeTiming();
    renderer.note_scroll(0, ROWS - 1, 1, fill);
    std::string bytes = renderer.render(buffer);
    total += bytes.size();
    benchmark::DoNotOptimize(bytes);
  }
  report_bytes(state, total);
}
BENCHMARK_CAPTURE(render_whole_screen_scroll, blank_new_row, false);
BENCHMARK_CAPTURE(render_whole_screen_scroll, text_new_row, true);

void render_line_print(benchmark::State& state) {
  CellBuffer buffer(COLUMNS, ROWS);
  fill_screen(buffer);
  TerminalRenderer renderer;
  renderer.render(buffer);
  ConsoleCell line[2][60];
  for (int i = 0; i < 60; ++i) {
    line[0][i] = {static_cast<uint8_t>('a' + i % 26), 0x1E};
    line[1][i] = {static_cast<uint8_t>('A' + i % 26), 0x1E};
  }
  size_t total = 0;
  int turn = 0;
  for (auto _ : state) {
    // Alternate two texts so that every render has a line to send.
    buffer.write_cells(line[turn], 60, {10, 12});
    buffer.set_cursor({70, 12});
    turn ^= 1;
    std::string bytes = renderer.render(buffer);
    total += bytes.size();
    benchmark::DoNotOptimize(bytes);
  }
  report_bytes(state, total);
}
BENCHMARK(render_line_print);

}  // namespace
