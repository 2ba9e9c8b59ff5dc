#include <cstdio>
#include <string>

#include "textscreen/program.h"

namespace textscreen {

bool answer_command_line(int argc, char** argv, std::string_view usage) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
    std::string text;
    if (argument == "--help" || argument == "-h") {
      text = usage;
    } else if (argument == "--version") {
      std::string_view name = argv[0] != nullptr ? argv[0] : "";
      name.remove_prefix(name.rfind('/') == std::string_view::npos ? 0 : name.rfind('/') + 1);
      text = std::string(name) + " " + TEXTSCREEN_VERSION + "\n";
    } else {
      continue;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  return false;
}

}  // namespace textscreen
