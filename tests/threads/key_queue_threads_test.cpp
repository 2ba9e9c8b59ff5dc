// The key queue under a second pushing thread, as the control-event thread pushes while the
// program takes keys: no key is lost, torn or taken twice.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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
  std::vector<int> taken;
  go = true;
  while (taken.size() < 2 * PER_THREAD) {
    int code = queue.take();
    if (code != NO_KEY) taken.push_back(code);
  }
  first.join();
  second.join();
  EXPECT_EQ(queue.take(), NO_KEY);
  // Each pusher's keys arrive complete and in their own order.
  int next_first = 0x1000;
  int next_second = 0x2000;
  for (int code : taken) {
    if (code < 0x2000) {
      EXPECT_EQ(code, next_first++);
    } else {
      EXPECT_EQ(code, next_second++);
    }
  }
  EXPECT_EQ(next_first, 0x1000 + PER_THREAD);
  EXPECT_EQ(next_second, 0x2000 + PER_THREAD);
}

TEST(KeyQueueThreads, AFullQueueUnderConcurrentPushesStaysWhole) {
  KeyQueue queue;
  std::thread pusher([&] {
    for (int i = 0; i < 20000; ++i) queue.push(i);
  });
  int previous = -1;
  int seen = 0;
  while (seen < 1000) {
    int code = queue.take();
    if (code == NO_KEY) continue;
    EXPECT_GT(code, previous);  // dropping the oldest never reorders
    previous = code;
    ++seen;
    if (code == 19999) break;
  }
  pusher.join();
  int count = 0;
  while (queue.take() != NO_KEY) ++count;
  EXPECT_LE(count, 511);
}

}  // namespace
}  // namespace textscreen::detail
