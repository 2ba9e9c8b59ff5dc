#include "platform/windows/wgl_driver.h"

#include <memory>

namespace textscreen::platform {
namespace {

std::unique_ptr<WglPresenter> new_presenter(WglPresenter*& kept) {
  auto presenter = std::make_unique<WglPresenter>();
  kept = presenter.get();
  return presenter;
}

}  // namespace

WglDriver::WglDriver() : backend_(new_presenter(presenter_)) {}

WglDriver::~WglDriver() {
  close();
}

int32_t WglDriver::open(std::string_view title, int32_t width, int32_t height, int32_t depth,
                        int32_t refresh, int32_t flags, DisplayHost& host) {
  (void)refresh;  // a window takes the display's rate, a full screen its default one
  close();
  if (flags < 0 || (flags & MODE_OPENGL) == 0 || width <= 0 || height <= 0) return 1;
  presenter_->configure(depth, flags);
  host_ = &host;
  policy_.emplace(host, flags | MODE_NO_SWITCH, unread_text_);
  window_open_ = backend_.create(
      {std::string(title), width, height, (flags & MODE_FULLSCREEN) != 0, false}, *policy_);
  if (!window_open_) return 1;
  refresh_rate_ = backend_.refresh_rate();
  display_modes_ = backend_.display_modes();
  policy_->mark_active();
  return 0;
}

void WglDriver::close() {
  backend_.destroy();
  window_open_ = false;
  policy_.reset();
  host_ = nullptr;
}

void WglDriver::wait_retrace() {
  Sleep(static_cast<DWORD>(refresh_rate_ > 0 ? 1000 / refresh_rate_ : 16));
}

int32_t WglDriver::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  return policy_ ? policy_->get_mouse(x, y, wheel, buttons) : 1;
}

int32_t WglDriver::set_mouse(int32_t x, int32_t y, int32_t shown) {
  if (!window_open_) return 1;
  backend_.move_pointer(x, y, shown != 0);
  return 0;
}

void WglDriver::set_title(std::string_view title) {
  backend_.set_title(title);
}

int32_t WglDriver::list_modes(int32_t depth, int32_t* modes, int32_t capacity) {
  return list_display_modes(display_modes_, depth, modes, capacity);
}

void WglDriver::flip() {
  if (!window_open_ || !policy_) return;
  policy_->hand_over_text();
  backend_.pump(*policy_);
  policy_->take_outcome();  // no switching, and every frame is the program's own drawing
  if (policy_->key_states_due()) backend_.read_key_states(host_->key_states());
  backend_.present();
}

}  // namespace textscreen::platform
