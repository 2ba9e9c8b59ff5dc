// The text forms of the clock that time_string and date_string return.
#pragma once

#include <ctime>
#include <string>

namespace textscreen::detail {

// "hh:mm:ss" of the local time, two digits each (8 bytes).
std::string clock_text(const std::tm& local);

// "mm-dd-yyyy" of the local date, month first (10 bytes).
std::string date_text(const std::tm& local);

}  // namespace textscreen::detail
