// The window's keyboard as SDL reports it, turned into the keys a console window would
// report: key downs into WindowKeyEvents, the characters SDL types no text for, typed text
// into code page 437 bytes, and SDL's key state into the set-1 key-state table.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/display_driver.h"

namespace textscreen::platform {

// The key as a console would report it; false for keys it has no scan code for (the
// Windows keys, media keys).
bool window_key_event(const SDL_Keysym& key, WindowKeyEvent& event);

// The character a key types that SDL sends no text event for: Enter and keypad Enter (13,
// or 10 with Ctrl), Esc (27), Backspace (8, or 127 with Ctrl), Tab (9) and Ctrl+letter
// (1-26). 0 for every other key, and while the left Alt is held (Alt+key is a key of its
// own, never a character).
uint8_t untexted_character(const SDL_Keysym& key);

// Whether typed text counts while these modifiers are held. Ctrl and the left Alt make
// keys, not text; the right Alt is AltGr, which types letters (ą is AltGr+A in Polish), also
// when it comes as Ctrl+right Alt.
bool text_counts(uint16_t modifiers);

// UTF-8 text as code page 437 bytes: the letter itself where the page has it, else the
// letter without its diacritic, else '?'.
std::string code_page_437_text(std::string_view utf8);

// The set-1 scan code of an SDL scancode, 0 when it has none below 128.
uint16_t set1_scan_code(SDL_Scancode scancode);

// Fills the 128-entry key-state table from SDL's keyboard state (indexed by SDL scancode).
void fill_key_states(const uint8_t* sdl_state, int sdl_state_count, uint8_t* key_states);

}  // namespace textscreen::platform
