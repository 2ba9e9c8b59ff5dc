// The keyboard: polling for keys, waiting, and the beep.
#pragma once

#include <cstdint>
#include <string>

namespace textscreen {

// The key code of a window close, console close, logoff or shutdown ("\xFF" "k").
constexpr int32_t CLOSE_KEY = 0x6BFF;

// The oldest key typed, as a key string: empty when none, one byte for a character, else
// the byte 255 and the key's extended code. Never waits.
std::string key_poll();
// Waits `milliseconds`; -1 waits for a key, and a wait longer than 99 ms ends at a key.
void sleep_wait(int32_t milliseconds);
// A 1000 Hz tone for 250 ms (the bell where no sound output opens).
void beep();

}  // namespace textscreen
