// Which display driver shows a new graphics screen: the drivers are tried in their list
// order, each twice (with the wished refresh rate, then any), over passes that the
// environment's "VXGFX" and the flags shape. The Null driver is never tried in a pass: it
// is chosen only by name or by the flags -1.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/display_driver.h"

namespace textscreen::detail {

struct DriverRequest {
  std::string_view title;
  int32_t width = 0;
  int32_t height = 0;  // display lines: the frame's height times its line scale
  int32_t depth = 0;
  int32_t refresh = 0;
  int32_t flags = 0;
  // Only the driver that "VXGFX" names is tried: a scripted run (keys from a pipe or a
  // file) opens no window nobody asked for and carries on in the console.
  bool named_only = false;
};

// The driver whose `open` succeeded, or null when none did (every failed one was closed).
// `named` is the value of "VXGFX" (empty when unset).
platform::DisplayDriver* choose_driver(std::span<platform::DisplayDriver* const> drivers,
                                       platform::DisplayDriver& null_driver, std::string_view named,
                                       const DriverRequest& request, platform::DisplayHost& host);

}  // namespace textscreen::detail
