// The console side of the keyboard: the pump that moves console input events into the
// key queue, and the console defaults of the key and wait slots.
#pragma once

#include <cstdint>
#include <string>

namespace textscreen::detail {

// Reads the input events the console has queued into the key queue, without waiting, as
// long as the queue has room; the rest stays in the console's input.
void pump_console_input();

// Whether the keys come from a script: the console's input is a pipe or a file, not a
// console. A script's keys reach whichever keyboard is active, the window's key ring too,
// and no window opens that nobody named.
bool scripted_input();

// Where the program looked for a key and found none: once a script's keys have all been
// taken, the end of its input closes the console, as closing its window would, rather than
// leave the program waiting for keys that cannot come.
void close_console_if_input_ended();

std::string console_poll_key();
int32_t console_peek_key();
void console_wait(int32_t milliseconds);

// Forgets a half-typed Alt + keypad number: for tests.
void reset_console_keyboard();

}  // namespace textscreen::detail
