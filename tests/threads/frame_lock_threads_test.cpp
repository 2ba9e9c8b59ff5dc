// The frame lock between the program's thread, drawing and reading keys, and the window
// thread that converts the frame and types keys.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "console/layer_reset.h"
#include "fake_window_backend.h"
#include "graphics/graphics_screen.h"
#include "platform/memory/memory_console.h"
#include "platform/window/window_thread_driver.h"
#include "support/environment.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {
namespace {

// The window thread over a backend without a window: every upload gets the lines the
// thread converted under the frame lock, so the first cell must show one whole glyph of
// the two the program keeps drawing there; every fifth pump types a key.
struct Glyphs {
  std::atomic<const uint8_t*> a{nullptr};
  std::atomic<const uint8_t*> b{nullptr};
  std::atomic<int> torn{0};
  std::atomic<int> uploads{0};

  void check_first_cell(const uint32_t* display, platform::DisplayLines lines) {
    ++uploads;
    if (a == nullptr || lines.first > 0 || lines.end < 16) return;
    uint8_t shape[16] = {};
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 8; ++x) shape[y] |= (display[y * 640 + x] != 0xFF000000u) << x;
    }
    // Blank before the program's first drawing.
    static constexpr uint8_t BLANK[16] = {};
    if (std::memcmp(shape, a.load(), 16) != 0 && std::memcmp(shape, b.load(), 16) != 0 &&
        std::memcmp(shape, BLANK, 16) != 0) {
      ++torn;
    }
  }
};

TEST(FrameLockThreads, TheWindowThreadNeverSeesAHalfDrawnGlyph) {
  platform::MemoryConsole console(80, 25);
  auto backend = std::make_unique<FakeWindowBackend>();
  Glyphs glyphs;
  int pumps = 0;
  backend->on_upload = [&](const uint32_t* display, platform::DisplayLines lines) {
    glyphs.check_first_cell(display, lines);
  };
  backend->on_pump = [&](platform::WindowEventSink& sink) {
    if (pumps++ % 5 == 0) sink.text_typed("k");
  };
  platform::WindowThreadDriver driver("fake", std::move(backend));
  platform::DisplayDriver* drivers[] = {&driver};
  unset_environment("VXGFX");
  detail::reset_layer({&console, nullptr, nullptr, drivers});
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  {
    const detail::GraphicsScreen& g = *detail::graphics_screen();
    glyphs.a = g.font.glyphs + 'A' * 16;
    glyphs.b = g.font.glyphs + 'M' * 16;
  }
  int keys = 0;
  for (int i = 0; i < 2000 || glyphs.uploads < 20; ++i) {
    screen_locate(1, 1, -1);
    write_text(i % 2 == 0 ? "A" : "M", 0);
    if (key_poll() == "k") ++keys;
  }
  detail::reset_layer({});
  EXPECT_EQ(glyphs.torn, 0);
  EXPECT_GT(keys, 0);
}

}  // namespace
}  // namespace textscreen::testing
