#include "platform/sdl/module/sdl_gl_driver.h"

#include <string>

#include "platform/sdl/module/display_loss.h"
#include "platform/sdl/module/video_start.h"

namespace textscreen::platform {
namespace {

// Flags of screen_mode that ask for more of the context.
constexpr int32_t WANT_STENCIL = 0x10;
constexpr int32_t WANT_ACCUMULATION = 0x20;

void ask_for_context(int32_t depth, int32_t flags) {
  const bool deep = depth > 16;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, deep ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, deep ? 8 : 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, deep ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, deep ? 8 : 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 32);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & WANT_STENCIL) != 0 ? 8 : 0);
  const int accumulation = (flags & WANT_ACCUMULATION) != 0 ? 8 : 0;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accumulation);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accumulation);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accumulation);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accumulation);
}

}  // namespace

SdlGlDriver::~SdlGlDriver() {
  close();
}

int32_t SdlGlDriver::open(std::string_view title, int32_t width, int32_t height, int32_t depth,
                          int32_t refresh, int32_t flags, DisplayHost& host) {
  close();
  if (flags < 0 || (flags & MODE_OPENGL) == 0 || !display_named()) return 1;
  if (!start_video()) return 1;
  video_started_ = true;
  ask_for_context(depth, flags);
  const bool full_screen = (flags & MODE_FULLSCREEN) != 0;
  window_ = SDL_CreateWindow(
      std::string(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
      SDL_WINDOW_OPENGL | (full_screen ? Uint32{SDL_WINDOW_FULLSCREEN} : 0u));
  if (window_ == nullptr) return 1;
  if (full_screen) {
    // The display itself takes the mode's size, depth and rate.
    SDL_DisplayMode mode{SDL_PIXELFORMAT_UNKNOWN, width, height, refresh, nullptr};
    if (SDL_SetWindowDisplayMode(window_, &mode) != 0) return 1;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr) return 1;
  host_ = &host;
  policy_.emplace(host, flags | MODE_NO_SWITCH, unread_text_);
  // The program's thread talks to this display: a loss stops it there.
  watch_display_loss(window_, *policy_);
  SDL_DisplayMode current{};
  refresh_rate_ = SDL_GetWindowDisplayMode(window_, &current) == 0 ? current.refresh_rate : 0;
  policy_->mark_active();
  SDL_StartTextInput();
  return 0;
}

void SdlGlDriver::close() {
  if (window_ != nullptr) pump_.keep_unread_keys();
  policy_.reset();
  host_ = nullptr;
  if (context_ != nullptr) SDL_GL_DeleteContext(context_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  context_ = nullptr;
  window_ = nullptr;
  if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  video_started_ = false;
  stop_watching_display_loss();
}

void SdlGlDriver::wait_retrace() {
  SDL_Delay(static_cast<Uint32>(refresh_rate_ > 0 ? 1000 / refresh_rate_ : 16));
}

int32_t SdlGlDriver::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  return policy_ ? policy_->get_mouse(x, y, wheel, buttons) : 1;
}

int32_t SdlGlDriver::set_mouse(int32_t x, int32_t y, int32_t shown) {
  if (window_ == nullptr) return 1;
  SDL_WarpMouseInWindow(window_, x, y);
  SDL_ShowCursor(shown != 0 ? SDL_ENABLE : SDL_DISABLE);
  return 0;
}

void SdlGlDriver::set_title(std::string_view title) {
  if (window_ != nullptr) SDL_SetWindowTitle(window_, std::string(title).c_str());
}

int32_t SdlGlDriver::list_modes(int32_t depth, int32_t* modes, int32_t capacity) {
  if (!video_started_) return 0;
  const int display = window_ != nullptr ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
  int32_t count = 0;
  for (int i = 0; i < SDL_GetNumDisplayModes(display); ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    const int32_t mode_depth = SDL_BYTESPERPIXEL(mode.format) == 4
                                   ? 32
                                   : static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format));
    if (mode_depth != depth) continue;
    if (count < capacity && modes != nullptr) modes[count] = mode.w << 16 | mode.h;
    ++count;
  }
  return count;
}

void SdlGlDriver::flip() {
  if (window_ == nullptr || !policy_) return;
  policy_->hand_over_text();
  pump_.pump(*policy_);
  if (policy_->take_outcome().display_lost) wait_to_be_ended();
  if (policy_->key_states_due()) pump_.read_key_states(host_->key_states());
  SDL_GL_SwapWindow(window_);
}

}  // namespace textscreen::platform
