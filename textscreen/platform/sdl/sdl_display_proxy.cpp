#include "platform/sdl/sdl_display_proxy.h"

#include "platform/sdl/sdl_module_loader.h"

namespace textscreen::platform {

int32_t SdlDisplayProxy::open(std::string_view title, int32_t width, int32_t height, int32_t depth,
                              int32_t refresh, int32_t flags, DisplayHost& host) {
  // The OpenGL driver refuses at once without being asked for: no module load for nothing.
  if (kind_ == Kind::opengl && (flags < 0 || (flags & MODE_OPENGL) == 0)) return 1;
  if (!driver_) {
    const SdlModule* module = sdl_module();
    if (module == nullptr) return 1;
    driver_.reset(kind_ == Kind::window ? module->new_window_driver() : module->new_gl_driver());
    if (!driver_) return 1;
  }
  return driver_->open(title, width, height, depth, refresh, flags, host);
}

void SdlDisplayProxy::close() {
  if (driver_) driver_->close();
}
void SdlDisplayProxy::lock() {
  if (driver_) driver_->lock();
}
void SdlDisplayProxy::unlock() {
  if (driver_) driver_->unlock();
}
void SdlDisplayProxy::set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (driver_) driver_->set_palette(index, red, green, blue);
}
void SdlDisplayProxy::wait_retrace() {
  if (driver_) driver_->wait_retrace();
}
int32_t SdlDisplayProxy::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  return driver_ ? driver_->get_mouse(x, y, wheel, buttons) : 1;
}
int32_t SdlDisplayProxy::set_mouse(int32_t x, int32_t y, int32_t shown) {
  return driver_ ? driver_->set_mouse(x, y, shown) : 1;
}
void SdlDisplayProxy::set_title(std::string_view title) {
  if (driver_) driver_->set_title(title);
}
int32_t SdlDisplayProxy::list_modes(int32_t depth, int32_t* modes, int32_t capacity) {
  return driver_ ? driver_->list_modes(depth, modes, capacity) : 0;
}
void SdlDisplayProxy::flip() {
  if (driver_) driver_->flip();
}
void SdlDisplayProxy::keys_taken() {
  if (driver_) driver_->keys_taken();
}
void SdlDisplayProxy::frame_changed() {
  if (driver_) driver_->frame_changed();
}

}  // namespace textscreen::platform
