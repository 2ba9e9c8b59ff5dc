// The start and end of a program that uses the layer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace textscreen {

// Answers the command line before anything else, the screen untouched. --help (or -h)
// prints `usage` and --version the program's name and version to standard output: the
// program then ends with status 0. Any other argument (the programs take none) prints what
// was wrong and `usage` to standard error: the program ends with status 2. Returns the
// status to end with, or nothing when there were no arguments and the program is to run.
std::optional<int> answer_command_line(int argc, char** argv, std::string_view usage);

// The first call of a program: hands the layer the devices of the process (the terminal it
// was started from, the clock, the speaker), sets up the arithmetic (64-bit significand,
// rounding to nearest) and lets the console turn Ctrl+C into a signal.
void layer_init(int argc, char** argv);
// The last call: shows what is still pending and ends the process with `status`, running
// the exit steps (the graphics close, the console control handler's removal).
[[noreturn]] void layer_end(int32_t status);

}  // namespace textscreen
