#include "platform/sdl/module/sdl_window.h"

#include "platform/sdl/module/window_manager_check.h"

namespace textscreen::platform {

namespace {

// The converter has made every pixel on the processor already, so presenting is one blit:
// the software renderer does it through the window system's shared memory, without
// starting a GL stack (where there is no graphics card, Mesa's takes half a second to
// start). Where the video system has no framebuffer of its own, its default renderer.
SDL_Renderer* make_renderer(SDL_Window* window) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return renderer != nullptr ? renderer : SDL_CreateRenderer(window, -1, 0);
}

}  // namespace

bool SdlWindow::create(const std::string& title, int32_t width, int32_t height, bool full_screen) {
  destroy();
  title_ = title;
  width_ = width;
  height_ = height;
  full_screen_ = full_screen;
  // The frame's pixels are to stay square blocks when the window or the desktop scales it.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  const Uint32 window_flags =
      SDL_WINDOW_ALLOW_HIGHDPI | (full_screen ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u);
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                             height, window_flags);
  if (window_ != nullptr) renderer_ = make_renderer(window_);
  if (renderer_ != nullptr) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
  }
  if (texture_ == nullptr) {
    destroy();
    return false;
  }
  fit();
  return true;
}

void SdlWindow::destroy() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

void SdlWindow::switch_full_screen() {
  const bool wanted = !full_screen_;
  if (wanted && !full_screen_possible(window_)) return;
  if (SDL_SetWindowFullscreen(window_, wanted ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) {
    full_screen_ = wanted;
    fit();
    return;
  }
  // The window may be half switched: make it again as it was.
  if (!create(title_, width_, height_, full_screen_)) create(title_, width_, height_, false);
}

void SdlWindow::fit() {
  if (renderer_ == nullptr) return;
  int output_width = 0;
  int output_height = 0;
  SDL_GetRendererOutputSize(renderer_, &output_width, &output_height);
  SDL_RenderSetLogicalSize(renderer_, width_, height_);
  // A whole factor crops a frame larger than the drawable: then scale it down smoothly.
  const bool whole = output_width >= width_ && output_height >= height_;
  SDL_RenderSetIntegerScale(renderer_, whole ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::upload(const uint32_t* display, DisplayLines lines) {
  if (texture_ == nullptr || lines.empty()) return;
  const SDL_Rect rect{0, lines.first, width_, lines.end - lines.first};
  SDL_UpdateTexture(texture_, &rect, display + static_cast<size_t>(lines.first) * width_,
                    width_ * static_cast<int>(sizeof(uint32_t)));
}

void SdlWindow::present() {
  if (renderer_ == nullptr) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void SdlWindow::set_title(const std::string& title) {
  title_ = title;
  if (window_ != nullptr) SDL_SetWindowTitle(window_, title.c_str());
}

}  // namespace textscreen::platform
