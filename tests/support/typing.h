// Typing on the in-memory console: characters and the editing keys as console key events.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/keyboard_layout.h"
#include "platform/memory/memory_console.h"

namespace textscreen::testing {

inline void type_text(platform::MemoryConsole& console, const std::string& text) {
  for (char c : text) {
    auto byte = static_cast<uint8_t>(c);
    platform::KeyPlacement place;  // a letter with no key of its own comes with no key
    platform::key_for_character(byte, place);
    console.push_key({true, 1, place.virtual_key, place.scan_code, byte,
                      place.shift ? platform::KEY_STATE_SHIFT : 0u});
  }
}

// Editing keys (arrows, Home, End, Delete) pressed in order.
inline void press_enhanced(platform::MemoryConsole& console,
                           std::initializer_list<uint16_t> virtual_keys) {
  for (uint16_t key : virtual_keys) {
    console.push_key(
        {true, 1, key, platform::scan_code_for_virtual_key(key), 0, platform::KEY_STATE_ENHANCED});
  }
}

}  // namespace textscreen::testing
