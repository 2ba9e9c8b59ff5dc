#include "graphics/driver_choice.h"

#include <algorithm>
#include <cctype>

#include "graphics/graphics_screen.h"

namespace textscreen::detail {
namespace {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

class Attempts {
 public:
  Attempts(const DriverRequest& request, platform::DisplayHost& host)
      : request_(request), host_(host) {}

  // One driver, with the wished refresh rate and then with any.
  bool open(platform::DisplayDriver& driver, int32_t flags) {
    for (int32_t refresh : {request_.refresh, 0}) {
      if (driver.open(request_.title, request_.width, request_.height, request_.depth, refresh,
                      flags, host_) == 0) {
        return true;
      }
      driver.close();
    }
    return false;
  }

  platform::DisplayDriver* open_any(std::span<platform::DisplayDriver* const> drivers,
                                    int32_t flags) {
    for (platform::DisplayDriver* driver : drivers) {
      if (open(*driver, flags)) return driver;
    }
    return nullptr;
  }

 private:
  const DriverRequest& request_;
  platform::DisplayHost& host_;
};

}  // namespace

platform::DisplayDriver* choose_driver(std::span<platform::DisplayDriver* const> drivers,
                                       platform::DisplayDriver& null_driver, std::string_view named,
                                       const DriverRequest& request, platform::DisplayHost& host) {
  Attempts attempts(request, host);
  const int32_t flags = request.flags;
  if (flags == MODE_NULL_DRIVER || same_name(named, "null")) {
    return attempts.open(null_driver, flags) ? &null_driver : nullptr;
  }
  auto match = std::find_if(drivers.begin(), drivers.end(), [&](platform::DisplayDriver* d) {
    return !named.empty() && same_name(d->name(), named);
  });
  platform::DisplayDriver* chosen = match == drivers.end() ? nullptr : *match;
  if (request.named_only)
    return chosen != nullptr && attempts.open(*chosen, flags) ? chosen : nullptr;
  if (chosen != nullptr && attempts.open(*chosen, flags)) return chosen;
  if (auto* driver = attempts.open_any(drivers, flags)) return driver;
  if (chosen != nullptr && attempts.open(*chosen, flags)) return chosen;
  return attempts.open_any(drivers, flags ^ MODE_FULLSCREEN);
}

}  // namespace textscreen::detail
