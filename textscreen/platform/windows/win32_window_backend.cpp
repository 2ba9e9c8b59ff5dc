#include "platform/windows/win32_window_backend.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

// The sent messages the sink is told of: the close box, the maximise box, a change of focus.
bool reaches_sink_later(UINT message, WPARAM wparam) {
  return message == WM_CLOSE || message == WM_ACTIVATEAPP ||
         (message == WM_SIZE && wparam == SIZE_MAXIMIZED);
}

}  // namespace

Win32WindowBackend::Win32WindowBackend(std::unique_ptr<WindowPresenter> presenter)
    : presenter_(std::move(presenter)),
      wake_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      pointer_message_(RegisterWindowMessageW(POINTER_MESSAGE)) {}

Win32WindowBackend::~Win32WindowBackend() {
  destroy();
  if (wake_event_ != nullptr) CloseHandle(wake_event_);
}

bool Win32WindowBackend::create(const WindowSettings& settings, WindowEventSink& sink) {
  creator_sink_ = &sink;  // the events themselves go to the sink from `pump`
  settings_ = settings;
  if (settings.width <= 0 || settings.height <= 0) return false;
  if (settings.full_screen && !presenter_->can_fill_screen()) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring title = widened(settings.title);
  // A wide class: typed characters arrive as UTF-16.
  class_name_ = L"vxgfxclass_" + title.substr(0, CLASS_TITLE_LENGTH);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW | presenter_->extra_class_style();
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
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  // Only a window that can take the whole screen offers the maximise box for it.
  DWORD style = WINDOW_STYLE;
  if (settings.switchable && presenter_->can_fill_screen()) style |= WS_MAXIMIZEBOX;
  RECT frame{0, 0, settings.width, settings.height};
  if (settings.full_screen) {
    style = WS_POPUP;
    frame = {0, 0, screen_width, screen_height};
  } else {
    AdjustWindowRect(&frame, style, FALSE);
    const int outer_width = frame.right - frame.left;
    const int outer_height = frame.bottom - frame.top;
    const int x = std::max(0, (screen_width - outer_width) / 2);
    const int y = std::max(0, (screen_height - outer_height) / 2);
    frame = {x, y, x + outer_width, y + outer_height};
  }
  // Where no display answers, there is no window: the caller stays with the console.
  window_ = CreateWindowExW(settings.full_screen ? WS_EX_TOPMOST : 0, class_name_.c_str(),
                            title.c_str(), style, frame.left, frame.top, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  // Shown only once its presenter has opened: a window the display refuses (a full screen
  // it has no mode for) is destroyed unseen, and the next one comes up without a flash.
  presenter_open_ =
      presenter_->open(window_, settings.width, settings.height, settings.full_screen);
  if (!presenter_open_) return false;
  ShowWindow(window_, SW_SHOW);

  if (SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &screen_saver_was_active_, 0) &&
      screen_saver_was_active_) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    screen_saver_changed_ = true;
  }
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  state_ = {true, settings.width, settings.height};
  return true;
}

void Win32WindowBackend::destroy() {
  // The presenter goes first: a DirectDraw left in charge of the window (a full screen the
  // display refused) may hold up the message queue's own calls.
  if (presenter_open_ || window_ != nullptr) presenter_->close();
  presenter_open_ = false;
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
  show_pointer(true);  // the pointer as the window found it
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
  if (!class_name_.empty()) UnregisterClassW(class_name_.c_str(), GetModuleHandleW(nullptr));
  class_name_.clear();
  if (screen_saver_changed_) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, screen_saver_was_active_, nullptr, 0);
    screen_saver_changed_ = false;
  }
}

