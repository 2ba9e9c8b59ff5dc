#include "console/key_translation.h"

#include <array>

#include "platform/keys.h"

namespace textscreen::detail {
namespace {

using namespace platform;

// One row per scan code: the value for no modifier, Shift, Ctrl, Alt. Values above 255 are
// extended codes shifted into the high byte; 0 is no value.
struct KeyRow {
  int32_t plain, shift, ctrl, alt;
};

constexpr int32_t ext(int32_t code) {
  return code << 8;
}

constexpr int32_t MAIN_TABLE_LAST_SCAN = 0x58;

constexpr std::array<KeyRow, MAIN_TABLE_LAST_SCAN + 1> make_main_table() {
  std::array<KeyRow, MAIN_TABLE_LAST_SCAN + 1> t{};
  t[0x01].alt = ext(0x01);
  for (int scan = 0x02; scan <= 0x0D; ++scan) t[scan].alt = ext(0x78 + scan - 0x02);
  t[0x03].ctrl = ext(0x03);
  t[0x0E].alt = ext(0xE0);
  t[0x0F] = {0, ext(0x0F), ext(0x94), ext(0x0F)};
  for (int scan = 0x10; scan <= 0x1B; ++scan) t[scan].alt = ext(scan);
  t[0x1C].alt = ext(0x1C);
  for (int scan = 0x1E; scan <= 0x29; ++scan) t[scan].alt = ext(scan);
  for (int scan = 0x2C; scan <= 0x35; ++scan) t[scan].alt = ext(scan);
  for (int scan = 0x3B; scan <= 0x44; ++scan) {
    t[scan] = {ext(scan), ext(scan + 0x19), ext(scan + 0x23), ext(scan + 0x2D)};
  }
  t[0x47] = {ext(0x47), 0, ext(0x77), 0};
  t[0x48] = {ext(0x48), 0, ext(0x8D), 0};
  t[0x49] = {ext(0x49), 0, ext(0x84), 0};
  t[0x4B] = {ext(0x4B), 0, ext(0x73), 0};
  t[0x4C] = {ext(0x4C), 0, ext(0x8F), ext(0x4C)};
  t[0x4D] = {ext(0x4D), 0, ext(0x74), 0};
  t[0x4F] = {ext(0x4F), 0, ext(0x75), 0};
  t[0x50] = {ext(0x50), 0, ext(0x91), 0};
  t[0x51] = {ext(0x51), 0, ext(0x76), 0};
  t[0x52] = {ext(0x52), 0, ext(0x92), 0};
  t[0x53] = {ext(0x53), 0, ext(0x93), 0};
  t[0x57] = {ext(0x85), ext(0x87), ext(0x89), ext(0x8B)};
  t[0x58] = {ext(0x86), ext(0x88), ext(0x8A), ext(0x8C)};
  return t;
}

constexpr std::array<KeyRow, MAIN_TABLE_LAST_SCAN + 1> MAIN_TABLE = make_main_table();

struct EnhancedRow {
  uint16_t scan;
  KeyRow values;
};

// Keys the console flags as enhanced: the cursor block and the keypad's Enter and /.
constexpr std::array<EnhancedRow, 12> ENHANCED_TABLE{{
    {0x1C, {13, 13, 10, ext(0xA6)}},
    {0x35, {47, 63, ext(0x95), ext(0xA4)}},
    {0x47, {ext(0x47), ext(0x47), ext(0x77), ext(0x97)}},
    {0x48, {ext(0x48), ext(0x48), ext(0x8D), ext(0x98)}},
    {0x49, {ext(0x49), ext(0x49), ext(0x84), ext(0x99)}},
    {0x4B, {ext(0x4B), ext(0x4B), ext(0x73), ext(0x9B)}},
    {0x4D, {ext(0x4D), ext(0x4D), ext(0x74), ext(0x9D)}},
    {0x4F, {ext(0x4F), ext(0x4F), ext(0x75), ext(0x9F)}},
    {0x50, {ext(0x50), ext(0x50), ext(0x91), ext(0xA0)}},
    {0x51, {ext(0x51), ext(0x51), ext(0x76), ext(0xA1)}},
    {0x52, {ext(0x52), ext(0x52), ext(0x92), ext(0xA2)}},
    {0x53, {ext(0x53), ext(0x53), ext(0x93), ext(0xA3)}},
}};

struct Modifiers {
  bool alt, ctrl, shift, enhanced;
};

Modifiers modifiers_of(uint32_t state) {
  return {(state & (KEY_STATE_LEFT_ALT | KEY_STATE_RIGHT_ALT)) != 0,
          (state & (KEY_STATE_LEFT_CTRL | KEY_STATE_RIGHT_CTRL)) != 0,
          (state & KEY_STATE_SHIFT) != 0, (state & KEY_STATE_ENHANCED) != 0};
}

int32_t modifier_column(const KeyRow& row, const Modifiers& m) {
  if (m.alt) return row.alt;
  if (m.ctrl) return row.ctrl;
  if (m.shift) return row.shift;
  return row.plain;
}

int32_t as_extended(int32_t value) {
  return (value & 0xFF00) | 255;
}

uint8_t swap_case(uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c - 'A' + 'a');
  return c;
}

}  // namespace

bool alt_only(uint32_t state) {
  Modifiers m = modifiers_of(state);
  return m.alt && !m.ctrl && !m.shift;
}

int32_t translate_key(uint8_t character, uint16_t scan_code, uint8_t unshifted,
                      uint32_t control_state) {
  Modifiers m = modifiers_of(control_state);
  if (character == 0 && m.enhanced) {
    for (const EnhancedRow& row : ENHANCED_TABLE) {
      if (row.scan != scan_code) continue;
      int32_t value = modifier_column(row.values, m);
      if (value == 0 && (m.alt || m.ctrl || m.shift)) return NO_TRANSLATION;
      return value <= 255 ? value : as_extended(value);
    }
    return NO_TRANSLATION;
  }
  if (scan_code <= MAIN_TABLE_LAST_SCAN) {
    const KeyRow& row = MAIN_TABLE[scan_code];
    int32_t value = m.alt || m.ctrl || m.shift ? modifier_column(row, m)
                    : character != 0           ? unshifted
                                               : row.plain;
    if (value > 255 && (character == unshifted || character == swap_case(unshifted))) {
      return as_extended(value);
    }
  }
  return character != 0 ? character : NO_TRANSLATION;
}

}  // namespace textscreen::detail
