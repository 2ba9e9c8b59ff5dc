// A fresh layer whose graphics screens live in memory (the Null driver), with the frame
// read back as text.
#pragma once

#include <cstdlib>
#include <string>

#include "graphics/graphics_keys.h"
#include "graphics/graphics_screen.h"
#include "support/environment.h"
#include "support/frame_reader.h"
#include "support/layer_fixture.h"
#include "textscreen/screen_mode.h"

namespace textscreen::testing {

class GraphicsTest : public LayerTest {
 protected:
  GraphicsTest() { set_environment("VXGFX", "null"); }
  ~GraphicsTest() override { unset_environment("VXGFX"); }

  static detail::GraphicsScreen& g() { return *detail::graphics_screen(); }
  // A screen row (1-based) as the frame shows it, trailing blanks removed.
  static std::string shown(int r) { return FrameReader(g()).row_text(r); }
  static ReadCell shown_cell(int c, int r) { return FrameReader(g()).cell(c, r); }

  // Keys typed into the window, one every 5 ms of the program's waits.
  void type_in_window(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
      clock_.at(std::chrono::milliseconds(5 * (i + 1)),
                [c = static_cast<uint8_t>(text[i])] { detail::window_character_typed(c, 1); });
    }
  }
};

}  // namespace textscreen::testing
