// The waits of a graphics screen: the sleep that a key typed into the window can end, and
// the wait for a key. Both sleep without the frame lock, so the window thread can deliver
// keys meanwhile; the callables they are given take the lock for each look at the ring.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace textscreen::detail {

// Sleeps `milliseconds`: -1 until a key is ready, looking every 50 ms; above 99 looking
// every 50 ms until at most 50 remain, which are slept without looking; 1-99 without
// looking; 0 and other negatives not at all. `take_key_ready` reads and clears key_ready.
// The key that ends a wait stays in the ring for the next key read.
void graphics_sleep_wait(int32_t milliseconds, platform::Clock& clock,
                         const std::function<bool()>& take_key_ready);

// Pops keys with `pop_key` (0: none) until one comes, sleeping 20 ms through `sleep`
// (the layer's sleep, in milliseconds) between tries; returns it.
int32_t graphics_wait_key(const std::function<int32_t()>& pop_key,
                          const std::function<void(int32_t)>& sleep);

}  // namespace textscreen::detail
