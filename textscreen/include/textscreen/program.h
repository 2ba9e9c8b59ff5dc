// The start and end of a program that uses the layer.
#pragma once

#include <cstdint>
#include <string_view>

namespace textscreen {

// Answers the options every program knows, before anything else: --help (or -h) prints
// `usage`, --version the program's name and version, to standard output. True when one was
// answered: the program then ends with status 0, the screen untouched. Other arguments are
// left alone.
bool answer_command_line(int argc, char** argv, std::string_view usage);

// The first call of a program: hands the layer the devices of the process (the terminal it
// was started from, the clock, the speaker), sets up the arithmetic (64-bit significand,
// rounding to nearest) and lets the console turn Ctrl+C into a signal.
void layer_init(int argc, char** argv);
// The last call: shows what is still pending and ends the process with `status`, running
// the exit steps (the graphics close, the console control handler's removal).
[[noreturn]] void layer_end(int32_t status);

}  // namespace textscreen
