#include "graphics/key_ring.h"

namespace textscreen::detail {

void KeyRing::push(int32_t code) {
  codes_[write_index_] = code;
  write_index_ = (write_index_ + 1) % SLOTS;
  if (write_index_ == read_index_) read_index_ = (read_index_ + 1) % SLOTS;
  key_ready_ = true;
  note_push();
}

int32_t KeyRing::pop() {
  int32_t code = 0;
  if (read_index_ != write_index_) {
    code = codes_[read_index_];
    read_index_ = (read_index_ + 1) % SLOTS;
  }
  key_ready_ = false;
  forget_pushes();
  return code;
}

bool KeyRing::empty() const {
  return read_index_ == write_index_;
}

int32_t KeyRing::room() const {
  return SLOTS - 1 - (write_index_ - read_index_ + SLOTS) % SLOTS;
}

bool KeyRing::take_key_ready() {
  bool ready = key_ready_;
  key_ready_ = false;
  return ready;
}

bool KeyRing::wait_for_push(std::chrono::milliseconds at_most) {
  std::unique_lock lock(wake_mutex_);
  bool pushed = pushed_.wait_for(lock, at_most, [this] { return pushed_since_taken_; });
  pushed_since_taken_ = false;
  return pushed;
}

void KeyRing::reset() {
  write_index_ = read_index_ = 0;
  key_ready_ = false;
  forget_pushes();
}

void KeyRing::note_push() {
  {
    std::lock_guard lock(wake_mutex_);
    pushed_since_taken_ = true;
  }
  pushed_.notify_one();
}

void KeyRing::forget_pushes() {
  std::lock_guard lock(wake_mutex_);
  pushed_since_taken_ = false;
}

KeyRing& key_ring() {
  // Never destroyed: the graphics close runs at process exit after the destructors of statics
  // built later than it was registered, and the window thread it ends may push until then.
  static KeyRing& ring = *new KeyRing;
  return ring;
}

}  // namespace textscreen::detail
