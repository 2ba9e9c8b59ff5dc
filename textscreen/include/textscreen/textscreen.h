// textscreen: text screens for small interactive programs.
//
// The programs call these operations on their one thread. Until a graphics screen mode is
// set they act on the console the program was started from; afterwards on the graphics
// window. Rows and columns are 1-based; 0 keeps a coordinate; a negative colour keeps that
// colour. Operations that can fail return an error number and store it as the last error:
// 0 success, 1 illegal argument or call, 4 no room for the typed line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen {

// Print masks.
constexpr int32_t PRINT_NEWLINE = 1;
constexpr int32_t PRINT_PAD = 2;
constexpr int32_t PRINT_NEWLINE_ALT = 4;
// Write mask: act even on an empty text (settles a pending line feed).
constexpr int32_t WRITE_FORCE = 8;

// The value that stands for an omitted argument of screen_cls.
constexpr int32_t DEFAULT_MODE = -65536;

// The key code of a window close, console close, logoff or shutdown ("\xFF" "k").
constexpr int32_t CLOSE_KEY = 0x6BFF;

// Error numbers.
constexpr int32_t ERROR_NONE = 0;
constexpr int32_t ERROR_ILLEGAL_CALL = 1;
constexpr int32_t ERROR_NO_ROOM = 4;

// Program start and end.
void layer_init(int argc, char** argv);
[[noreturn]] void layer_end(int32_t status);

// The text screen.
void screen_cls(int32_t mode);
int32_t screen_color(int32_t foreground, int32_t background);
int32_t screen_locate(int32_t row, int32_t column, int32_t visibility);
int32_t screen_view_print(int32_t top, int32_t bottom);
int32_t screen_width(int32_t columns, int32_t rows);
void print_string(int32_t file_number, std::string_view text, int32_t mask);
void print_void(int32_t file_number, int32_t mask);
void write_text(std::string_view bytes, int32_t write_mask);
int32_t last_error();

// The keyboard.
std::string key_poll();
void sleep_wait(int32_t milliseconds);
void beep();

}  // namespace textscreen

namespace textscreen {

// Line input: shows the prompt (and "? " when asked), lets the user type one line and keeps
// it for input_int and input_single, which take its fields one after another.
int32_t input_prompt(std::string_view prompt, int32_t add_question, int32_t add_newline);
void input_int(int32_t& value);
void input_single(float& value);

// Numbers and the clock as text.
void print_int(int32_t file_number, int32_t value, int32_t mask);
void print_single(int32_t file_number, float value, int32_t mask);
std::string time_string();  // "hh:mm:ss", local time
std::string date_string();  // "mm-dd-yyyy", local date, month first

// Screen modes: 0 is the console; 1-21 are graphics screens (mode 12: 640x480, 80x30 text
// cells of 8x16). When no graphics screen can be opened the program stays on the console.
void screen_mode(int32_t mode, int32_t depth, int32_t pages, int32_t flags, int32_t refresh);

}  // namespace textscreen
