// The SDL module is found where the programs are built, and its absence is no failure.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_module_loader.h"

namespace textscreen::platform {
namespace {

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

}  // namespace
}  // namespace textscreen::platform
