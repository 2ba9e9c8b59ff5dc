#include "graphics/graphics_screen.h"

#include <cstdlib>
#include <string_view>

#include "console/console_keyboard.h"
#include "console/layer_devices.h"
#include "console/layer_lifecycle.h"
#include "console/layer_reset.h"
#include "console/screen_state.h"
#include "graphics/driver_choice.h"
#include "graphics/frame_lock.h"
#include "graphics/graphics_keys.h"
#include "graphics/graphics_slots.h"
#include "graphics/key_ring.h"
#include "graphics/null_driver.h"
#include "textscreen/screen_mode.h"

namespace textscreen::detail {
namespace {

// The screen as the driver's window thread sees it.
class ScreenHost final : public platform::DisplayHost {
 public:
  explicit ScreenHost(GraphicsScreen& screen) : screen_(screen) {}

  platform::FrameView frame() override {
    const GraphicsScreen& g = screen_;
    return {g.pages[g.visible_page].get(),
            g.pitch,
            g.width,
            g.height,
            g.depth,
            g.line_scale,
            g.dirty.get(),
            g.shown_palette.data()};
  }
  uint8_t* key_states() override { return screen_.key_states.data(); }
  bool key_pressed(const platform::WindowKeyEvent& key) override { return window_key_pressed(key); }
  void character_typed(uint8_t character, uint16_t repeat_count) override {
    window_character_typed(character, repeat_count);
  }
  int32_t key_room() override { return key_ring().room(); }
  void close_requested() override { window_close_requested(); }
  void activation_changed(bool) override {
    screen_.key_states.fill(0);
    std::fill_n(screen_.dirty.get(), screen_.height * screen_.line_scale, uint8_t{1});
  }
  // Without its display the program can neither show nor read anything more: it ends as a
  // closed console ends it. The title was settled before the window opened, so the window
  // thread only reads it.
  void display_lost() override {
    console().close_console(window_title() + ": the display was lost");
  }

