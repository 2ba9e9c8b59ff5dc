// Putting the whole layer back to the state of a fresh process, for tests and benchmarks.
// Each half of the layer resets its own state; the graphics half registers its reset when
// it first builds state, so this file needs to know nothing of it.
#pragma once

#include "console/layer_devices.h"

namespace textscreen::detail {

using HalfReset = void (*)();

// Adds a half's reset, once; later calls with the same reset do nothing.
void register_half_reset(HalfReset reset);

// The shared text state, the typed line, every half's state and the devices: as a fresh
// process that has been handed `devices`.
void reset_layer(const LayerDevices& devices);

}  // namespace textscreen::detail
