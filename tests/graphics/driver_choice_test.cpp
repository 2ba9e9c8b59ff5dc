// Which display driver a graphics screen gets: stand-in drivers that record every call and
// open only for the flags they serve.
#include "graphics/driver_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graphics_screen.h"
#include "graphics/null_driver.h"
#include "support/no_host.h"

namespace textscreen::testing {
namespace {

using Calls = std::vector<std::string>;

// The Null driver's do-nothing operations, with the ones under test replaced.
class StandInDriver final : public detail::NullDriver {
 public:
  StandInDriver(std::string name, Calls& calls, bool windowed, bool full_screen)
      : name_(std::move(name)), calls_(calls), windowed_(windowed), full_screen_(full_screen) {}

  std::string_view name() const override { return name_; }
  int32_t open(std::string_view, int32_t, int32_t, int32_t, int32_t refresh, int32_t flags,
               platform::DisplayHost&) override {
    const bool full = (flags & detail::MODE_FULLSCREEN) != 0;
    calls_.push_back(name_ + (full ? " full " : " window ") + std::to_string(refresh));
    return (full ? full_screen_ : windowed_) ? 0 : 1;
  }
  void close() override { calls_.push_back(name_ + " close"); }

 private:
  std::string name_;
  Calls& calls_;
  bool windowed_;
  bool full_screen_;
};

struct Choice {
  Calls calls;
  std::string chosen;
};

// Two drivers: "SDL" opens only at full screen (a display that refuses windows),
// "OpenGL" never (not asked for).
Choice choose(std::string_view named, int32_t flags, bool sdl_windowed = false,
              bool named_only = false) {
  Choice result;
  StandInDriver sdl("SDL", result.calls, sdl_windowed, true);
  StandInDriver gl("OpenGL", result.calls, false, false);
  platform::DisplayDriver* list[] = {&sdl, &gl};
  NoHost host;
  detail::DriverRequest request{"t", 640, 480, 4, 70, flags, named_only};
  auto* driver = detail::choose_driver(list, detail::null_driver(), named, request, host);
  result.chosen = driver == nullptr ? "none" : std::string(driver->name());
  return result;
}

TEST(DriverChoice, WithoutANameEveryDriverTwiceThenFullScreenInverted) {
  Choice c = choose("", 0);
  EXPECT_EQ(c.chosen, "SDL");
  EXPECT_EQ(c.calls,
            (Calls{"SDL window 70", "SDL close", "SDL window 0", "SDL close", "OpenGL window 70",
                   "OpenGL close", "OpenGL window 0", "OpenGL close", "SDL full 70"}));
  EXPECT_EQ(choose("", 0, true).calls, (Calls{"SDL window 70"}));
}

TEST(DriverChoice, ANamedDriverComesFirstAndAgainBeforeTheInvertedPass) {
  Choice c = choose("opengl", 0);
  EXPECT_EQ(c.chosen, "SDL");
  EXPECT_EQ(c.calls,
            (Calls{"OpenGL window 70", "OpenGL close", "OpenGL window 0", "OpenGL close",
                   "SDL window 70", "SDL close", "SDL window 0", "SDL close", "OpenGL window 70",
                   "OpenGL close", "OpenGL window 0", "OpenGL close", "OpenGL window 70",
                   "OpenGL close", "OpenGL window 0", "OpenGL close", "SDL full 70"}));
}

TEST(DriverChoice, NullIsChosenOnlyByNameOrFlags) {
  for (auto [named, flags] : {std::pair{"NULL", 0}, {"", -1}, {"sdl", -1}}) {
    Choice c = choose(named, flags);
    EXPECT_EQ(c.chosen, "Null") << named << flags;
    EXPECT_TRUE(c.calls.empty());
  }
}

TEST(DriverChoice, AScriptedRunTriesOnlyTheDriverItNames) {
  EXPECT_EQ(choose("", 0, true, true).calls, Calls{});
  EXPECT_EQ(choose("Vulkan", 0, true, true).chosen, "none");
  const Choice named = choose("sdl", 0, true, true);
  EXPECT_EQ(named.chosen, "SDL");
  EXPECT_EQ(named.calls, Calls{"SDL window 70"});
  EXPECT_EQ(choose("null", 0, true, true).chosen, "Null");
}

}  // namespace
}  // namespace textscreen::testing
