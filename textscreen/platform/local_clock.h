// The local calendar time of the machine.
#pragma once

#include <ctime>

namespace textscreen::platform {

std::tm local_time_now();

}  // namespace textscreen::platform
