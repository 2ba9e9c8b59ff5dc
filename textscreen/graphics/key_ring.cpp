#include "graphics/key_ring.h"

#include "console/layer_devices.h"

namespace textscreen::detail {

void KeyRing::push(int32_t code) {
  codes_[write_index_] = code;
  write_index_ = (write_index_ + 1) % SLOTS;
  if (write_index_ == read_index_) read_index_ = (read_index_ + 1) % SLOTS;
  key_ready_ = true;
  pushed_.wake();
}

int32_t KeyRing::pop() {
  int32_t code = 0;
  if (read_index_ != write_index_) {
    code = codes_[read_index_];
    read_index_ = (read_index_ + 1) % SLOTS;
  }
  key_ready_ = false;
  pushed_.take();
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
  return detail::clock().sleep_until_woken(at_most, pushed_);
}

void KeyRing::reset() {
  write_index_ = read_index_ = 0;
  key_ready_ = false;
  pushed_.take();
}

KeyRing& key_ring() {
  // Never destroyed: the graphics close runs at process exit after the destructors of statics
  // built later than it was registered, and the window thread it ends may push until then.
  static KeyRing& ring = *new KeyRing;
  return ring;
}

}  // namespace textscreen::detail
