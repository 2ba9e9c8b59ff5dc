#include "graphics/ring_key_string.h"

namespace textscreen::detail {
namespace {

constexpr int32_t FIRST_LISTED_CODE = 256;
// The extended codes of codes 256 to 276: close, the cursor keys and their block, then
// F1 to F10.
constexpr char LISTED_CODES[] = "kHPKMRSGOIQ;<=>?@ABCD";
constexpr int32_t LAST_LISTED_CODE = FIRST_LISTED_CODE + sizeof(LISTED_CODES) - 2;
constexpr char BEYOND_THE_LIST = 'D';

char extended_code(int32_t code) {
  if ((code & 0xFF) == 0xFF) return static_cast<char>((code >> 8) & 0xFF);
  if (code >= FIRST_LISTED_CODE && code <= LAST_LISTED_CODE) {
    return LISTED_CODES[code - FIRST_LISTED_CODE];
  }
  return BEYOND_THE_LIST;
}

}  // namespace

std::string ring_key_string(int32_t code) {
  if (code == 0) return {};
  if (code < 256) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xFF), extended_code(code)};
}

}  // namespace textscreen::detail
