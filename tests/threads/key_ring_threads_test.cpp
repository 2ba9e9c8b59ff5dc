// The key ring under a window thread that pushes while the program's thread reads, each
// under a stand-in frame lock, and a program thread that sleeps until a push without it.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "graphics/key_ring.h"

namespace textscreen::detail {
namespace {

using std::chrono::milliseconds;

TEST(KeyRingThreads, AWaitingPollWakesForEveryPushAndLosesNoKey) {
  KeyRing ring;
  std::mutex frame_lock;
  constexpr int32_t KEYS = 300;
  // The window thread types one key at a time, each once the last has been read, so that
  // nothing is dropped and every key needs a wake-up.
  auto push_once_read = [&](int32_t code) {
    std::lock_guard lock(frame_lock);
    if (!ring.empty()) return false;
    ring.push(code);
    return true;
  };
  std::thread window([&] {
    for (int32_t code = 1; code <= KEYS; ++code) {
      while (!push_once_read(code)) std::this_thread::yield();
    }
  });
  std::vector<int32_t> read;
  int32_t missed_wake_ups = 0;
  while (static_cast<int32_t>(read.size()) < KEYS) {
    // Long enough that only a lost wake-up runs it out.
    if (!ring.wait_for_push(milliseconds(5000))) ++missed_wake_ups;
    std::lock_guard lock(frame_lock);
    while (int32_t code = ring.pop()) read.push_back(code);
  }
  window.join();
  EXPECT_EQ(missed_wake_ups, 0);
  for (int32_t i = 0; i < KEYS; ++i) ASSERT_EQ(read[i], i + 1);
}

}  // namespace
}  // namespace textscreen::detail
