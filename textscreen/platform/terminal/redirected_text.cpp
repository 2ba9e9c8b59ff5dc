#include "platform/terminal/redirected_text.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "platform/code_pages.h"

namespace textscreen::platform {

bool locale_is_utf8() {
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return false;
  const char* codeset = nl_langinfo_l(CODESET, user);
  const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
  freelocale(user);
  return utf8;
}

std::string utf8_of_code_page_852(const uint8_t* bytes, size_t count) {
  std::string text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (bytes[i] < 0x80) {
      text.push_back(static_cast<char>(bytes[i]));
    } else {
      append_utf8(text, code_point_of(CodePage::cp852, bytes[i]));
    }
  }
  return text;
}

}  // namespace textscreen::platform
