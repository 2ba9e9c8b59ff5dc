// The OpenGL driver opened for real through the process's driver list, on the display named
// by DISPLAY (tests/e2e/test_window.sh runs it under Xvfb with Mesa's software GL).
// Without a display there is nothing to open, and the test is skipped.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>

#include "console/layer_reset.h"
#include "graphics/graphics_screen.h"
#include "platform/memory/memory_console.h"
#include "platform/system/process_display_drivers.h"
#include "support/scripted_clock.h"
#include "textscreen/screen_mode.h"

namespace textscreen {
namespace {

// The few GL calls a program makes into the driver's context, found through the SDL that
// the driver's module loaded (the tests themselves do not link SDL or GL).
struct GlCalls {
  void* (*current_context)() = nullptr;
  void (*clear_colour)(float, float, float, float) = nullptr;
  void (*clear)(unsigned) = nullptr;
  void (*read_pixels)(int, int, int, int, unsigned, unsigned, void*) = nullptr;

  bool found() {
    void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (sdl == nullptr) return false;
    current_context = reinterpret_cast<void* (*)()>(dlsym(sdl, "SDL_GL_GetCurrentContext"));
    auto address = reinterpret_cast<void* (*)(const char*)>(dlsym(sdl, "SDL_GL_GetProcAddress"));
    if (address != nullptr) {
      clear_colour = reinterpret_cast<decltype(clear_colour)>(address("glClearColor"));
      clear = reinterpret_cast<decltype(clear)>(address("glClear"));
      read_pixels = reinterpret_cast<decltype(read_pixels)>(address("glReadPixels"));
    }
    dlclose(sdl);
    return current_context && clear_colour && clear && read_pixels;
  }
};

constexpr unsigned GL_COLOR_BUFFER_BIT = 0x4000;
constexpr unsigned GL_RGBA = 0x1908;
constexpr unsigned GL_UNSIGNED_BYTE = 0x1401;

class OpenGlDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "no display to open on";
    detail::reset_layer({&console_, &clock_, nullptr, platform::process_display_drivers()});
  }
  void TearDown() override { detail::reset_layer({}); }

  platform::MemoryConsole console_{80, 25, 0};
  testing::ScriptedClock clock_;
};

TEST_F(OpenGlDriver, OpensAContextTheProgramDrawsIntoAndFlips) {
  screen_mode(12, 0, 0, platform::MODE_OPENGL, 0);
  detail::GraphicsScreen* g = detail::graphics_screen();
  ASSERT_NE(g, nullptr) << "no driver opened mode 12 with OpenGL";
  EXPECT_EQ(g->driver->name(), "OpenGL");
  // OpenGL raises a 4-bit mode to 16 bits.
  EXPECT_EQ(std::make_tuple(g->width, g->height, g->depth), std::make_tuple(640, 480, 16));

  GlCalls gl;
  ASSERT_TRUE(gl.found());
  EXPECT_NE(gl.current_context(), nullptr);
  for (int frame = 0; frame < 3; ++frame) {
    gl.clear_colour(1, 0, 0, 1);
    gl.clear(GL_COLOR_BUFFER_BIT);
    std::array<unsigned char, 4> pixel{};
    gl.read_pixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    EXPECT_EQ(pixel, (std::array<unsigned char, 4>{255, 0, 0, 255}));
    g->driver->flip();
  }

  screen_mode(0, 0, 0, 0, 0);
  EXPECT_FALSE(detail::graphics_screen_open());
  EXPECT_EQ(gl.current_context(), nullptr);
}

}  // namespace
}  // namespace textscreen
