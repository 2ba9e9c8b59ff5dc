// The cells a terminal grown smaller cannot show, kept for when it grows again: a console
// keeps its screen buffer whatever the size of its window, and a user who drags a terminal
// small and back expects the program's screen back. Owned by the terminal console, used
// under its lock.
#pragma once

#include <vector>

#include "platform/cell_buffer.h"

namespace textscreen::platform {

class KeptCells {
 public:
  // Resizes `buffer` to `size`, first keeping every cell it holds; the cells it gains are
  // those kept at their places (blank where the terminal never showed one). False, changing
  // nothing, for a size a buffer cannot have.
  bool resize(CellBuffer& buffer, CellPosition size);

 private:
  // The kept cells: a grid as large as the largest the terminal has been.
  int16_t columns_ = 0;
  int16_t rows_ = 0;
  std::vector<ConsoleCell> cells_;
};

}  // namespace textscreen::platform
