// The print channel: text items with line ends and 14-column print zones, numbers and the
// clock as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen {

// Print masks.
constexpr int32_t PRINT_NEWLINE = 1;
constexpr int32_t PRINT_PAD = 2;
constexpr int32_t PRINT_NEWLINE_ALT = 4;

void print_string(int32_t file_number, std::string_view text, int32_t mask);
void print_void(int32_t file_number, int32_t mask);
void print_int(int32_t file_number, int32_t value, int32_t mask);
void print_single(int32_t file_number, float value, int32_t mask);
std::string time_string();  // "hh:mm:ss", local time
std::string date_string();  // "mm-dd-yyyy", local date, month first

}  // namespace textscreen
