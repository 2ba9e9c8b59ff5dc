// The cell buffer's rectangle scroll against a plain model of the rule, cell by cell: the
// source clipped to the buffer; the source cells inside the clip take the fill; every source
// cell then lands at its place moved by (destination - source's top-left), where that place
// is inside the clip. Thousands of seeded random cases on small buffers: overlapping moves in
// every direction, full-width scrolls, clips and sources and destinations partly or wholly
// outside the buffer, empty clips and sources, coordinates at the ends of their range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/cell_buffer.h"

namespace textscreen::platform {
namespace {

struct Grid {
  int columns;
  int rows;
  std::vector<ConsoleCell> cells;
  ConsoleCell& at(int column, int row) {
    return cells[static_cast<size_t>(row) * columns + column];
  }
};

// The rule, spelt out one cell at a time over a copy of the old cells.
bool model_scroll(Grid& grid, const CellRect& source, const CellRect* clip,
                  CellPosition destination, ConsoleCell fill) {
  const int left = std::max<int>(source.left, 0);
  const int top = std::max<int>(source.top, 0);
  const int right = std::min<int>(source.right, grid.columns - 1);
  const int bottom = std::min<int>(source.bottom, grid.rows - 1);
  if (left > right || top > bottom) return false;
  const CellRect limit = clip != nullptr ? *clip : CellRect{0, 0, 32767, 32767};
  auto inside_clip = [&](int column, int row) {
    return column >= limit.left && column <= limit.right && row >= limit.top &&
           row <= limit.bottom && column >= 0 && row >= 0 && column < grid.columns &&
           row < grid.rows;
  };
  const Grid old = grid;
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      if (inside_clip(column, row)) grid.at(column, row) = fill;
    }
  }
  const int dx = destination.column - source.left;
  const int dy = destination.row - source.top;
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      if (inside_clip(column + dx, row + dy)) {
        grid.at(column + dx, row + dy) = old.cells[static_cast<size_t>(row) * old.columns + column];
      }
    }
  }
  return true;
}

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  // A whole number from `low` to `high`, both included.
  int between(int low, int high) {
    return low + static_cast<int>(engine_() % static_cast<uint32_t>(high - low + 1));
  }
  bool chance(int percent) { return between(0, 99) < percent; }

 private:
  std::mt19937 engine_;
};

// A coordinate for an extent of `size`: mostly inside, often just outside, now and then far.
int16_t coordinate(Random& random, int size) {
  const int kind = random.between(0, 49);
  if (kind == 0) return -32768;
  if (kind == 1) return 32767;
  if (kind <= 3) return static_cast<int16_t>(random.between(-300, 300));
  if (kind <= 15) return static_cast<int16_t>(random.between(-3, size + 2));
  return static_cast<int16_t>(random.between(0, size - 1));
}

// An edge pair, low and high, usually in order.
void edges(Random& random, int size, int16_t& low, int16_t& high) {
  low = coordinate(random, size);
  high = coordinate(random, size);
  if (high < low && random.chance(90)) std::swap(low, high);
}

std::string describe(int columns, int rows, const CellRect& source, const CellRect* clip,
                     CellPosition destination) {
  std::ostringstream text;
  text << columns << "x" << rows << " buffer, source (" << source.left << "," << source.top << ")-("
       << source.right << "," << source.bottom << ") to (" << destination.column << ","
       << destination.row << "), clip ";
  if (clip == nullptr) {
    text << "none";
  } else {
    text << "(" << clip->left << "," << clip->top << ")-(" << clip->right << "," << clip->bottom
         << ")";
  }
  return text.str();
}

