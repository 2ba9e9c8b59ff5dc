#include "graphics/graphics_keys.h"

#include "console/console_keyboard.h"
#include "console/layer_devices.h"
#include "console/poll_idler.h"
#include "console/screen_state.h"
#include "console/timed_wait.h"
#include "graphics/frame_lock.h"
#include "graphics/key_ring.h"
#include "graphics/ring_key_string.h"
#include "graphics/scripted_keys.h"
#include "graphics/window_keys.h"
#include "textscreen/keyboard.h"

namespace textscreen::detail {
namespace {

// A program that polls in a loop lets the process sleep until the window thread pushes.
PollIdler idler;

// The key wait looks this often; it sleeps through the layer's sleep in between.
constexpr int32_t KEY_WAIT_STEP_MS = 20;

// Runs `read` on the key ring under the frame lock, once a script's keys are in it. When
// the read finds nothing and the script has ended, the console closes as at the end of its
// keys in the console.
template <typename Read>
auto read_ring(Read read) -> decltype(read(key_ring())) {
  GraphicsScreen* g = graphics_screen();
  if (g == nullptr) return {};
  decltype(read(key_ring())) result;
  {
    FrameLock lock(*g);
    feed_scripted_keys(key_ring());
    result = read(key_ring());
  }
  if (!result && scripted_input()) close_console_if_input_ended();
  return result;
}

int32_t pop_key() {
  return read_ring([](KeyRing& ring) {
    const int32_t code = ring.pop();
    if (code != 0) graphics_screen()->driver->keys_taken();
    return code;
  });
}

bool take_key_ready() {
  return read_ring([](KeyRing& ring) {
    // As in the console: a script's unread key was pressed after the last one read.
    return ring.take_key_ready() || (scripted_input() && !ring.empty());
  });
}

}  // namespace

std::string graphics_poll_key() {
  if (graphics_screen() == nullptr) return {};
  idler.before_poll(OutputBatch::operations_begun(), graphics_key_arrival);
  const int32_t code = pop_key();
  idler.after_poll(code != 0);
  return ring_key_string(code);
}

int32_t graphics_wait_key() {
  if (graphics_screen() == nullptr) return 0;
  for (;;) {
    const int32_t code = pop_key();
    if (code != 0) return code;
    sleep_wait(KEY_WAIT_STEP_MS);
  }
}

int32_t graphics_peek_key() {
  return read_ring([](KeyRing& ring) { return ring.empty() ? 0 : 1; });
}

int32_t graphics_key_down(int32_t scan_code) {
  GraphicsScreen* g = graphics_screen();
  if (g == nullptr || scan_code < 0 || scan_code >= 128) return 0;
  FrameLock lock(*g);
  return g->key_states[static_cast<size_t>(scan_code)];
}

void graphics_wait(int32_t milliseconds) {
  timed_wait(
      milliseconds, [](int32_t ms) { clock().sleep_for(std::chrono::milliseconds(ms)); },
      [](int32_t at_most) { graphics_key_arrival(std::chrono::milliseconds(at_most)); },
      take_key_ready);
}

void graphics_key_arrival(std::chrono::milliseconds at_most) {
  // A script's keys come through the console's input; the window's through its thread.
  if (scripted_input()) {
    console().wait_for_input(at_most);
  } else {
    key_ring().wait_for_push(at_most);
  }
}

bool window_key_pressed(const platform::WindowKeyEvent& key) {
  return window_key_down(key_ring(), key) == WindowKeyOutcome::swallowed;
}

void window_character_typed(uint8_t character, uint16_t repeat_count) {
  window_character(key_ring(), character, repeat_count);
}

void window_close_requested() {
  window_close(key_ring());
}

void reset_graphics_keys() {
  key_ring().reset();
  idler.reset();
}

}  // namespace textscreen::detail
