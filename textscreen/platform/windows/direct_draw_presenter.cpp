#include "platform/windows/direct_draw_presenter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <utility>

namespace textscreen::platform {
namespace {

template <typename Function>
Function library_function(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryW(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

template <typename Interface>
void release(Interface*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// The keyboard as 256 bytes, one per key: the layout DirectInput's keyboard format has.
const DIDATAFORMAT& keyboard_format() {
  static std::array<DIOBJECTDATAFORMAT, 256> objects = [] {
    std::array<DIOBJECTDATAFORMAT, 256> keys{};
    for (DWORD i = 0; i < keys.size(); ++i) {
      keys[i] = {&GUID_Key, i, DIDFT_BUTTON | DIDFT_OPTIONAL | DIDFT_MAKEINSTANCE(i), 0};
    }
    return keys;
  }();
  static const DIDATAFORMAT format{sizeof(DIDATAFORMAT),
                                   sizeof(DIOBJECTDATAFORMAT),
                                   DIDF_RELAXIS,
                                   256,
                                   static_cast<DWORD>(objects.size()),
                                   objects.data()};
  return format;
}

// The display's modes as DirectDraw lists them: width << 16 | height, and bits per pixel.
using ListedModes = std::set<std::pair<int32_t, int32_t>>;

HRESULT CALLBACK note_mode(DDSURFACEDESC* mode, void* listed) {
  static_cast<ListedModes*>(listed)->emplace(
      static_cast<int32_t>(mode->dwWidth << 16 | mode->dwHeight),
      static_cast<int32_t>(mode->ddpfPixelFormat.dwRGBBitCount));
  return DDENUMRET_OK;
}

// The heights a display mode is tried at, after the frame's own.
constexpr std::array<int32_t, 5> MODE_HEIGHTS{240, 480, 600, 768, 1024};

}  // namespace

bool DirectDrawPresenter::open(HWND window, int32_t width, int32_t height, bool full_screen) {
  using DirectDrawCreate = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
  const auto create = library_function<DirectDrawCreate>(L"ddraw.dll", "DirectDrawCreate");
  if (create == nullptr) return false;
  window_ = window;
  width_ = width;
  height_ = height;
  full_screen_ = full_screen;
  top_ = 0;
  IDirectDraw* first = nullptr;
  if (FAILED(create(nullptr, &first, nullptr))) return false;
  const HRESULT asked = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&draw_));
  first->Release();
  if (FAILED(asked)) return false;
  if (full_screen) {
    // A display without a mode for the frame is refused before the screen is taken: the
    // window is then given up untouched and the next driver is tried.
    const std::vector<ScreenMode> modes = screen_modes();
    if (modes.empty()) return false;
    if (FAILED(draw_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)))
      return false;
    if (!change_display_mode(modes)) return false;
  } else if (FAILED(draw_->SetCooperativeLevel(window, DDSCL_NORMAL))) {
    return false;
  }
  if (!make_surfaces()) return false;
  open_keyboard();
  return true;
}

std::vector<DirectDrawPresenter::ScreenMode> DirectDrawPresenter::screen_modes() {
  // The modes the display lists, each width << 16 | height and its depth.
  ListedModes listed;
  // A display that cannot list its modes is asked for each one in turn.
  const bool known = SUCCEEDED(draw_->EnumDisplayModes(0, nullptr, &listed, note_mode));
  std::vector<ScreenMode> modes;
  std::array<int32_t, MODE_HEIGHTS.size() + 1> heights{};
  heights[0] = height_;
  std::copy(MODE_HEIGHTS.begin(), MODE_HEIGHTS.end(), heights.begin() + 1);
  for (int32_t height : heights) {
    if (height < height_) continue;
    // The depth of the window's lines, then its partner.
    for (int32_t depth : {32, 16}) {
      if (!known || listed.count({width_ << 16 | height, depth}) != 0) {
        modes.push_back({height, depth});
      }
    }
  }
  return modes;
}

bool DirectDrawPresenter::change_display_mode(const std::vector<ScreenMode>& modes) {
  for (const ScreenMode& mode : modes) {
    if (SUCCEEDED(draw_->SetDisplayMode(static_cast<DWORD>(width_), static_cast<DWORD>(mode.height),
                                        static_cast<DWORD>(mode.depth), 0, 0))) {
      mode_changed_ = true;
      top_ = (mode.height - height_) / 2;
      return true;
    }
  }
  return false;
}

DirectDrawPresenter::Channel DirectDrawPresenter::channel_of(DWORD mask) {
  Channel channel;
  if (mask == 0) return channel;
  while ((mask & 1) == 0) {
    mask >>= 1;
    ++channel.shift;
  }
  channel.bits = 0;
  while ((mask & 1) != 0) {
    mask >>= 1;
    ++channel.bits;
  }
  return channel;
}

bool DirectDrawPresenter::make_surfaces() {
  DDSURFACEDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (FAILED(draw_->CreateSurface(&description, &primary_, nullptr))) return false;
  if (!full_screen_) {
    if (FAILED(draw_->CreateClipper(0, &clipper_, nullptr)) ||
        FAILED(clipper_->SetHWnd(0, window_)) || FAILED(primary_->SetClipper(clipper_))) {
      return false;
    }
  }
  // The offscreen surface takes the primary's format, read here: the lines are converted
  // into it as they are uploaded.
  DDPIXELFORMAT format{};
  format.dwSize = sizeof format;
  if (FAILED(primary_->GetPixelFormat(&format)) || (format.dwFlags & DDPF_RGB) == 0) return false;
  if (format.dwRGBBitCount != 32 && format.dwRGBBitCount != 16) return false;
  bytes_per_pixel_ = static_cast<int32_t>(format.dwRGBBitCount / 8);
  red_ = channel_of(format.dwRBitMask);
  green_ = channel_of(format.dwGBitMask);
  blue_ = channel_of(format.dwBBitMask);
  description = {};
  description.dwSize = sizeof description;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  description.dwWidth = static_cast<DWORD>(width_);
  description.dwHeight = static_cast<DWORD>(height_);
  return SUCCEEDED(draw_->CreateSurface(&description, &offscreen_, nullptr));
}

void DirectDrawPresenter::open_keyboard() {
  using DirectInputCreate = HRESULT(WINAPI*)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);
  const auto create = library_function<DirectInputCreate>(L"dinput.dll", "DirectInputCreateA");
  // Without DirectInput the window's own keyboard state serves.
  if (create == nullptr || FAILED(create(GetModuleHandleW(nullptr), 0x0300, &input_, nullptr))) {
    return;
  }
  if (FAILED(input_->CreateDevice(GUID_SysKeyboard, &keyboard_, nullptr)) ||
      FAILED(keyboard_->SetDataFormat(&keyboard_format())) ||
      FAILED(keyboard_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
    release(keyboard_);
    release(input_);
    return;
  }
  keyboard_->Acquire();
}

void DirectDrawPresenter::close() {
  if (keyboard_ != nullptr) keyboard_->Unacquire();
  release(keyboard_);
  release(input_);
  release(offscreen_);
  if (primary_ != nullptr && clipper_ != nullptr) primary_->SetClipper(nullptr);
  release(clipper_);
  release(primary_);
  if (draw_ != nullptr) {
    if (mode_changed_) draw_->RestoreDisplayMode();
    draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
  }
  mode_changed_ = false;
  release(draw_);
  window_ = nullptr;
  dirty_ = {};
}

uint32_t DirectDrawPresenter::pixel_of(uint32_t argb) const {
  const auto part = [](uint32_t value, const Channel& channel) {
    return (value >> (8 - channel.bits)) << channel.shift;
  };
  return part(argb >> 16 & 0xFF, red_) | part(argb >> 8 & 0xFF, green_) | part(argb & 0xFF, blue_);
}

void DirectDrawPresenter::upload(const uint32_t* display, int32_t pitch, DisplayLines lines) {
  if (offscreen_ == nullptr) return;
  const int32_t first = std::max(lines.first, 0);
  const int32_t end = std::min(lines.end, height_);
  if (first >= end) return;
  DDSURFACEDESC surface{};
  surface.dwSize = sizeof surface;
  HRESULT locked = offscreen_->Lock(nullptr, &surface, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
  if (locked == DDERR_SURFACELOST) {
    offscreen_->Restore();
    locked = offscreen_->Lock(nullptr, &surface, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
  }
  if (FAILED(locked)) return;
  auto* bytes = static_cast<uint8_t*>(surface.lpSurface);
  for (int32_t line = first; line < end; ++line) {
    const uint32_t* source = display + static_cast<size_t>(line) * static_cast<size_t>(pitch);
    uint8_t* target = bytes + static_cast<size_t>(line) * surface.lPitch;
    if (bytes_per_pixel_ == 4) {
      auto* pixels = reinterpret_cast<uint32_t*>(target);
      for (int32_t x = 0; x < width_; ++x) pixels[x] = pixel_of(source[x]);
    } else {
      auto* pixels = reinterpret_cast<uint16_t*>(target);
      for (int32_t x = 0; x < width_; ++x) pixels[x] = static_cast<uint16_t>(pixel_of(source[x]));
    }
  }
  offscreen_->Unlock(nullptr);
  dirty_ = dirty_.empty() ? DisplayLines{first, end}
                          : DisplayLines{std::min(dirty_.first, first), std::max(dirty_.end, end)};
}

bool DirectDrawPresenter::blit(int32_t first, int32_t end) {
  RECT source{0, first, width_, end};
  RECT target{0, top_ + first, width_, top_ + end};
  if (!full_screen_) {
    POINT corner{0, 0};
    ClientToScreen(window_, &corner);
    OffsetRect(&target, corner.x, corner.y);
  }
  const HRESULT blitted = primary_->Blt(&target, offscreen_, &source, DDBLT_WAIT, nullptr);
  if (blitted != DDERR_SURFACELOST) return true;
  primary_->Restore();
  offscreen_->Restore();
  return false;
}

bool DirectDrawPresenter::present() {
  if (primary_ == nullptr || dirty_.empty()) return true;
  const DisplayLines lines = dirty_;
  dirty_ = {};
  return blit(lines.first, lines.end);
}

void DirectDrawPresenter::repaint(HDC) {
  if (primary_ != nullptr) blit(0, height_);
}

bool DirectDrawPresenter::read_key_states(uint8_t* key_states) {
  if (keyboard_ == nullptr) return false;
  BYTE keys[256];
  HRESULT read = keyboard_->GetDeviceState(sizeof keys, keys);
  if (read == DIERR_INPUTLOST || read == DIERR_NOTACQUIRED) {
    keyboard_->Acquire();
    read = keyboard_->GetDeviceState(sizeof keys, keys);
  }
  if (FAILED(read)) return false;
  // Entry i: the key of scan code i, and its extended twin at i + 128.
  for (int i = 0; i < 128; ++i) key_states[i] = ((keys[i] | keys[i + 128]) & 0x80) != 0 ? 1 : 0;
  return true;
}

}  // namespace textscreen::platform
