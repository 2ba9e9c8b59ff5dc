// The screen print channel: text items, the print column and the 14-column print zones.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen::detail {

constexpr int32_t SCREEN_FILE = 0;
constexpr int32_t PRINT_ZONE_WIDTH = 14;

// Writes the bytes through the channel and moves the print column past them.
void print_item_text(std::string_view bytes);
// The effect of a print mask after an item: a line end, or the pad to the next zone.
void apply_print_mask(int32_t mask);
// Whether a file number names an open channel; stores error 1 when not.
bool open_print_file(int32_t file_number);

}  // namespace textscreen::detail