TEST(CellBufferScroll, EveryRectangleMovesAsTheCellByCellRuleSays) {
  Random random(20240611);
  constexpr int CASES = 6000;
  int moved = 0;
  for (int n = 0; n < CASES; ++n) {
    const int columns = random.between(1, 9);
    const int rows = random.between(1, 9);
    CellBuffer buffer(static_cast<int16_t>(columns), static_cast<int16_t>(rows));
    Grid grid{columns, rows, {}};
    for (int row = 0; row < rows; ++row) {
      for (int column = 0; column < columns; ++column) {
        // Every cell tells where it came from.
        const ConsoleCell cell{static_cast<uint8_t>(row * columns + column),
                               static_cast<uint16_t>(0x100 + n % 7)};
        buffer.write_cells(&cell, 1, {static_cast<int16_t>(column), static_cast<int16_t>(row)});
        grid.cells.push_back(cell);
      }
    }

    CellRect source;
    CellPosition destination;
    CellRect clip_rect;
    const int shape = random.between(0, 3);
    if (shape == 0) {
      // A scroll of whole rows up or down (what a console's line feed does), at times
      // reaching past the sides.
      source.left = static_cast<int16_t>(random.chance(70) ? 0 : random.between(-2, 0));
      source.right = static_cast<int16_t>(
          random.chance(70) ? columns - 1 : random.between(columns - 1, columns + 2));
      edges(random, rows, source.top, source.bottom);
      destination = {source.left, static_cast<int16_t>(random.between(-rows - 1, rows + 1))};
      clip_rect = {static_cast<int16_t>(random.between(-1, 0)),
                   static_cast<int16_t>(random.between(-1, rows)),
                   static_cast<int16_t>(columns - 1 + random.between(0, 1)),
                   static_cast<int16_t>(random.between(-1, rows))};
    } else {
      edges(random, columns, source.left, source.right);
      edges(random, rows, source.top, source.bottom);
      destination = {coordinate(random, columns), coordinate(random, rows)};
      if (shape == 1) {
        // An overlapping move by a step or two in any direction.
        destination = {static_cast<int16_t>(source.left + random.between(-2, 2)),
                       static_cast<int16_t>(source.top + random.between(-2, 2))};
      }
      edges(random, columns, clip_rect.left, clip_rect.right);
      edges(random, rows, clip_rect.top, clip_rect.bottom);
    }
    const CellRect* clip = random.chance(30) ? nullptr : &clip_rect;
    const ConsoleCell fill{'#', static_cast<uint16_t>(0x4E + n % 3)};

    const Grid before = grid;
    const bool expected = model_scroll(grid, source, clip, destination, fill);
    ASSERT_EQ(buffer.scroll_rectangle(source, clip, destination, fill), expected)
        << "case " << n << ": " << describe(columns, rows, source, clip, destination);
    ASSERT_EQ(buffer.cells(), grid.cells)
        << "case " << n << ": " << describe(columns, rows, source, clip, destination);
    if (grid.cells != before.cells) ++moved;
  }
  // The cases are not mostly ones that change nothing.
  EXPECT_GT(moved, CASES / 2);
}

// Every cell as at() reads it: unlike cells(), this leaves rows where scrolls stored them.
std::vector<ConsoleCell> read_by_cell(const CellBuffer& buffer) {
  std::vector<ConsoleCell> cells;
  for (int16_t row = 0; row < buffer.size().row; ++row) {
    for (int16_t column = 0; column < buffer.size().column; ++column) {
      cells.push_back(buffer.at(column, row));
    }
  }
  return cells;
}

TEST(CellBufferScroll, AConsoleOfTwentyFiveRowsScrollsByOneRowAtATime) {
  CellBuffer buffer(80, 25);
  Grid grid{80, 25, {}};
  for (int16_t row = 0; row < 25; ++row) {
    for (int16_t column = 0; column < 80; ++column) {
      const ConsoleCell cell{static_cast<uint8_t>('A' + (row + column) % 26),
                             static_cast<uint16_t>(row)};
      buffer.write_cells(&cell, 1, {column, row});
      grid.cells.push_back(cell);
    }
  }
  const CellRect whole{0, 0, 79, 24};
  for (int turn = 0; turn < 30; ++turn) {
    const ConsoleCell fill{' ', static_cast<uint16_t>(turn)};
    ASSERT_TRUE(model_scroll(grid, whole, nullptr, {0, -1}, fill));
    ASSERT_TRUE(buffer.scroll_rectangle(whole, nullptr, {0, -1}, fill));
    // A line written and a run filled into the scrolled rows, across a row's end.
    const ConsoleCell written{'w', static_cast<uint16_t>(turn)};
    const auto row = static_cast<int16_t>(turn % 25);
    buffer.write_cells(&written, 1, {3, row});
    grid.cells[static_cast<size_t>(row) * 80 + 3] = written;
    buffer.fill_characters('f', 90, {70, row});
    for (size_t i = 0; i < 90 && row * 80 + 70 + i < grid.cells.size(); ++i) {
      grid.cells[row * 80 + 70 + i].character = 'f';
    }
    ASSERT_EQ(read_by_cell(buffer), grid.cells) << "turn " << turn;
  }
  // The rows below a view of rows 3 to 20 scroll inside it, down and up.
  const CellRect view{0, 3, 79, 20};
  for (int rows : {1, 4, -2, 17, -17}) {
    const CellRect source{0, static_cast<int16_t>(3 + std::max(rows, 0)), 79,
                          static_cast<int16_t>(20 + std::min(rows, 0))};
    const CellPosition to{0, static_cast<int16_t>(3 + std::max(-rows, 0))};
    const ConsoleCell fill{'.', static_cast<uint16_t>(rows & 0xFF)};
    ASSERT_TRUE(model_scroll(grid, source, &view, to, fill));
    ASSERT_TRUE(buffer.scroll_rectangle(source, &view, to, fill));
    ASSERT_EQ(read_by_cell(buffer), grid.cells) << "by " << rows;
  }
  ASSERT_EQ(buffer.cells(), grid.cells);
}

}  // namespace
}  // namespace textscreen::platform
