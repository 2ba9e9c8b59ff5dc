#include <cstdio>
#include <string>

#include "textscreen/program.h"

namespace textscreen {
namespace {

constexpr int USAGE_ERROR = 2;

void write_all(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// The name the program was started by, without its folder.
std::string_view program_name(char** argv) {
  std::string_view name = argv != nullptr && argv[0] != nullptr ? argv[0] : "";
  const size_t slash = name.rfind('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  return name;
}

}  // namespace

std::optional<int> answer_command_line(int argc, char** argv, std::string_view usage) {
  if (argc < 2 || argv == nullptr) return std::nullopt;
  const std::string_view argument = argv[1] != nullptr ? argv[1] : "";
  if (argument == "--help" || argument == "-h") {
    write_all(stdout, usage);
    return 0;
  }
  if (argument == "--version") {
    write_all(stdout, std::string(program_name(argv)) + " " + TEXTSCREEN_VERSION + "\n");
    return 0;
  }
  const bool option = argument.starts_with('-');
  write_all(stderr, std::string(program_name(argv)) +
                        (option ? ": unknown option '" : ": unexpected argument '") +
                        std::string(argument) + "'\n" + std::string(usage));
  return USAGE_ERROR;
}

}  // namespace textscreen
