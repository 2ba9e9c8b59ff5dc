// The window thread every window driver shares, run for real over a backend without a
// window: the open and close handshake, requests carried out on the thread, the frame lock
// against presenting, and what wakes the thread (and that nothing else does).
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "console/layer_reset.h"
#include "fake_window_backend.h"
#include "graphics/graphics_screen.h"
#include "platform/memory/memory_console.h"
#include "platform/window/window_thread_driver.h"
#include "support/environment.h"
#include "textscreen/textscreen.h"

namespace textscreen::testing {
namespace {

using platform::WindowThreadDriver;
using Kind = FakeWindowBackend::Event::Kind;

// Waits (a few seconds at most) until `done` holds; its result is the test's to check.
template <typename Condition>
bool eventually(Condition done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A frame of four lines and a key ring of as much room as the test gives it. Called by the
// window thread under the frame lock; the test reads it under the lock too.
class FakeHost final : public platform::DisplayHost {
 public:
  platform::FrameView frame() override {
    return {pixels.data(), 8, 8, 4, 8, 1, dirty.data(), palette.data()};
  }
  uint8_t* key_states() override { return states.data(); }
  bool key_pressed(const platform::WindowKeyEvent& key) override {
    typed += static_cast<char>(key.character);
    return false;
  }
  void character_typed(uint8_t character, uint16_t) override {
    typed += static_cast<char>(character);
    --room;
  }
  int32_t key_room() override { return room; }
  void close_requested() override { ++closes; }
  void activation_changed(bool) override {}
  void display_lost() override {}

  std::array<uint8_t, 32> pixels{};
  std::array<uint8_t, 4> dirty{};
  std::array<uint32_t, 256> palette{};
  std::array<uint8_t, 128> states{};
  std::string typed;
  int32_t room = 15;
  int closes = 0;
};

struct OpenWindow {
  OpenWindow() {
    auto owned = std::make_unique<FakeWindowBackend>();
    backend = owned.get();
    driver = std::make_unique<WindowThreadDriver>("fake", std::move(owned));
  }
  int32_t open(int32_t flags = 0) { return driver->open("title", 8, 4, 8, 0, flags, host); }
  // Runs `action` with the frame lock held, as the layer's drawing does.
  template <typename Action>
  auto locked(Action action) {
    std::lock_guard<platform::DisplayDriver> hold(*driver);
    return action();
  }
  // Until the thread sleeps with nothing left to do.
  bool settled() {
    return eventually([&] { return backend->sleeping() && backend->presents > 0; });
  }

  FakeHost host;
  FakeWindowBackend* backend = nullptr;
  std::unique_ptr<WindowThreadDriver> driver;
};

TEST(WindowThread, OpensClosesAndSurvivesAFailedCreateAndASecondClose) {
  OpenWindow failing;
  failing.backend->fail_create = true;
  EXPECT_NE(failing.open(), 0);
  failing.driver->close();
  EXPECT_EQ(failing.backend->destroys, 1);  // what a failed create left goes too

  OpenWindow window;
  ASSERT_EQ(window.open(), 0);
  EXPECT_EQ(window.driver->name(), "fake");
  window.driver->close();
  window.driver->close();
  EXPECT_EQ(window.backend->creates, 1);
  EXPECT_EQ(window.backend->destroys, 1);
  // A driver that cannot serve OpenGL refuses without a thread.
  EXPECT_NE(window.open(platform::MODE_OPENGL), 0);
  EXPECT_EQ(window.backend->creates, 1);
}

TEST(WindowThread, CarriesOutRequestsOnTheWindowThreadAndKnowsTheDisplay) {
  OpenWindow window;
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  window.driver->set_title("renamed");
  window.driver->set_mouse(3, 2, 0);
  ASSERT_TRUE(eventually([&] { return window.backend->requests == 2; }));
  EXPECT_EQ(window.backend->requests_off_thread, 0);
  EXPECT_EQ(window.backend->last_title, "renamed");

  int32_t modes[4] = {};
  EXPECT_EQ(window.driver->list_modes(32, modes, 1), 2);  // how many there are, one written
  EXPECT_EQ(modes[0], 640 << 16 | 480);
  EXPECT_EQ(modes[1], 0);
}

TEST(WindowThread, PresentsNothingWhileTheProgramHoldsTheFrameLock) {
  OpenWindow window;
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  const int presents = window.backend->presents;
  window.locked([&] {
    window.backend->program_holds_lock = true;
    window.host.dirty[2] = 1;
    window.driver->frame_changed();
    window.driver->set_title("while locked");  // wakes the thread, which must wait
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    window.backend->program_holds_lock = false;
  });
  EXPECT_TRUE(eventually([&] { return window.backend->presents > presents; }));
  EXPECT_EQ(window.backend->presents_under_lock, 0);
}

TEST(WindowThread, ADirtyMarkWakesTheThreadWhichShowsJustThatLine) {
  OpenWindow window;
  platform::DisplayLines shown;
  window.backend->on_upload = [&](const uint32_t*, platform::DisplayLines lines) { shown = lines; };
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  EXPECT_EQ(shown.first, 0);  // the first present shows every line
  EXPECT_EQ(shown.end, 4);
  const int presents = window.backend->presents;
  window.locked([&] {
    window.host.dirty[2] = 1;
    window.driver->frame_changed();
  });
  ASSERT_TRUE(eventually([&] { return window.backend->presents > presents; }));
  window.driver->close();  // the thread's writes are seen once it ended
  EXPECT_EQ(shown.first, 2);
  EXPECT_EQ(shown.end, 3);
}

TEST(WindowThread, SleepsThroughASecondOfNothing) {
  OpenWindow window;
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  const int waits = window.backend->waits;
  const int pumps = window.backend->pumps;
  // The layer locks and unlocks without drawing, as a key poll does.
  for (int i = 0; i < 100; ++i) window.locked([] {});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(window.backend->waits, waits);
  EXPECT_EQ(window.backend->pumps, pumps);
}

TEST(WindowThread, HeldKeysWaitWithoutSpinningUntilTheProgramTakesOne) {
  OpenWindow window;
  window.host.room = 1;  // a key down needs room for two
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  platform::WindowKeyEvent key;
  key.scan_code = 0x1E;
  key.character = 'a';
  window.backend->queue({Kind::key, key, 0, {}, false});
  ASSERT_TRUE(eventually([&] { return window.backend->pumps > 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int waits = window.backend->waits;
  const int pumps = window.backend->pumps;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(window.backend->waits, waits);
  EXPECT_EQ(window.backend->pumps, pumps);
  EXPECT_EQ(window.backend->queued(), 1u);

  window.locked([&] {
    window.host.room = 10;
    window.driver->keys_taken();
  });
  ASSERT_TRUE(eventually([&] { return window.backend->queued() == 0; }));
  EXPECT_EQ(window.locked([&] { return window.host.typed; }), "a");
}

TEST(WindowThread, TextTheLayerHadNoRoomForGoesToTheNextWindow) {
  OpenWindow window;
  window.host.room = 1;
  ASSERT_EQ(window.open(), 0);
  window.backend->queue_text("abc");
  ASSERT_TRUE(eventually([&] { return window.locked([&] { return window.host.typed; }) == "a"; }));
  window.driver->close();
  window.host.room = 10;
  ASSERT_EQ(window.open(), 0);
  EXPECT_TRUE(
      eventually([&] { return window.locked([&] { return window.host.typed; }) == "abc"; }));
}

TEST(WindowThread, TheCloseBoxIsTheHostsAndKeyStatesAreReadWhileActive) {
  OpenWindow window;
  ASSERT_EQ(window.open(), 0);
  ASSERT_TRUE(window.settled());
  EXPECT_EQ(window.locked([&] { return window.host.states[0x1E]; }), 1);  // read at once
  window.locked([&] { window.host.states[0x1E] = 0; });
  window.backend->queue({Kind::focus, {}, 0, {}, false});
  window.backend->queue({Kind::key, {}, 0, {}, false});  // a key while inactive
  window.backend->queue({Kind::close, {}, 0, {}, false});
  ASSERT_TRUE(eventually([&] { return window.locked([&] { return window.host.closes; }) == 1; }));
  EXPECT_EQ(window.locked([&] { return window.host.states[0x1E]; }), 0);
}

// The layer over the real thread: a key typed into the window ends the program's wait.
TEST(WindowThread, AKeyTypedWhileTheProgramWaitsWakesIt) {
  platform::MemoryConsole console(80, 25);
  auto owned = std::make_unique<FakeWindowBackend>();
  FakeWindowBackend& backend = *owned;
  WindowThreadDriver driver("fake", std::move(owned));
  platform::DisplayDriver* drivers[] = {&driver};
  unset_environment("VXGFX");
  detail::reset_layer({&console, nullptr, nullptr, drivers});
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  std::thread typist([&] {
    while (!backend.sleeping()) std::this_thread::yield();
    backend.queue_text("\r");
  });
  sleep_wait(-1);  // returns once a key arrived
  typist.join();
  EXPECT_EQ(key_poll(), "\r");
  detail::reset_layer({});
}

}  // namespace
}  // namespace textscreen::testing
