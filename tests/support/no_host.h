// A display host that is never called on: for driver tests whose opens fail or never reach
// a window.
#pragma once

#include "platform/display_driver.h"

namespace textscreen::testing {

class NoHost final : public platform::DisplayHost {
 public:
  platform::FrameView frame() override { return {}; }
  uint8_t* key_states() override { return nullptr; }
  bool key_pressed(const platform::WindowKeyEvent&) override { return false; }
  void character_typed(uint8_t, uint16_t) override {}
  int32_t key_room() override { return 0; }
  void close_requested() override {}
  void activation_changed(bool) override {}
  void display_lost() override {}
};

}  // namespace textscreen::testing
