// The table of replaceable screen and keyboard operations. Empty slots mean the console
// implementations run; a graphics screen mode fills all of them and empties them again
// when the text mode returns. The order of the slots is fixed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen::detail {

struct ScreenHooks {
  std::string (*poll_key)() = nullptr;                                                        // 0
  int32_t (*wait_key)() = nullptr;                                                            // 1
  int32_t (*peek_key)() = nullptr;                                                            // 2
  void (*clear_screen)(int32_t mode) = nullptr;                                               // 3
  int32_t (*set_colors)(int32_t foreground, int32_t background) = nullptr;                    // 4
  int32_t (*move_cursor)(int32_t row, int32_t column, int32_t visibility) = nullptr;          // 5
  int32_t (*set_size)(int32_t columns, int32_t rows) = nullptr;                               // 6
  int32_t (*cursor_column)() = nullptr;                                                       // 7
  int32_t (*cursor_row)() = nullptr;                                                          // 8
  void (*cursor_position)(int32_t* column, int32_t* row) = nullptr;                           // 9
  void (*screen_size)(int32_t* columns, int32_t* rows) = nullptr;                             // 10
  void (*write_text)(const uint8_t* bytes, int32_t length, int32_t mask) = nullptr;           // 11
  void (*write_wide_text)(const uint16_t* units, int32_t length, int32_t mask) = nullptr;     // 12
  std::string (*read_text)(int32_t length) = nullptr;                                         // 13
  int32_t (*key_down)(int32_t scan_code) = nullptr;                                           // 14
  int32_t (*read_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons) = nullptr;  // 15
  int32_t (*move_mouse)(int32_t x, int32_t y, int32_t shown) = nullptr;                       // 16
  int32_t (*port_read)(int32_t port) = nullptr;                                               // 17
  void (*port_write)(int32_t port, int32_t value) = nullptr;                                  // 18
  void (*view_changed)() = nullptr;                                                           // 19
  int32_t (*read_line)(std::string_view prompt, std::string* destination, int32_t destination_size,
                       int32_t fill, int32_t add_question,
                       int32_t add_newline) = nullptr;  // 20
  int32_t (*read_wide_line)(std::u16string_view prompt, std::u16string* destination,
                            int32_t destination_size, int32_t fill, int32_t add_question,
                            int32_t add_newline) = nullptr;                        // 21
  int32_t (*cell_at)(int32_t column, int32_t row, int32_t want_colour) = nullptr;  // 22
  void (*wait)(int32_t milliseconds) = nullptr;                                    // 23
};

constexpr int SCREEN_HOOK_SLOTS = 24;
static_assert(sizeof(ScreenHooks) == SCREEN_HOOK_SLOTS * sizeof(void*),
              "the hook table has exactly its 24 slots");

}  // namespace textscreen::detail
