// What the fuzz targets share: a check that stops the run with a message, tracing and the
// switch of steering around known faults, and the layer set up on an in-memory console that
// reports every cell the layer addresses outside its buffer.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <string_view>

#include "console/layer_reset.h"
#include "console/screen_state.h"
#include "platform/memory/memory_console.h"

namespace textscreen::fuzz {

// A broken invariant: libFuzzer takes the abort as a crash and keeps the input.
[[noreturn]] inline void fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

// With FUZZ_TRACE set in the environment a target tells each step it takes: run it on one
// input to see what the input does.
inline bool tracing() {
  static const bool enabled = std::getenv("FUZZ_TRACE") != nullptr;
  return enabled;
}

// The targets steer around faults that are known and not fixed yet, so that a short run
// finds new ones; FUZZ_NO_STEERING set in the environment turns that off, which is how the
// reproducers in findings/ are run.
inline bool steering() {
  static const bool enabled = std::getenv("FUZZ_NO_STEERING") == nullptr;
  return enabled;
}

// Bytes as a C string literal would write them.
inline std::string quoted(std::string_view bytes) {
  std::string text = "\"";
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      text += c;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      text += escape;
    }
  }
  return text + "\"";
}

}  // namespace textscreen::fuzz

// Checks an invariant; the message is built only when it is broken.
#define FUZZ_CHECK(holds, what)                   \
  do {                                            \
    if (!(holds)) ::textscreen::fuzz::fail(what); \
  } while (false)

#define FUZZ_TRACE(...)                                                   \
  do {                                                                    \
    if (::textscreen::fuzz::tracing()) std::fprintf(stderr, __VA_ARGS__); \
  } while (false)

namespace textscreen::fuzz {

// A fresh layer on an in-memory console, no clock (waits take no time) and no speaker; keys come
// from `keys` through the key slots, one by one as a typist sends them.
class Layer {
 public:
  Layer(int16_t columns, int16_t rows, int16_t window_rows = 0)
      : console(columns, rows, window_rows) {
    detail::reset_layer({&console, nullptr, nullptr, {}});
    keys.clear();
    auto& hooks = detail::screen_state().hooks;
    hooks.poll_key = [] {
      std::string key = keys.front();
      keys.pop_front();
      return key;
    };
    hooks.peek_key = [] { return keys.empty() ? 0 : 1; };
  }
  ~Layer() { detail::reset_layer({}); }
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  platform::MemoryConsole console;
  static inline std::deque<std::string> keys;
};

}  // namespace textscreen::fuzz
