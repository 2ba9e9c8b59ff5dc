// The old VGA ways in: the palette through its ports (0x3C7/0x3C8 choose an entry, 0x3C9
// carries its red, green and blue in 6 bits each, 0x3DA waits for the display's refresh),
// the mouse through the driver, and text read back from the cells.
#include <string>

#include "graphics/frame_lock.h"
#include "graphics/graphics_slots.h"

namespace textscreen::detail {
namespace {

constexpr int32_t PORT_READ_INDEX = 0x3C7;
constexpr int32_t PORT_WRITE_INDEX = 0x3C8;
constexpr int32_t PORT_DATA = 0x3C9;
constexpr int32_t PORT_STATUS = 0x3DA;
constexpr int32_t STATUS_IN_RETRACE = 8;

uint32_t component(uint32_t colour, int32_t which) {
  return (colour >> (8 * which)) & 0xFF;
}

}  // namespace

int32_t graphics_port_read(int32_t port) {
  GraphicsScreen& g = *graphics_screen();
  if (port == PORT_STATUS) {
    g.driver->wait_retrace();
    return STATUS_IN_RETRACE;
  }
  if (port != PORT_DATA) return 0;
  FrameLock lock(g);
  const uint32_t colour = g.full_palette[g.port_read_index];
  const auto value = static_cast<int32_t>(component(colour, g.port_read_component) >> 2);
  if (++g.port_read_component == 3) {
    g.port_read_component = 0;
    g.port_read_index = (g.port_read_index + 1) & 0xFF;
  }
  return value;
}

void graphics_port_write(int32_t port, int32_t value) {
  GraphicsScreen& g = *graphics_screen();
  if (port == PORT_READ_INDEX) {
    g.port_read_index = value & 0xFF;
    g.port_read_component = 0;
    return;
  }
  if (port == PORT_WRITE_INDEX) {
    g.port_write_index = value & 0xFF;
    g.port_write_component = 0;
    return;
  }
  if (port != PORT_DATA) return;
  FrameLock lock(g);
  const int32_t i = g.port_write_index;
  const uint32_t eight_bits = static_cast<uint32_t>(value & 63) * 255 / 63;
  const int32_t shift = 8 * g.port_write_component;
  g.full_palette[i] = (g.full_palette[i] & ~(0xFFu << shift)) | eight_bits << shift;
  if (++g.port_write_component < 3) return;
  g.port_write_component = 0;
  g.port_write_index = (i + 1) & 0xFF;
  const uint32_t colour = g.full_palette[i];
  if (g.depth <= 8) g.shown_palette[i] = colour;
  g.driver->set_palette(i, static_cast<int32_t>(component(colour, 0)),
                        static_cast<int32_t>(component(colour, 1)),
                        static_cast<int32_t>(component(colour, 2)));
}

int32_t graphics_read_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons) {
  GraphicsScreen& g = *graphics_screen();
  int32_t values[4] = {0, 0, 0, 0};
  int32_t result = 0;
  {
    FrameLock lock(g);
    result = g.driver->get_mouse(values[0], values[1], values[2], values[3]);
  }
  if (result != 0) return result;
  int32_t* places[4] = {x, y, wheel, buttons};
  for (int32_t i = 0; i < 4; ++i) {
    if (places[i] != nullptr) *places[i] = values[i];
  }
  return 0;
}

int32_t graphics_move_mouse(int32_t x, int32_t y, int32_t shown) {
  return graphics_screen()->driver->set_mouse(x, y, shown);
}

std::string graphics_read_text(int32_t length) {
  GraphicsScreen& g = *graphics_screen();
  FrameLock lock(g);
  std::string text;
  int32_t column = g.cursor_column;
  int32_t row = g.cursor_row;
  for (int32_t i = 0; i < length && row < g.text_rows; ++i) {
    text.push_back(static_cast<char>(g.cell(column, row).character));
    if (++column == g.text_columns) {
      column = 0;
      ++row;
    }
  }
  return text;
}

}  // namespace textscreen::detail
