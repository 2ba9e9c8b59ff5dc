// The SDL module is found where the programs are built, and its absence is no failure; its
// display drivers refuse what they cannot serve before they touch the display.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_display_proxy.h"
#include "platform/sdl/sdl_module_loader.h"
#include "support/no_host.h"

namespace textscreen::platform {
namespace {

using testing::NoHost;

TEST(SdlModule, AFolderWithoutTheModuleGivesNone) {
  EXPECT_EQ(load_sdl_module("/nonexistent"), nullptr);
  EXPECT_EQ(load_sdl_module(""), nullptr);
}

TEST(SdlModule, TheModuleBesideTheProgramLoads) {
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
  EXPECT_EQ(window.name(), "SDL");
  EXPECT_EQ(opengl.name(), "OpenGL");
  EXPECT_NE(window.open("t", 640, 480, 4, 0, MODE_OPENGL, host), 0);
  EXPECT_NE(opengl.open("t", 640, 480, 16, 0, 0, host), 0);
  EXPECT_NE(opengl.open("t", 640, 480, 16, 0, MODE_FULLSCREEN, host), 0);
  window.close();
  window.close();
  opengl.close();
}

}  // namespace
}  // namespace textscreen::platform
