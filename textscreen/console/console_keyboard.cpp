#include "console/console_keyboard.h"

#include <optional>

#include "console/key_arrival.h"
#include "console/key_queue.h"
#include "console/key_translation.h"
#include "console/layer_devices.h"
#include "console/layer_lifecycle.h"
#include "console/poll_idler.h"
#include "console/screen_state.h"
#include "console/timed_wait.h"
#include "textscreen/keyboard.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

using platform::InputEvent;
using platform::InputEventType;
using platform::KeyEvent;

// The decimal value typed on the numeric keypad while only Alt is held.
int32_t alt_number = 0;
PollIdler idler;
// Whether the keys come from a pipe or a file, once asked. Asking the console is a round trip
// to the console's host on some systems, and every look for a key needs the answer, which
// stays the same for the life of the process.
std::optional<bool> input_scripted;

bool is_keypad_digit(uint16_t virtual_key) {
  return virtual_key >= platform::VKEY_NUMPAD0 && virtual_key <= platform::VKEY_NUMPAD9;
}

void push_alt_number() {
  if (alt_number == 0) return;
  key_queue().push(alt_number & 255);
  alt_number = 0;
}

void handle_key_down(const KeyEvent& key) {
  int32_t code = translate_key(key.character, key.scan_code,
                               console().virtual_key_to_char(key.virtual_key), key.control_state);
  bool alt = alt_only(key.control_state);
  if (is_keypad_digit(key.virtual_key) && alt) {
    alt_number = alt_number * 10 + (key.virtual_key - platform::VKEY_NUMPAD0);
    if (code != NO_TRANSLATION) key_queue().push(code);
  } else if (code != NO_TRANSLATION) {
    alt_number = 0;
    key_queue().push(code);
  } else if (!alt) {
    push_alt_number();
  }
}

void handle_key_up(const KeyEvent& key) {
  if (alt_only(key.control_state)) return;
  push_alt_number();
}

void sleep_ms(int32_t milliseconds) {
  console().flush();
  clock().sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

void pump_console_input() {
  install_control_handler_once();
  InputEvent event;
  // An event queues at most one key. What a full queue cannot take stays in the console's
  // input (a terminal's, a pipe's) until the program has read keys again.
  while (!key_queue().full() && console().peek_input(event)) {
    if (!console().read_input(event)) break;
    if (event.type != InputEventType::key) continue;
    const KeyEvent& key = event.key;
    if (key.key_down) {
      if (key.repeat_count != 0) handle_key_down(key);
    } else {
      handle_key_up(key);
    }
  }
}

bool scripted_input() {
  if (!input_scripted) {
    // A console always has an input mode; a pipe or a file has none.
    uint32_t mode = 0;
    input_scripted = !console().read_input_mode(mode);
  }
  return *input_scripted;
}

void close_console_if_input_ended() {
  if (key_queue().empty() && console().input_ended()) console().close_console();
}

std::string console_poll_key() {
  idler.before_poll(OutputBatch::operations_begun(), wait_for_console_key);
  pump_console_input();
  int32_t code = key_queue().take();
  if (code != NO_KEY) {
    pump_console_input();
    key_queue().clear_key_seen();
  }
  if (code == NO_KEY) close_console_if_input_ended();
  idler.after_poll(code != NO_KEY);
  return key_string(code);
}

int32_t console_peek_key() {
  pump_console_input();
  if (!key_queue().empty()) return 1;
  close_console_if_input_ended();
  return 0;
}

static bool take_key_seen() {
  pump_console_input();
  if (key_queue().take_key_seen()) return true;
  // A script's keys are pressed one after another, however early they were read in: a key
  // still unread was pressed after the last one read, and ends the wait.
  if (scripted_input() && !key_queue().empty()) return true;
  close_console_if_input_ended();
  return false;
}

void console_wait(int32_t milliseconds) {
  // Every wait counts as a console read, the short ones that never look at a key too.
  install_control_handler_once();
  timed_wait(
      milliseconds, sleep_ms,
      [](int32_t at_most) { wait_for_console_key(std::chrono::milliseconds(at_most)); },
      take_key_seen);
}

void reset_console_keyboard() {
  alt_number = 0;
  input_scripted.reset();
  idler.reset();
}

}  // namespace textscreen::detail

namespace textscreen {

std::string key_poll() {
  detail::OutputBatch batch;
  auto& hooks = detail::screen_state().hooks;
  return hooks.poll_key != nullptr ? hooks.poll_key() : detail::console_poll_key();
}

void sleep_wait(int32_t milliseconds) {
  detail::OutputBatch batch;
  auto& hooks = detail::screen_state().hooks;
  if (hooks.wait != nullptr) {
    hooks.wait(milliseconds);
  } else {
    detail::console_wait(milliseconds);
  }
}

}  // namespace textscreen
