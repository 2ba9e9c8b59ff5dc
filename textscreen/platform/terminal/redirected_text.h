// Text for a file or a pipe. A terminal shows the programs' code page 852 bytes as the
// characters they stand for; a reader of redirected output should see the same characters,
// so where the locale says text is UTF-8 the bytes are written as UTF-8. ASCII and the
// control bytes (line ends, tabs, the bell) stay as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace textscreen::platform {

// Whether the user's locale (LC_ALL, LC_CTYPE, LANG) takes text as UTF-8. Reads the
// environment's locale without making it the process's.
bool locale_is_utf8();

// `bytes` of code page 852 as UTF-8: bytes below 0x80 unchanged, the others as the
// characters the page gives them.
std::string utf8_of_code_page_852(const uint8_t* bytes, size_t count);

}  // namespace textscreen::platform
