#include "console/clock_text.h"

#include <cstdio>

namespace textscreen::detail {

// The fields are widened and the buffers have room for any int values, so even a stray
// std::tm gives whole text without overflow.
std::string clock_text(const std::tm& local) {
  char text[72];
  const int length =
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return std::string(text, static_cast<size_t>(length));
}

std::string date_text(const std::tm& local) {
  char text[72];
  const int length = std::snprintf(text, sizeof text, "%02lld-%02lld-%04lld", local.tm_mon + 1LL,
                                   static_cast<long long>(local.tm_mday), local.tm_year + 1900LL);
  return std::string(text, static_cast<size_t>(length));
}

}  // namespace textscreen::detail
