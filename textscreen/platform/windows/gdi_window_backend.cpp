#include "platform/windows/gdi_window_backend.h"

#include <algorithm>
#include <cstring>

#include "platform/code_pages.h"

namespace textscreen::platform {
namespace {

constexpr DWORD WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// A window class name holds at most this many characters of the title.
constexpr size_t CLASS_TITLE_LENGTH = 139;

std::wstring widened(std::string_view text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// The character the layout gives for the key with the keys in `keyboard` held, as code page
// 437; 0 for a dead key or a key that gives none or more than one.
uint8_t layout_character(WPARAM virtual_key, LPARAM lparam, const BYTE keyboard[256]) {
  const UINT mapped = MapVirtualKeyW(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR);
  if (mapped == 0 || (mapped & 0x80000000u) != 0) return 0;
  WCHAR typed[4];
  const int count = ToUnicode(static_cast<UINT>(virtual_key),
                              static_cast<UINT>((lparam >> 16) & 0xFF), keyboard, typed, 4, 0);
  return count == 1 ? byte_for(CodePage::cp437, typed[0]) : 0;
}

bool is_key_message(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

bool is_character_message(UINT message) {
  return message == WM_CHAR || message == WM_SYSCHAR;
}

}  // namespace

GdiWindowBackend::GdiWindowBackend() : wake_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

GdiWindowBackend::~GdiWindowBackend() {
  destroy();
  if (wake_event_ != nullptr) CloseHandle(wake_event_);
}

bool GdiWindowBackend::create(const WindowSettings& settings, WindowEventSink& sink) {
  (void)sink;  // the sink gets the events from `pump`
  if (settings.full_screen || settings.width <= 0 || settings.height <= 0) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring title = widened(settings.title);
  // A wide class: typed characters arrive as UTF-16.
  class_name_ = L"vxgfxclass_" + title.substr(0, CLASS_TITLE_LENGTH);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, L"VX_PROGRAM_ICON");
  // Else the standard application icon (IDI_APPLICATION); the arrow cursor (IDC_ARROW).
  if (window_class.hIcon == nullptr)
    window_class.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  window_class.lpszClassName = class_name_.c_str();
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  RECT frame{0, 0, settings.width, settings.height};
  AdjustWindowRect(&frame, WINDOW_STYLE, FALSE);
  const int outer_width = frame.right - frame.left;
  const int outer_height = frame.bottom - frame.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2);
  // Where no display answers, there is no window: the caller stays with the console.
  window_ = CreateWindowExW(0, class_name_.c_str(), title.c_str(), WINDOW_STYLE, x, y, outer_width,
                            outer_height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;

  width_ = settings.width;
  height_ = settings.height;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width_;
  format.bmiHeader.biHeight = -height_;  // top-down: line 0 first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC window_dc = GetDC(window_);
  bitmap_dc_ = CreateCompatibleDC(window_dc);
  ReleaseDC(window_, window_dc);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(bitmap_dc_, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) return false;
  pixels_ = static_cast<uint32_t*>(bits);
  std::memset(pixels_, 0, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  old_bitmap_ = SelectObject(bitmap_dc_, bitmap_);

  if (SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &screen_saver_was_active_, 0) &&
      screen_saver_was_active_) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    screen_saver_changed_ = true;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  state_ = {true, width_, height_};
  return true;
}

void GdiWindowBackend::destroy() {
  if (window_ != nullptr) {
    // Keys typed and not yet read stay for the next window, each key with its characters.
    MSG message;
    while (PeekMessageW(&message, window_, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      if (is_key_message(message.message)) TranslateMessage(&message);
      if (is_key_message(message.message) || is_character_message(message.message)) {
        unread_.push_back(message);
      }
    }
  }
  if (bitmap_dc_ != nullptr) {
    if (old_bitmap_ != nullptr) SelectObject(bitmap_dc_, old_bitmap_);
    DeleteDC(bitmap_dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_dc_ = nullptr;
  old_bitmap_ = nullptr;
  bitmap_ = nullptr;
  pixels_ = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
  if (!class_name_.empty()) UnregisterClassW(class_name_.c_str(), GetModuleHandleW(nullptr));
  class_name_.clear();
  if (screen_saver_changed_) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, screen_saver_was_active_, nullptr, 0);
    screen_saver_changed_ = false;
  }
}

void GdiWindowBackend::wait(Deadline deadline) {
  DWORD timeout = INFINITE;
  if (deadline != Deadline::max()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    timeout = static_cast<DWORD>(std::max<int64_t>(left.count(), 0));
  }
  // Also returns for messages already queued and seen by an earlier look.
  MsgWaitForMultipleObjectsEx(1, &wake_event_, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void GdiWindowBackend::wake() {
  SetEvent(wake_event_);
}

bool GdiWindowBackend::fits(const MSG& message, WindowEventSink& sink) const {
  if (is_key_message(message.message)) return sink.room_for_key();
  if (message.message == WM_CHAR) return sink.room_for_text();
  return true;
}

PumpResult GdiWindowBackend::pump(WindowEventSink& sink) {
  sink_ = &sink;
  PumpResult result = PumpResult::drained;
  while (!unread_.empty()) {
    if (!fits(unread_.front(), sink)) {
      result = PumpResult::keys_held;
      break;
    }
    const MSG message = unread_.front();
    unread_.pop_front();
    handle(message.message, message.wParam, message.lParam);
  }
  MSG message;
  while (result == PumpResult::drained && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!fits(message, sink)) {
      result = PumpResult::keys_held;
      break;
    }
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    if (is_key_message(message.message)) TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  sink_ = nullptr;
  return result;
}

LRESULT CALLBACK GdiWindowBackend::window_procedure(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* backend = reinterpret_cast<GdiWindowBackend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (backend == nullptr || backend->window_ != window) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return backend->handle(message, wparam, lparam);
}

LRESULT GdiWindowBackend::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    // The bitmap holds the whole frame: what was covered is shown again at once.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    BitBlt(dc, 0, 0, width_, height_, bitmap_dc_, 0, 0, SRCCOPY);
    EndPaint(window_, &paint);
    return 0;
  }
  // Messages sent while no pump runs (the window being made or destroyed) reach no sink.
  if (sink_ == nullptr) return DefWindowProcW(window_, message, wparam, lparam);
  WindowKeyEvent key;
  if (is_key_message(message)) {
    BYTE keyboard[256];
    GetKeyboardState(keyboard);
    const BYTE none[256] = {};
    key = window_key_event(wparam, lparam, keyboard, layout_character(wparam, lparam, keyboard),
                           layout_character(wparam, lparam, none));
  }
  const MessageOutcome outcome =
      handle_window_message(message, wparam, lparam, key, state_, *sink_);
  return outcome.handled ? 0 : DefWindowProcW(window_, message, wparam, lparam);
}

void GdiWindowBackend::read_key_states(uint8_t* key_states) {
  BYTE keyboard[256];
  std::fill_n(key_states, 128, uint8_t{0});
  if (!GetKeyboardState(keyboard)) return;
  for (UINT virtual_key = 1; virtual_key < 256; ++virtual_key) {
    if ((keyboard[virtual_key] & 0x80) == 0) continue;
    const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    if (scan > 0 && scan < 128) key_states[scan] = 1;
  }
}

void GdiWindowBackend::upload(const uint32_t* display, int32_t pitch, DisplayLines lines) {
  if (pixels_ == nullptr) return;
  const int32_t first = std::max(lines.first, 0);
  const int32_t end = std::min(lines.end, height_);
  // ARGB8888 words are the bitmap's blue, green, red, unused bytes.
  for (int32_t line = first; line < end; ++line) {
    std::memcpy(pixels_ + static_cast<size_t>(line) * static_cast<size_t>(width_),
                display + static_cast<size_t>(line) * static_cast<size_t>(pitch),
                static_cast<size_t>(width_) * 4);
  }
  if (first >= end) return;
  if (dirty_first_ >= dirty_end_) {
    dirty_first_ = first;
    dirty_end_ = end;
  } else {
    dirty_first_ = std::min(dirty_first_, first);
    dirty_end_ = std::max(dirty_end_, end);
  }
}

void GdiWindowBackend::present() {
  if (window_ == nullptr || dirty_first_ >= dirty_end_) return;
  // The changed lines in one blit.
  HDC dc = GetDC(window_);
  BitBlt(dc, 0, dirty_first_, width_, dirty_end_ - dirty_first_, bitmap_dc_, 0, dirty_first_,
         SRCCOPY);
  ReleaseDC(window_, dc);
  GdiFlush();
  dirty_first_ = dirty_end_ = 0;
}

void GdiWindowBackend::set_title(std::string_view title) {
  if (window_ != nullptr) SetWindowTextW(window_, widened(title).c_str());
}

void GdiWindowBackend::move_pointer(int32_t x, int32_t y, bool shown) {
  if (window_ == nullptr) return;
  POINT place{x, y};
  ClientToScreen(window_, &place);
  SetCursorPos(place.x, place.y);
  // The system counts shows and hides: one of each at most, as the last request says.
  if (shown == pointer_hidden_) {
    ShowCursor(shown ? TRUE : FALSE);
    pointer_hidden_ = !shown;
  }
}

int32_t GdiWindowBackend::refresh_rate() {
  HDC screen = GetDC(nullptr);
  const int rate = GetDeviceCaps(screen, VREFRESH);
  ReleaseDC(nullptr, screen);
  return rate > 1 ? rate : 0;  // 0 and 1 stand for the hardware's default
}

std::vector<DisplayMode> GdiWindowBackend::display_modes() {
  std::vector<DisplayMode> modes;
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i) {
    modes.push_back({static_cast<int32_t>(mode.dmBitsPerPel),
                     static_cast<int32_t>(mode.dmPelsWidth << 16 | mode.dmPelsHeight)});
  }
  return modes;
}

}  // namespace textscreen::platform
