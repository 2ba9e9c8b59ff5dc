// The SDL display drivers as the process knows them before the SDL module is loaded: each
// loads the module at its first open and hands every operation to the module's driver. An
// open fails when the module cannot be loaded (SDL2 missing), so the driver choice moves on.
#pragma once

#include <memory>
#include <string_view>

#include "platform/display_driver.h"
#include "platform/sdl/sdl_module.h"

namespace textscreen::platform {

class SdlDisplayProxy final : public DisplayDriver {
 public:
  enum class Kind { window, opengl };
  explicit SdlDisplayProxy(Kind kind) : kind_(kind) {}

  std::string_view name() const override { return kind_ == Kind::window ? "SDL" : "OpenGL"; }
  int32_t open(std::string_view title, int32_t width, int32_t height, int32_t depth,
               int32_t refresh, int32_t flags, DisplayHost& host) override;
  void close() override;
  void lock() override;
  void unlock() override;
  void set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) override;
  void wait_retrace() override;
  int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  int32_t set_mouse(int32_t x, int32_t y, int32_t shown) override;
  void set_title(std::string_view title) override;
  int32_t list_modes(int32_t depth, int32_t* modes, int32_t capacity) override;
  void flip() override;
  void keys_taken() override;
  void frame_changed() override;

 private:
  Kind kind_;
  std::unique_ptr<DisplayDriver> driver_;  // the module's, made at the first open
};

}  // namespace textscreen::platform
