// Keys from a standard input that is not a console: a pipe or a file, whose bytes are the
// keys, and whose end ends the input. A reader thread of its own waits in the read, so that
// neither the program's polls nor its waits depend on what kind of handle the input is; it
// reads only while no key it made waits, so what the layer has no room for stays in the pipe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/keys.h"
#include "platform/windows/windows_api.h"

namespace textscreen::platform {

class ScriptedInput {
 public:
  // Starts reading `input`, which it does not own and which must stay open while the process
  // runs (or until it ends).
  explicit ScriptedInput(HANDLE input);

  // The oldest key event: peek copies it, take removes it. False when none waits. Any thread;
  // neither blocks.
  bool peek(KeyEvent& key);
  bool take(KeyEvent& key);
  // True once the input has ended and every key was taken. Does not block.
  bool ended();
  // Sleeps until a key waits, the input ends or `timeout` passes. Blocks at most `timeout`.
  void wait(std::chrono::milliseconds timeout);

 private:
  // Shared with the reader thread, which may outlive this object while it waits in a read.
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<KeyEvent> keys;
    bool after_cr = false;  // a CR LF pair, a Windows line end, is one Enter
    bool ended = false;
  };
  static void read_all(HANDLE input, const std::shared_ptr<State>& state);

  std::shared_ptr<State> state_;
};

}  // namespace textscreen::platform
