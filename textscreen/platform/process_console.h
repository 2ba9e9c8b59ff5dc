// The console of this process: the terminal it was started from.
#pragma once

#include "console_device.h"

namespace textscreen::platform {

ConsoleDevice& process_console();

}  // namespace textscreen::platform
