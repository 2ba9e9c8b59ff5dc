// The window's key ring: the keys typed into the graphics window, waiting for the program's
// key reads. Sixteen slots hold at most fifteen keys; a full ring drops its oldest key.
//
// Threads. The window thread pushes while it holds the frame lock (its window events are
// handled inside its cycle); the program's thread pops, looks and takes key_ready under the
// same lock. The ring's keys are guarded by that lock, not by the ring. Only the wake-up of
// an idling key poll has a lock of its own, so the program's thread can sleep until a push
// without holding the frame lock the window thread needs to push.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "platform/clock.h"
#include "textscreen/keyboard.h"

namespace textscreen::detail {

class KeyRing {
 public:
  static constexpr int32_t SLOTS = 16;

  // Window thread, frame lock held. Sets key_ready and wakes a waiting poll.
  void push(int32_t code);
  // Program's thread, frame lock held: the oldest key, or 0 when there is none. Clears
  // key_ready.
  int32_t pop();
  // Program's thread, frame lock held.
  bool empty() const;
  // How many keys a push can still add before the oldest is dropped. Either thread, frame
  // lock held: the window thread leaves a key in the window system's queue while there is
  // no room, the program's thread feeds a script's keys only into the room there is.
  int32_t room() const;
  // Program's thread, frame lock held: whether a key was pushed since key_ready was last
  // cleared; clears it.
  bool take_key_ready();

  // Program's thread, frame lock NOT held: sleeps on the layer's clock until a key is pushed
  // or `at_most` has passed. A push since the last pop or wait ends it at once. True when a
  // push ended it.
  bool wait_for_push(std::chrono::milliseconds at_most);

  // Empties the ring and clears key_ready: for tests.
  void reset();

 private:
  // Guarded by the caller's frame lock.
  std::array<int32_t, SLOTS> codes_{};
  int32_t write_index_ = 0;
  int32_t read_index_ = 0;
  bool key_ready_ = false;

  // The wake-up of a waiting program: guarded by itself, not by the frame lock.
  platform::WakeSignal pushed_;
};

// The process's one key ring. It outlives every graphics screen: keys typed into one window
// are still there for the next.
KeyRing& key_ring();

}  // namespace textscreen::detail
