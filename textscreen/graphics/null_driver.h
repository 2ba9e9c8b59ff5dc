// The Null driver: a graphics screen that lives only in memory. No window, no thread, no
// keys; it never refuses. Chosen only by name ("null") or by the flags -1, so programs and
// tests can run a graphics screen without a display.
#pragma once

#include "platform/display_driver.h"

namespace textscreen::detail {

class NullDriver : public platform::DisplayDriver {
 public:
  std::string_view name() const override { return "Null"; }
  int32_t open(std::string_view, int32_t, int32_t, int32_t, int32_t, int32_t,
               platform::DisplayHost&) override {
    return 0;
  }
  void close() override {}
  void lock() override {}
  void unlock() override {}
  void set_palette(int32_t, int32_t, int32_t, int32_t) override {}
  void wait_retrace() override {}
  int32_t get_mouse(int32_t&, int32_t&, int32_t&, int32_t&) override { return 1; }
  int32_t set_mouse(int32_t, int32_t, int32_t) override { return 1; }
  void set_title(std::string_view) override {}
  int32_t list_modes(int32_t, int32_t*, int32_t) override { return 0; }
  void flip() override {}
};

NullDriver& null_driver();

}  // namespace textscreen::detail
