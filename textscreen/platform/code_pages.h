// The code pages the library shows text in: 852 (the Polish OEM page) on a terminal, 437
// in a graphics window. Texts are single bytes; this turns a byte into the code point of the
// glyph it shows and a typed character into the page's byte, and writes and reads UTF-8.
// Header-only, so that code built without any platform sources can use it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/code_pages_generated.h"

namespace textscreen::platform {

enum class CodePage : uint16_t { cp437 = 437, cp852 = 852 };

inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

namespace code_page_tables {

constexpr std::span<const CodePointByte> bytes_of(CodePage page) {
  if (page == CodePage::cp437) return CP437_BYTES;
  return CP852_BYTES;
}

constexpr bool strictly_sorted(std::span<const CodePointByte> table) {
  return std::adjacent_find(table.begin(), table.end(), [](const auto& a, const auto& b) {
           return a.code_point >= b.code_point;
         }) == table.end();
}
static_assert(strictly_sorted(CP437_BYTES) && strictly_sorted(CP852_BYTES),
              "byte_for searches the byte tables by code point");

}  // namespace code_page_tables

// The code point of the glyph `byte` shows in the page. Bytes 0x01-0x1F and 0x7F show their
// display glyphs (☺ ☻ ♥ … ⌂), 0x00 shows as a blank.
constexpr char32_t code_point_of(CodePage page, uint8_t byte) {
  return page == CodePage::cp437 ? code_page_tables::CP437_GLYPHS[byte]
                                 : code_page_tables::CP852_GLYPHS[byte];
}

// The byte a typed character becomes in the page. Control characters (below 0x20, and 0x7F)
// and ASCII stand for themselves. Any other character becomes the page's byte 0x80-0xFF that
// shows it; a Latin letter the page lacks becomes the nearest letter it has (ǘ -> ü -> u,
// ł -> l, Ð -> Đ or D; tools/gen_code_pages.py has the rules and the few letters mapped by
// hand); everything else becomes '?'. Display glyphs of the control bytes (☺, and § or ¶ in
// 437) become '?' too, never a control byte.
constexpr uint8_t byte_for(CodePage page, char32_t code_point) {
  if (code_point < 0x80) return static_cast<uint8_t>(code_point);
  const auto table = code_page_tables::bytes_of(page);
  const auto found = std::lower_bound(table.begin(), table.end(), code_point,
                                      [](const code_page_tables::CodePointByte& entry, char32_t c) {
                                        return entry.code_point < c;
                                      });
  return found != table.end() && found->code_point == code_point ? found->byte : uint8_t{'?'};
}

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF, which have
// none, append U+FFFD.
inline void append_utf8(std::string& out, char32_t code_point) {
  if ((code_point >= 0xD800 && code_point <= 0xDFFF) || code_point > 0x10FFFF) {
    code_point = REPLACEMENT_CHARACTER;
  }
  const auto put = [&out](uint32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (code_point < 0x80) {
    put(code_point);
  } else if (code_point < 0x800) {
    put(0xC0 | (code_point >> 6));
    put(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    put(0xE0 | (code_point >> 12));
    put(0x80 | ((code_point >> 6) & 0x3F));
    put(0x80 | (code_point & 0x3F));
  } else {
    put(0xF0 | (code_point >> 18));
    put(0x80 | ((code_point >> 12) & 0x3F));
    put(0x80 | ((code_point >> 6) & 0x3F));
    put(0x80 | (code_point & 0x3F));
  }
}

// Decodes one UTF-8 character from the front of `bytes` into `out` and returns the bytes it
// used. Returns 0, leaving `out` alone, when `bytes` is empty or holds the valid start of a
// longer character. Malformed input (a stray continuation byte, an overlong form, a
// surrogate, a value past U+10FFFF, a lead byte followed by too few continuation bytes)
// gives U+FFFD and uses 1 byte, so decoding always moves on.
constexpr size_t decode_utf8(std::string_view bytes, char32_t& out) {
  if (bytes.empty()) return 0;
  const uint8_t lead = static_cast<uint8_t>(bytes[0]);
  if (lead < 0x80) {
    out = lead;
    return 1;
  }
  size_t length = 0;
  char32_t code_point = 0;
  // The range of the second byte, narrowed to refuse overlong forms, surrogates and code
  // points past U+10FFFF.
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    out = REPLACEMENT_CHARACTER;
    return 1;
  }
  for (size_t i = 1; i < length; ++i) {
    if (i == bytes.size()) return 0;
    const uint8_t next = static_cast<uint8_t>(bytes[i]);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
      out = REPLACEMENT_CHARACTER;
      return 1;
    }
    code_point = (code_point << 6) | (next & 0x3F);
  }
  out = code_point;
  return length;
}

}  // namespace textscreen::platform