void Win32WindowBackend::wait(Deadline deadline) {
  DWORD timeout = INFINITE;
  if (deadline != Deadline::max()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    timeout = static_cast<DWORD>(std::max<int64_t>(left.count(), 0));
  }
  // Also returns for messages already queued and seen by an earlier look.
  MsgWaitForMultipleObjectsEx(1, &wake_event_, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32WindowBackend::wake() {
  SetEvent(wake_event_);
}

bool Win32WindowBackend::fits(const MSG& message, WindowEventSink& sink) const {
  if (is_key_message(message.message)) return sink.room_for_key();
  if (message.message == WM_CHAR) return sink.room_for_text();
  return true;
}

PumpResult Win32WindowBackend::pump(WindowEventSink& sink) {
  sink_ = &sink;
  if (std::exchange(lines_lost_, false)) sink.redraw_needed();
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

LRESULT CALLBACK Win32WindowBackend::window_procedure(HWND window, UINT message, WPARAM wparam,
                                                      LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* backend = reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (backend == nullptr || backend->window_ != window) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return backend->handle(message, wparam, lparam);
}

LRESULT Win32WindowBackend::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == pointer_message_ && pointer_message_ != 0) {
    show_pointer(wparam != 0);
    return 0;
  }
  if (message == WM_PAINT) {
    // The presenter holds the whole frame: what was covered is shown again at once.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (presenter_open_) presenter_->repaint(dc);
    EndPaint(window_, &paint);
    return 0;
  }
  if (sink_ == nullptr) {
    // Sent while no pump runs: the window being made or destroyed, or the window system
    // handing over its own events inside the thread's wait. What the sink must hear comes
    // back to it through the queue, at the next pump, under the frame lock.
    if (reaches_sink_later(message, wparam)) {
      PostMessageW(window_, message, wparam, lparam);
      if (message != WM_ACTIVATEAPP) return 0;  // the window stays, and keeps its size
    }
    return DefWindowProcW(window_, message, wparam, lparam);
  }
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

void Win32WindowBackend::read_key_states(uint8_t* key_states) {
  if (presenter_open_ && presenter_->read_key_states(key_states)) return;
  BYTE keyboard[256];
  std::fill_n(key_states, 128, uint8_t{0});
  if (!GetKeyboardState(keyboard)) return;
  for (UINT virtual_key = 1; virtual_key < 256; ++virtual_key) {
    if ((keyboard[virtual_key] & 0x80) == 0) continue;
    const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    if (scan > 0 && scan < 128) key_states[scan] = 1;
  }
}

void Win32WindowBackend::upload(const uint32_t* display, int32_t pitch, DisplayLines lines) {
  if (presenter_open_) presenter_->upload(display, pitch, lines);
}

void Win32WindowBackend::present() {
  if (presenter_open_ && !presenter_->present()) lines_lost_ = true;
}

void Win32WindowBackend::set_title(std::string_view title) {
  if (window_ != nullptr) SetWindowTextW(window_, widened(title).c_str());
}

void Win32WindowBackend::move_pointer(int32_t x, int32_t y, bool shown) {
  if (window_ == nullptr) return;
  POINT place{x, y};
  ClientToScreen(window_, &place);
  SetCursorPos(place.x, place.y);
  show_pointer(shown);
}

void Win32WindowBackend::show_pointer(bool shown) {
  // The system counts shows and hides: one of each at most, as the last request says.
  if (shown == pointer_hidden_) {
    ShowCursor(shown ? TRUE : FALSE);
    pointer_hidden_ = !shown;
  }
}

// As the window was made, the other way round; where that fails, as it was before.
void Win32WindowBackend::switch_full_screen() {
  if (!presenter_->can_fill_screen() || creator_sink_ == nullptr) return;
  WindowSettings settings = settings_;
  WindowEventSink& sink = *creator_sink_;
  destroy();
  settings.full_screen = !settings.full_screen;
  if (create(settings, sink)) return;
  destroy();
  settings.full_screen = !settings.full_screen;
  if (create(settings, sink)) return;
  // Not even the window it had: nothing is left to show the program or to type into.
  destroy();
  sink.display_lost();
}

int32_t Win32WindowBackend::refresh_rate() {
  HDC screen = GetDC(nullptr);
  const int rate = GetDeviceCaps(screen, VREFRESH);
  ReleaseDC(nullptr, screen);
  return rate > 1 ? rate : 0;  // 0 and 1 stand for the hardware's default
}

std::vector<DisplayMode> Win32WindowBackend::display_modes() {
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
