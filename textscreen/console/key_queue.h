// The console key queue: a ring of 512 key codes that drops its oldest key when full.
// The control-event thread pushes into it while the program's thread reads it.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace textscreen::detail {

constexpr int32_t KEY_QUEUE_SLOTS = 512;
constexpr int32_t NO_KEY = -1;

class KeyQueue {
 public:
  void push(int32_t code);
  // The oldest key, or NO_KEY.
  int32_t take();
  bool empty() const;
  // Whether the next push would drop the oldest key. The console pump stops feeding a full
  // queue and leaves the rest of the input where it is, so no typed key is lost.
  bool full() const;
  // Whether a key was queued since the flag was last taken; clears it.
  bool take_key_seen();
  void clear_key_seen();
  void reset();

 private:
  mutable std::mutex mutex_;
  std::array<int32_t, KEY_QUEUE_SLOTS> codes_{};
  int32_t head_ = 0;
  int32_t tail_ = 0;
  bool key_seen_ = false;
};

KeyQueue& key_queue();

// The key string of a key code: empty for NO_KEY, one byte for 0-255, else 255 and the
// extended code.
std::string key_string(int32_t code);
// The key code of a key string (NO_KEY for the empty string).
int32_t key_code(const std::string& key);

}  // namespace textscreen::detail
