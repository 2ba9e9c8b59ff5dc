// The SDL module is found where the programs are built, and its absence is no failure; its
// display drivers refuse what they cannot serve before they touch the display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "platform/sdl/sdl_display_proxy.h"
#include "platform/sdl/sdl_module_loader.h"
#include "support/no_host.h"

namespace textscreen::platform {
namespace {

using testing::NoHost;

TEST(SdlModule, TheModuleBesideTheProgramLoadsAndAFolderWithoutItGivesNone) {
  EXPECT_EQ(load_sdl_module("/nonexistent"), nullptr);
  EXPECT_EQ(load_sdl_module(""), nullptr);
  // The tests are built beside the programs, and so beside the module.
  const SdlModule* module = sdl_module();
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->version, SDL_MODULE_VERSION);
  EXPECT_NE(module->play_tone, nullptr);
}

TEST(SdlDisplayDrivers, EachRefusesTheOtherOnesFlags) {
  NoHost host;
  SdlDisplayProxy window(SdlDisplayProxy::Kind::window);
  SdlDisplayProxy opengl(SdlDisplayProxy::Kind::opengl);
  EXPECT_NE(window.open("t", 640, 480, 4, 0, MODE_OPENGL, host), 0);
  EXPECT_NE(opengl.open("t", 640, 480, 16, 0, 0, host), 0);
  EXPECT_NE(opengl.open("t", 640, 480, 16, 0, MODE_FULLSCREEN, host), 0);
  window.close();
  window.close();
  opengl.close();
}

// The window thread starts, finds no display to make its window on and ends: the opener is
// told so and the program carries on; closing after it is harmless. Displays are named that
// no server serves: an X11 one, and a Wayland one alone (SDL then falls back to drawing into
// memory, which is no window either).
TEST(SdlDisplayDrivers, AWindowThatCannotBeMadeFailsItsOpen) {
  const std::string kept[2] = {
      std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "",
      std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : ""};
  for (const auto& [x11, wayland] : {std::pair{":64999", ""}, std::pair{"", "wayland-64999"}}) {
    x11[0] != '\0' ? setenv("DISPLAY", x11, 1) : unsetenv("DISPLAY");
    wayland[0] != '\0' ? setenv("WAYLAND_DISPLAY", wayland, 1) : unsetenv("WAYLAND_DISPLAY");
    NoHost host;
    SdlDisplayProxy window(SdlDisplayProxy::Kind::window);
    EXPECT_NE(window.open("t", 640, 480, 4, 0, 0, host), 0) << x11 << wayland;
    window.close();
  }
  kept[0].empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", kept[0].c_str(), 1);
  kept[1].empty() ? unsetenv("WAYLAND_DISPLAY") : setenv("WAYLAND_DISPLAY", kept[1].c_str(), 1);
}

}  // namespace
}  // namespace textscreen::platform
