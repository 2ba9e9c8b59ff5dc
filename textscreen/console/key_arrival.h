// Waiting for a key to arrive on the keyboard the program reads: the console's, or the
// window's while a graphics screen holds the key slots. The wait ends the moment a key comes
// (the console device's input wait, the key ring's wake-up), so a key is never left waiting
// for a sleep to run out.
#pragma once

#include <chrono>

namespace textscreen::detail {

// Sleeps until a key may have come or `at_most` has passed. Program's thread.
void wait_for_key_arrival(std::chrono::milliseconds at_most);
// The console's part of it: shows what the console has pending, then sleeps until its input
// may hold a key or `at_most` has passed.
void wait_for_console_key(std::chrono::milliseconds at_most);

// The graphics half's wait, used while the key slots are its own.
void set_graphics_key_arrival(void (*wait)(std::chrono::milliseconds at_most));

}  // namespace textscreen::detail
