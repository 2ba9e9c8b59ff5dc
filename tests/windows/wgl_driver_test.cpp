// The OpenGL driver of Windows, opened for real where a display answers (the tests run under
// Wine with an X server): the program's own drawing shown by `flip`, the window's messages
// handled there, the pointer hidden and shown by the message any program may send, and nothing
// left behind by `close`.
#include "platform/windows/wgl_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/windows/windows_api.h"

namespace textscreen::platform {
namespace {

// The host as the OpenGL driver meets it: typed characters and the close box recorded.
class RecordingHost final : public DisplayHost {
 public:
  FrameView frame() override { return {}; }
  uint8_t* key_states() override { return key_states_.data(); }
  bool key_pressed(const WindowKeyEvent&) override { return false; }
  void character_typed(uint8_t character, uint16_t repeat_count) override {
    typed.append(repeat_count, static_cast<char>(character));
  }
  int32_t key_room() override { return 15; }
  void close_requested() override { ++close_requests; }
  void activation_changed(bool) override {}
  void display_lost() override { ++losses; }

  std::string typed;
  int close_requests = 0;
  int losses = 0;

 private:
  std::array<uint8_t, 128> key_states_{};
};

// The few OpenGL calls the test draws and reads back with, from the library the driver uses.
struct Gl {
  using ClearColor = void(WINAPI*)(float, float, float, float);
  using Clear = void(WINAPI*)(unsigned);
  using CurrentContext = HGLRC(WINAPI*)();

  Gl() : library(LoadLibraryW(L"opengl32.dll")) {}
  ~Gl() { FreeLibrary(library); }
  template <typename Function>
  Function get(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  }
  HGLRC current_context() const { return get<CurrentContext>("wglGetCurrentContext")(); }

  HMODULE library;
};

bool pointer_shown() {
  CURSORINFO pointer{};
  pointer.cbSize = sizeof pointer;
  return GetCursorInfo(&pointer) && (pointer.flags & CURSOR_SHOWING) != 0;
}

constexpr unsigned GL_COLOR_BUFFER_BIT = 0x4000;

TEST(WglDriver, OnlyWhenAskedFor) {
  RecordingHost host;
  WglDriver driver;
  EXPECT_NE(driver.open("t", 640, 480, 16, 0, 0, host), 0);
  EXPECT_EQ(FindWindowW(L"vxgfxclass_t", nullptr), nullptr);
  driver.close();
  driver.flip();  // nothing open: nothing happens
}

TEST(WglDriver, TheProgramsDrawingIsShownAndTheWindowsMessagesHandledAtEachFlip) {
  RecordingHost host;
  WglDriver driver;
  const Gl gl;
  ASSERT_NE(gl.library, nullptr);
  ASSERT_EQ(driver.open("gl window", 640, 480, 32, 0, MODE_OPENGL, host), 0);
  HWND window = FindWindowW(L"vxgfxclass_gl window", nullptr);
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  ASSERT_NE(gl.current_context(), nullptr);

  // A red frame drawn by the program reaches the screen with a flip (once the window is
  // there: the test looks for a while).
  POINT middle{320, 240};
  ClientToScreen(window, &middle);
  COLORREF shown = 0;
  for (int flips = 0; flips < 100 && shown != RGB(255, 0, 0); ++flips) {
    gl.get<Gl::ClearColor>("glClearColor")(1.0f, 0.0f, 0.0f, 1.0f);
    gl.get<Gl::Clear>("glClear")(GL_COLOR_BUFFER_BIT);
    driver.flip();
    Sleep(20);
    HDC screen = GetDC(nullptr);
    shown = GetPixel(screen, middle.x, middle.y);
    ReleaseDC(nullptr, screen);
  }
  EXPECT_EQ(shown, RGB(255, 0, 0));

  // Typed characters and the close box reach the host at the next flip, not before; the
  // window stays.
  PostMessageW(window, WM_CHAR, L'a', 1);
  PostMessageW(window, WM_CHAR, 0x0105, 1);  // ą: not in code page 437, the bare letter
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.typed, "");
  driver.flip();
  EXPECT_EQ(host.typed, "aa");
  EXPECT_EQ(host.close_requests, 1);
  EXPECT_TRUE(IsWindow(window));

  // The registered message hides and shows the pointer; the window gives it back shown.
  const UINT pointer_message = RegisterWindowMessageW(L"VX mouse cursor");
  SendMessageW(window, pointer_message, 0, 0);
  EXPECT_FALSE(pointer_shown());
  SendMessageW(window, pointer_message, 1, 0);
  EXPECT_TRUE(pointer_shown());
  SendMessageW(window, pointer_message, 0, 0);

  driver.close();
  EXPECT_TRUE(pointer_shown());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(gl.current_context(), nullptr);
  driver.close();
  EXPECT_EQ(host.losses, 0);
}

}  // namespace
}  // namespace textscreen::platform
