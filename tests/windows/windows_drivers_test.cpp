// The window drivers of a Windows process, opened for real where a display answers (the
// tests run under Wine with an X server): which driver a calculation screen gets.
#include <gtest/gtest.h>

#include <string>

#include "console/layer_reset.h"
#include "graphics/graphics_screen.h"
#include "platform/memory/memory_console.h"
#include "platform/system_clock.h"
#include "platform/windows/windows_api.h"
#include "platform/windows/windows_display_drivers.h"
#include "support/environment.h"
#include "textscreen/keyboard.h"
#include "textscreen/screen_mode.h"

namespace textscreen::testing {
namespace {

class WindowsDriversTest : public ::testing::Test {
 protected:
  WindowsDriversTest() : console_(80, 25) {
    detail::reset_layer(
        {&console_, &clock_, nullptr, platform::windows_display_drivers(), "windows_tests.exe"});
  }
  ~WindowsDriversTest() override {
    unset_environment("VXGFX");
    detail::reset_layer({});
  }

  // The driver a mode-12 screen got with `flags`, "" when none; the window is closed again.
  static std::string driver_for(int32_t flags, HWND* window = nullptr) {
    screen_mode(12, 8, 0, flags, 0);
    const detail::GraphicsScreen* screen = detail::graphics_screen();
    std::string name;
    if (screen != nullptr && screen->driver != nullptr) name = std::string(screen->driver->name());
    if (window != nullptr) *window = FindWindowW(L"vxgfxclass_windows_tests", nullptr);
    return name;
  }

  platform::MemoryConsole console_;
  platform::SystemClock clock_;
};

TEST_F(WindowsDriversTest, DirectXFirstAndGdiByName) {
  HWND window = nullptr;
  EXPECT_EQ(driver_for(0, &window), "DirectX");
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  // The maximise box is DirectX's way to the whole screen; GDI has none.
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  screen_mode(12, 8, 0, detail::MODE_NO_SWITCH, 0);
  window = FindWindowW(L"vxgfxclass_windows_tests", nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_MAXIMIZEBOX, 0);

  // OpenGL when asked for: the other two refuse it.
  EXPECT_EQ(driver_for(detail::MODE_OPENGL), "OpenGL");

  set_environment("VXGFX", "gdi");
  EXPECT_EQ(driver_for(0, &window), "GDI");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  set_environment("VXGFX", "null");
  EXPECT_EQ(driver_for(0), "Null");
}

// A display that refuses the mode change (an X server without mode switching, as here) fails
// DirectX's full-screen open, GDI has none, and the last pass gives the first window.
TEST_F(WindowsDriversTest, AFullScreenTheDisplayRefusesEndsInAWindow) {
  HWND window = nullptr;
  EXPECT_EQ(driver_for(detail::MODE_FULLSCREEN, &window), "DirectX");
  ASSERT_NE(window, nullptr);
  EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
}

// The close and the maximise box, as another thread sends them: the window stays and the
// program gets the close key; the maximise box switches (the whole screen refused here, the
// window comes back as it was).
TEST_F(WindowsDriversTest, TheCloseAndTheMaximiseBoxSentFromAnotherThreadReachTheProgram) {
  HWND window = nullptr;
  ASSERT_EQ(driver_for(0, &window), "DirectX");
  ASSERT_NE(window, nullptr);
  for (int round = 0; round < 3; ++round) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, &result);
    std::string key;
    for (int look = 0; look < 100 && key.empty(); ++look) {
      key = key_poll();
      if (key.empty()) Sleep(10);
    }
    EXPECT_EQ(key, std::string("\xFF") + "k") << round;
    EXPECT_TRUE(IsWindow(window)) << round;
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0, SMTO_BLOCK, 5000, &result);
  // A window of the frame's size replaces it (a full-screen one comes and goes between).
  RECT client{};
  HWND again = nullptr;
  for (int look = 0; look < 300; ++look) {
    Sleep(10);
    again = FindWindowW(L"vxgfxclass_windows_tests", nullptr);
    if (again != nullptr && again != window && GetClientRect(again, &client) &&
        client.right == 640 && client.bottom == 480) {
      break;
    }
  }
  EXPECT_NE(again, window);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace textscreen::testing
