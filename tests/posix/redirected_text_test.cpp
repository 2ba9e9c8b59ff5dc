// Text for a file or a pipe: the characters a terminal would show, as UTF-8 where the
// locale says so.
#include "platform/terminal/redirected_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace textscreen::platform {
namespace {

TEST(RedirectedText, CodePage852BytesBecomeTheirCharactersAndAsciiAndControlsStay) {
  const std::string bytes = "\r\n\tA~\x7F\x8A\xA5\xFE";
  EXPECT_EQ(utf8_of_code_page_852(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
            "\r\n\tA~\x7F\xC5\x90\xC4\x85\xE2\x96\xA0");  // Ő ą ■
}

TEST(RedirectedText, TheLocaleDecides) {
  const char* saved = std::getenv("LC_ALL");
  const std::string kept = saved != nullptr ? saved : "";
  for (auto [locale, utf8] : {std::pair{"C.UTF-8", true}, {"C", false}, {"POSIX", false}}) {
    setenv("LC_ALL", locale, 1);
    EXPECT_EQ(locale_is_utf8(), utf8) << locale;
  }
  if (saved != nullptr) {
    setenv("LC_ALL", kept.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

}  // namespace
}  // namespace textscreen::platform