 private:
  GraphicsScreen& screen_;
};

// The record and the host that shows it, allocated together.
struct OpenScreen {
  GraphicsScreen screen;
  ScreenHost host{screen};
};

OpenScreen* current = nullptr;
std::string title;
bool title_known = false;
bool exit_step_registered = false;
bool reset_registered = false;

constexpr uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return red | green << 8 | static_cast<uint32_t>(blue) << 16;
}

// Modes 10 and up show colour numbers as palette indexes; the older ones map them.
bool set_up_colour_map(GraphicsScreen& g) {
  static constexpr std::array<uint8_t, 16> IDENTITY{0, 1, 2,  3,  4,  5,  6,  7,
                                                    8, 9, 10, 11, 12, 13, 14, 15};
  static constexpr std::array<uint8_t, 16> MODE_9{0,  1,  2,  3,  4,  5,  20, 7,
                                                  56, 57, 58, 59, 60, 61, 62, 63};
  switch (g.mode) {
    case 1:
      g.colour_map = {0, 11, 13, 15};
      return true;
    case 2:
      g.colour_map = {0, 15};
      return true;
    case 7:
    case 8:
      g.colour_map = IDENTITY;
      return true;
    case 9:
      g.colour_map = MODE_9;
      return true;
    default:
      return false;
  }
}

// Depth rules: the argument counts only above mode 13; OpenGL wants at least 16 bits;
// 15 folds into 16 and 24 into 32.
void apply_depth_rules(GraphicsScreen& g, const ModeInfo& row, int32_t depth, int32_t flags) {
  g.depth = row.depth;
  if (g.mode > 13 && (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32)) {
    g.depth = depth;
  }
  if (flags >= 0 && (flags & MODE_OPENGL) != 0 && g.depth < 16) g.depth = 16;
  if (g.depth == 15 || g.depth == 16) {
    g.depth = 16;
    g.colour_mask = 0xFFFF;
  } else if (g.depth == 24 || g.depth == 32) {
    g.depth = 32;
    g.colour_mask = 0xFFFFFFFF;
  } else {
    g.colour_mask = (1u << g.depth) - 1;
  }
}

// Pages, line table, dirty flags and text cells; false when the memory cannot be had.
bool allocate_buffers(GraphicsScreen& g, int32_t pages) {
  const size_t page_bytes = static_cast<size_t>(g.height) * static_cast<size_t>(g.pitch);
  const size_t cell_count = static_cast<size_t>(g.text_columns) * g.text_rows;
  g.pages = allocate_zeroed<PageBytes>(static_cast<size_t>(pages));
  g.cells = allocate_zeroed<std::unique_ptr<TextCell[]>>(static_cast<size_t>(pages));
  g.lines = allocate_zeroed<uint8_t*>(static_cast<size_t>(g.height));
  g.dirty = allocate_zeroed<uint8_t>(static_cast<size_t>(g.height) * g.line_scale);
  if (!g.pages || !g.cells || !g.lines || !g.dirty) return false;
  g.page_count = pages;
  for (int32_t p = 0; p < pages; ++p) {
    g.pages[p] = allocate_page(page_bytes);
    g.cells[p] = allocate_zeroed<TextCell>(cell_count);
    if (!g.pages[p] || !g.cells[p]) return false;
  }
  for (int32_t y = 0; y < g.height; ++y) g.lines[y] = g.pages[g.work_page].get() + y * g.pitch;
  return true;
}

void load_default_palette(GraphicsScreen& g) {
  if (g.depth > 8) return;
  FrameLock lock(g);
  const PaletteInfo palette = built_in_palette(g.default_palette);
  for (int32_t i = 0; i < palette.count; ++i) {
    const uint8_t* c = palette.rgb + 3 * i;
    g.full_palette[i] = rgb(c[0], c[1], c[2]);
  }
  show_mapped_palette(g, std::min(palette.count, 1 << g.depth));
}

void close_at_exit() {
  if (graphics_screen_open()) screen_mode(0, 0, 0, MODE_CLOSE_ONLY, 0);
}

void reset_graphics_half() {
  close_graphics_screen();
  reset_graphics_keys();
  title_known = false;
}

std::string title_from_path(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace

GraphicsScreen* graphics_screen() {
  return current == nullptr ? nullptr : &current->screen;
}

bool graphics_screen_open() {
  return current != nullptr;
}

const std::string& window_title() {
  if (!title_known) {
    const char* path = installed_devices().program_path;
    title = title_from_path(path != nullptr ? path : program_argument());
    title_known = true;
  }
  return title;
}

void show_mapped_palette(GraphicsScreen& g, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t colour = g.full_palette[g.has_colour_map ? g.colour_map[i] : i];
    g.shown_palette[i] = colour;
    g.driver->set_palette(i, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  }
  mark_lines_dirty(g, 0, g.height);
}

void mark_lines_dirty(GraphicsScreen& g, int32_t first, int32_t end) {
  if (!g.work_page_visible()) return;
  const int32_t from = std::max(first, 0);
  const int32_t to = std::min(end, g.height);
  if (from >= to) return;
  std::fill(g.dirty.get() + from, g.dirty.get() + to, uint8_t{1});
  // A window thread that sleeps while nothing changes is woken when the lock is released.
  g.driver->frame_changed();
}

void close_graphics_screen() {
  if (current == nullptr) return;
  current->screen.driver->close();
  delete current;
  current = nullptr;
}

bool open_graphics_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags,
                          int32_t refresh) {
  if (!reset_registered) {
    register_half_reset(reset_graphics_half);
    reset_registered = true;
  }
  std::unique_ptr<OpenScreen> open(new (std::nothrow) OpenScreen);
  if (!open || !built_in_data_ready()) return false;
  GraphicsScreen& g = open->screen;
  const ModeInfo& row = mode_info(mode);
  g.mode = mode;
  g.width = row.width;
  g.height = row.height;
  apply_depth_rules(g, row, depth, flags);
  g.default_palette = row.palette;
  g.line_scale = row.line_scale;
  g.pixels = pixel_routines(g.depth);
  g.pitch = g.width * g.pixels.bytes_per_pixel;
  g.has_colour_map = set_up_colour_map(g);
  g.font = built_in_font(row.glyph_height);
  g.text_columns = row.text_columns;
  g.text_rows = row.text_rows;
  if (!allocate_buffers(g, pages)) return false;

  const char* named = std::getenv("VXGFX");
  DriverRequest request{window_title(), g.width, g.height * g.line_scale, g.depth,
                        refresh,        flags,   scripted_input()};
  g.driver = choose_driver(installed_devices().display_drivers, null_driver(),
                           named != nullptr ? named : "", request, open->host);
  if (g.driver == nullptr) return false;
  current = open.release();

  load_default_palette(g);
  g.foreground = g.depth >= 5 && g.depth <= 8 ? 15 : g.colour_mask;
  g.background = 0;
  g.viewport = {0, 0, g.width, g.height};
  g.graphics_x = g.width / 2;
  g.graphics_y = g.height / 2;
  const TextCell blank{' ', g.foreground, g.background};
  std::fill_n(g.work_cells(), g.text_columns * g.text_rows, blank);
  install_graphics_slots();
  if (!exit_step_registered) {
    register_exit_step(close_at_exit);
    exit_step_registered = true;
  }
  return true;
}

}  // namespace textscreen::detail
