// The display drivers of a process started from a POSIX terminal, in the order they are
// tried. Tests that want the real window or OpenGL hand them to the layer themselves.
#pragma once

#include <span>

#include "platform/display_driver.h"

namespace textscreen::platform {

std::span<DisplayDriver* const> process_display_drivers();

}  // namespace textscreen::platform
