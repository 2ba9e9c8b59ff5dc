// The frame lock between the program's thread, drawing and reading keys, and a window
// thread that presents the frame and types keys, as a window driver's does.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "console/layer_reset.h"
#include "graphics/graphics_screen.h"
#include "graphics/null_driver.h"
#include "platform/memory/memory_console.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {
namespace {

// A driver whose window thread, every cycle under the frame lock, checks that the frame's
// first cell shows one whole glyph of the two the program keeps drawing there, clears the
// dirty flags and types a key now and then.
// The Null driver's do-nothing operations, with the ones under test replaced.
class ThreadedDriver final : public detail::NullDriver {
 public:
  int32_t open(std::string_view, int32_t, int32_t, int32_t, int32_t, int32_t,
               platform::DisplayHost& host) override {
    host_ = &host;
    running_ = true;
    thread_ = std::thread([this] { run(); });
    return 0;
  }
  void close() override {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  void lock() override { mutex_.lock(); }
  void unlock() override { mutex_.unlock(); }

  std::atomic<int> torn_glyphs{0};
  std::atomic<int> cycles{0};
  const uint8_t* glyph_a = nullptr;
  const uint8_t* glyph_b = nullptr;

 private:
  void run() {
    while (running_) {
      {
        std::lock_guard lock(mutex_);
        platform::FrameView frame = host_->frame();
        check_first_cell(frame);
        std::memset(frame.dirty, 0, static_cast<size_t>(frame.height));
        if (cycles % 5 == 0) host_->character_typed('k', 1);
      }
      ++cycles;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }

  void check_first_cell(const platform::FrameView& frame) {
    if (glyph_a == nullptr) return;
    uint8_t shape[16] = {};
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 8; ++x) shape[y] |= (frame.pixels[y * frame.pitch + x] != 0) << x;
    }
    if (std::memcmp(shape, glyph_a, 16) != 0 && std::memcmp(shape, glyph_b, 16) != 0) {
      ++torn_glyphs;
    }
  }

  platform::DisplayHost* host_ = nullptr;
  std::mutex mutex_;
  std::thread thread_;
  std::atomic<bool> running_{false};
};

TEST(FrameLockThreads, TheWindowThreadNeverSeesAHalfDrawnGlyph) {
  platform::MemoryConsole console(80, 25);
  ThreadedDriver driver;
  platform::DisplayDriver* drivers[] = {&driver};
  unsetenv("VXGFX");
  detail::reset_layer({&console, nullptr, nullptr, drivers});
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  {
    detail::GraphicsScreen& g = *detail::graphics_screen();
    std::lock_guard<ThreadedDriver> lock(driver);
    driver.glyph_a = g.font.glyphs + 'A' * 16;
    driver.glyph_b = g.font.glyphs + 'M' * 16;
  }
  int keys = 0;
  for (int i = 0; i < 2000 || driver.cycles < 20; ++i) {
    screen_locate(1, 1, -1);
    write_text(i % 2 == 0 ? "A" : "M", 0);
    if (key_poll() == "k") ++keys;
  }
  detail::reset_layer({});
  EXPECT_EQ(driver.torn_glyphs, 0);
  EXPECT_GT(keys, 0);
}

}  // namespace
}  // namespace textscreen::testing
