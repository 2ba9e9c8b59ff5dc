// The frame lock on the program's thread: every operation that touches the frame, the text
// cells, the palette or the key ring holds it, taken once by the outermost operation (the
// driver's lock is not re-entrant).
#pragma once

#include "graphics/graphics_screen.h"

namespace textscreen::detail {

class FrameLock {
 public:
  explicit FrameLock(GraphicsScreen& screen) : screen_(screen) {
    if (screen_.frame_locked) return;
    screen_.driver->lock();
    screen_.frame_locked = true;
    took_ = true;
  }
  ~FrameLock() {
    if (!took_) return;
    screen_.frame_locked = false;
    screen_.driver->unlock();
  }
  FrameLock(const FrameLock&) = delete;
  FrameLock& operator=(const FrameLock&) = delete;

 private:
  GraphicsScreen& screen_;
  bool took_ = false;
};

}  // namespace textscreen::detail
