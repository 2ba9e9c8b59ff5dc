// The console side of the keyboard: the pump that moves console input events into the
// key queue, and the console defaults of the key and wait slots.
#pragma once

#include <cstdint>
#include <string>

namespace textscreen::detail {

// Reads every input event the console has queued, without waiting.
void pump_console_input();

std::string console_poll_key();
int32_t console_peek_key();
void console_wait(int32_t milliseconds);

// Forgets a half-typed Alt + keypad number: for tests.
void reset_console_keyboard();

}  // namespace textscreen::detail
