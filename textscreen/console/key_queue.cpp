#include "console/key_queue.h"

namespace textscreen::detail {

void KeyQueue::push(int32_t code) {
  std::lock_guard lock(mutex_);
  codes_[head_] = code;
  head_ = (head_ + 1) & (KEY_QUEUE_SLOTS - 1);
  if (head_ == tail_) tail_ = (head_ + 1) & (KEY_QUEUE_SLOTS - 1);
  key_seen_ = true;
}

int32_t KeyQueue::take() {
  std::lock_guard lock(mutex_);
  if (tail_ == head_) return NO_KEY;
  int32_t code = codes_[tail_];
  tail_ = (tail_ + 1) & (KEY_QUEUE_SLOTS - 1);
  return code;
}

bool KeyQueue::empty() const {
  std::lock_guard lock(mutex_);
  return tail_ == head_;
}

bool KeyQueue::full() const {
  std::lock_guard lock(mutex_);
  return ((head_ + 1) & (KEY_QUEUE_SLOTS - 1)) == tail_;
}

bool KeyQueue::take_key_seen() {
  std::lock_guard lock(mutex_);
  bool seen = key_seen_;
  key_seen_ = false;
  return seen;
}

void KeyQueue::clear_key_seen() {
  std::lock_guard lock(mutex_);
  key_seen_ = false;
}

void KeyQueue::reset() {
  std::lock_guard lock(mutex_);
  head_ = tail_ = 0;
  key_seen_ = false;
}

KeyQueue& key_queue() {
  static KeyQueue queue;
  return queue;
}

std::string key_string(int32_t code) {
  if (code == NO_KEY) return {};
  if (code >= 0 && code <= 255) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

int32_t key_code(const std::string& key) {
  if (key.empty()) return NO_KEY;
  if (key.size() == 2) return (static_cast<uint8_t>(key[1]) << 8) | 255;
  return static_cast<uint8_t>(key[0]);
}

}  // namespace textscreen::detail
