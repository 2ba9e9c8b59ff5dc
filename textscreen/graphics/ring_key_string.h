// The key string of a key taken from the window's key ring.
#pragma once

#include <cstdint>
#include <string>

namespace textscreen::detail {

// Empty for 0 (no key); one byte for a character; else 0xFF and the key's extended code.
// Unlike the console's key strings, 0 is no key, and codes 256-276 (which no window
// produces) keep the extended codes of the window keyboard's first keys.
std::string ring_key_string(int32_t code);

}  // namespace textscreen::detail
