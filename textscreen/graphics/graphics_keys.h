// The graphics screen's keyboard: the key slots read the key ring, which the window
// thread fills through the screen's host.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/display_driver.h"

namespace textscreen::detail {

// Key slots (program's thread).
std::string graphics_poll_key();
int32_t graphics_wait_key();
int32_t graphics_peek_key();
int32_t graphics_key_down(int32_t scan_code);
void graphics_wait(int32_t milliseconds);
// Sleeps until a key may have come to the window (or, in a scripted run, to the console's
// input) or `at_most` has passed.
void graphics_key_arrival(std::chrono::milliseconds at_most);

// From the window thread, frame lock held.
// True when the window must not act on the key itself.
bool window_key_pressed(const platform::WindowKeyEvent& key);
void window_character_typed(uint8_t character, uint16_t repeat_count);
void window_close_requested();

// Back to a fresh process: the key ring emptied.
void reset_graphics_keys();

}  // namespace textscreen::detail
