// The devices the layer works through. The platform hands them in when the process starts
// (and tests hand in their own); the layer never chooses or builds a device itself.
#pragma once

#include <span>

#include "platform/clock.h"
#include "platform/console_device.h"
#include "platform/display_driver.h"
#include "platform/speaker.h"

namespace textscreen::detail {

struct LayerDevices {
  platform::ConsoleDevice* console = nullptr;
  platform::Clock* clock = nullptr;
  platform::Speaker* speaker = nullptr;  // null: no tone, the console's bell instead
  // In the order they are tried; the list must outlive the layer.
  std::span<platform::DisplayDriver* const> display_drivers;
  // The full path of the program's file, which names its windows; must outlive the layer.
  // Null: the name the program was started by.
  const char* program_path = nullptr;
};

// Hands the layer its devices. Until then (and for any device left null) the layer has
// a console that is not there: output is dropped, no key arrives, waits take no time.
void install_devices(const LayerDevices& devices);
const LayerDevices& installed_devices();

platform::ConsoleDevice& console();
platform::Clock& clock();

}  // namespace textscreen::detail
