// A display that goes away under the window: the layer closes the console as a closed
// console is closed, with the line that says why, and the close key waits in the console's
// queue.
#include <gtest/gtest.h>

#include "graphics/graphics_screen.h"
#include "graphics/null_driver.h"
#include "support/layer_fixture.h"

namespace textscreen::testing {
namespace {

// The Null driver's do-nothing operations; open keeps the host, as a window driver hands
// it to its window thread.
class HostKeepingDriver final : public detail::NullDriver {
 public:
  std::string_view name() const override { return "Window"; }
  int32_t open(std::string_view, int32_t, int32_t, int32_t, int32_t, int32_t,
               platform::DisplayHost& host) override {
    this->host = &host;
    return 0;
  }

  platform::DisplayHost* host = nullptr;
};

class DisplayLossTest : public LayerTest {
 protected:
  DisplayLossTest() {
    detail::reset_layer({&console_, &clock_, &speaker_, drivers_, "/opt/trips/tripcost.bin"});
  }

  HostKeepingDriver driver_;
  platform::DisplayDriver* const drivers_[1] = {&driver_};
};

TEST_F(DisplayLossTest, TheConsoleClosesWithTheProgramsLineAndTheCloseKeyWaitsInItsQueue) {
  EXPECT_EQ(key_poll(), "");  // the first console read puts the control handler in place
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  ASSERT_NE(driver_.host, nullptr);

  driver_.host->display_lost();
  EXPECT_EQ(console_.closes(), 1);
  EXPECT_EQ(console_.close_reason(), "tripcost: the display was lost");
  // Not a key of the window's: its ring stays empty, and the console has the key.
  EXPECT_EQ(key_poll(), "");
  screen_mode(0, 0, 0, 0, 0);
  EXPECT_EQ(key_poll(), "\xFFk");
}

}  // namespace
}  // namespace textscreen::testing
