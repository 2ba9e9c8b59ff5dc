#include "platform/windows/scripted_input.h"

#include <thread>
#include <utility>

#include "platform/keyboard_layout.h"

namespace textscreen::platform {

ScriptedInput::ScriptedInput(HANDLE input) : state_(std::make_shared<State>()) {
  std::thread(read_all, input, state_).detach();
}

void ScriptedInput::read_all(HANDLE input, const std::shared_ptr<State>& state) {
  for (;;) {
    {
      std::unique_lock lock(state->mutex);
      state->changed.wait(lock, [&] { return state->keys.empty(); });
    }
    uint8_t bytes[256];
    DWORD read = 0;
    const bool got = ReadFile(input, bytes, sizeof bytes, &read, nullptr) != FALSE && read > 0;
    std::lock_guard lock(state->mutex);
    if (!got) {
      // The end of the file, or the writer closed the pipe.
      state->ended = true;
      state->changed.notify_all();
      return;
    }
    for (DWORD i = 0; i < read; ++i) {
      const uint8_t byte = bytes[i];
      const bool after_cr = std::exchange(state->after_cr, byte == '\r');
      if (byte == '\n' && after_cr) continue;
      KeyEvent key = key_of_byte(byte);
      state->keys.push_back(key);
      key.key_down = false;
      state->keys.push_back(key);
    }
    state->changed.notify_all();
  }
}

bool ScriptedInput::peek(KeyEvent& key) {
  std::lock_guard lock(state_->mutex);
  if (state_->keys.empty()) return false;
  key = state_->keys.front();
  return true;
}

bool ScriptedInput::take(KeyEvent& key) {
  std::lock_guard lock(state_->mutex);
  if (state_->keys.empty()) return false;
  key = state_->keys.front();
  state_->keys.pop_front();
  // The last key taken lets the reader read on.
  if (state_->keys.empty()) state_->changed.notify_all();
  return true;
}

bool ScriptedInput::ended() {
  std::lock_guard lock(state_->mutex);
  return state_->ended && state_->keys.empty();
}

void ScriptedInput::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(state_->mutex);
  state_->changed.wait_for(lock, timeout, [&] { return state_->ended || !state_->keys.empty(); });
}

}  // namespace textscreen::platform
