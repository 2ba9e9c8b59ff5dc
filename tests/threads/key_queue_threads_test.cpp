// The key queue under two pushing threads, as the control-event thread pushes while the
// program takes keys: no key is lost, torn or taken twice, and each thread's keys keep their
// order.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "console/key_queue.h"

namespace textscreen::detail {
namespace {

TEST(KeyQueueThreads, ConcurrentPushesAndTakesLoseNothing) {
  KeyQueue queue;
  constexpr int PER_THREAD = 200;  // well below the queue's size: nothing may be dropped
  std::atomic<bool> go{false};
  auto pusher = [&](int base) {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < PER_THREAD; ++i) queue.push(base + i);
  };
  std::thread first(pusher, 0x1000);
  std::thread second(pusher, 0x2000);
  go = true;
  int next[] = {0x1000, 0x2000};
  for (int taken = 0; taken < 2 * PER_THREAD;) {
    const int code = queue.take();
    if (code == NO_KEY) continue;
    EXPECT_EQ(code, next[code >= 0x2000]++);
    ++taken;
  }
  first.join();
  second.join();
  EXPECT_EQ(queue.take(), NO_KEY);
}

}  // namespace
}  // namespace textscreen::detail
