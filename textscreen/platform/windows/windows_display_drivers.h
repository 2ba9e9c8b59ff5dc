// The window drivers of a Windows process, in the order they are tried.
#pragma once

#include <span>

#include "platform/display_driver.h"

namespace textscreen::platform {

std::span<DisplayDriver* const> windows_display_drivers();

}  // namespace textscreen::platform
