// What the fuzz targets share: a check that stops the run with a message, the switch of
// steering around known faults, and a layer on an in-memory console that counts every cell
// the layer addresses outside its buffer.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "console/layer_reset.h"
#include "console/screen_state.h"
#include "platform/memory/memory_console.h"

// Checks an invariant; the message is built only when it is broken.
#define FUZZ_CHECK(holds, what) ((holds) ? void() : ::textscreen::fuzz::fail(what))

namespace textscreen::fuzz {

// A broken invariant: libFuzzer takes the abort as a crash and keeps the input.
[[noreturn]] inline void fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

// The targets steer around faults known and not fixed yet, so that a short run finds new
// ones; FUZZ_NO_STEERING in the environment turns that off to run the reproducers in findings/.
inline const bool steering = std::getenv("FUZZ_NO_STEERING") == nullptr;

// A fresh layer on an in-memory console, no clock (waits take no time) and no speaker; keys
// come from `keys` through the key slots, one by one as a typist sends them.
struct Layer {
  Layer(int16_t columns, int16_t rows, int16_t window_rows = 0)
      : console(columns, rows, window_rows) {
    detail::reset_layer({&console, nullptr, nullptr, {}});
    keys.clear();
    detail::screen_state().hooks.poll_key = [] {
      std::string key = keys.front();
      keys.pop_front();
      return key;
    };
    detail::screen_state().hooks.peek_key = [] { return keys.empty() ? 0 : 1; };
  }
  ~Layer() { detail::reset_layer({}); }
  Layer(const Layer&) = delete;

  // The layer addressed no cell outside the buffer and wrote nothing raw.
  void check_clean() {
    FUZZ_CHECK(console.refused_positions() == 0, "the layer addressed a cell outside the buffer");
    FUZZ_CHECK(console.raw_output().empty(), "text went raw to a console");
  }

  // `text` (as much of its end as fits) is in the cells just before cell `end` counted from
  // the left of buffer row `top`, `width` cells a row; in the current colours if `coloured`.
  void check_before(const std::string& text, int32_t end, int32_t top, int32_t width,
                    bool coloured) {
    const platform::CellBuffer& buffer = console.buffer();
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t at = std::max(0, end - length); at < end; ++at) {
      const auto& cell =
          buffer.at(static_cast<int16_t>(at % width), static_cast<int16_t>(top + at / width));
      FUZZ_CHECK(
          cell.character == static_cast<uint8_t>(text[static_cast<size_t>(at - end + length)]) &&
              (!coloured || cell.attribute == buffer.attribute()),
          "byte " + std::to_string(at - end + length) + " of \"" + text +
              "\" is not before the cursor");
    }
  }

  platform::MemoryConsole console;
  static inline std::deque<std::string> keys;
};

}  // namespace textscreen::fuzz
