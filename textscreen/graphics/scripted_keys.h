// A script's keys in the graphics screen. While the console's input is a pipe or a file, its
// keys reach the window's key ring, so a scripted run goes through a calculation screen as
// it goes through the console. The console's key queue holds what the ring has no room for
// yet, and the pipe holds the rest: nothing piped is lost.
#pragma once

#include <cstdint>

#include "graphics/key_ring.h"

namespace textscreen::detail {

// Moves the script's keys into the ring while it has room; does nothing when the keys come
// from a console. Program's thread, frame lock held; does not block.
void feed_scripted_keys(KeyRing& ring);

// The ring's code of a console key code: characters from the console's code page to the
// window's (code page 437, the nearest letter where it lacks one), other keys unchanged.
// 0 for a key the ring cannot hold (the character 0, which the ring reads as no key).
int32_t ring_code_of_console_key(int32_t code);

}  // namespace textscreen::detail
