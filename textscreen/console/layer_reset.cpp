#include "console/layer_reset.h"

#include <algorithm>
#include <array>

#include "console/console_state.h"
#include "console/line_input.h"
#include "console/screen_state.h"

namespace textscreen::detail {
namespace {

constexpr size_t MAX_HALVES = 4;
std::array<HalfReset, MAX_HALVES> half_resets{reset_console_half};
size_t half_count = 1;

}  // namespace

void register_half_reset(HalfReset reset) {
  auto end = half_resets.begin() + static_cast<std::ptrdiff_t>(half_count);
  if (std::find(half_resets.begin(), end, reset) != end || half_count == MAX_HALVES) return;
  half_resets[half_count++] = reset;
}

void reset_layer(const LayerDevices& devices) {
  // Halves first: closing a graphics screen may still reach the old devices.
  for (size_t i = 0; i < half_count; ++i) half_resets[i]();
  screen_state() = ScreenState{};
  input_context() = InputContext{};
  install_devices(devices);
}

}  // namespace textscreen::detail
