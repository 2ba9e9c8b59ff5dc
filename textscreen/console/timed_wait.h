// The layer's wait, shared by the console and the graphics window: a wait that a key can end
// looks for one every 50 ms and sleeps in between, so the key arrives meanwhile by whatever
// way the screen gets its keys.
#pragma once

#include <cstdint>
#include <functional>

namespace textscreen::detail {

// Sleeps `milliseconds`: -1 until a key is ready, looking at once when one arrives and at
// least every 50 ms; above 99 looking every 50 ms until at most 50 remain, which are slept
// without looking; 1-99 without looking; 0 and other negatives not at all. `sleep` sleeps a
// number of milliseconds; `wait_for_key` sleeps at most that many, ending when a key
// arrives; `take_key_ready` reads and clears the flag a typed key sets; the key itself stays
// for the next key read.
void timed_wait(int32_t milliseconds, const std::function<void(int32_t)>& sleep,
                const std::function<void(int32_t)>& wait_for_key,
                const std::function<bool()>& take_key_ready);

}  // namespace textscreen::detail
