#include "platform/windows/win32_console.h"

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include "platform/code_pages.h"
#include "platform/keyboard_layout.h"

namespace textscreen::platform {
namespace {

// The character a cell shows for a byte of code page 852: the glyph the byte has in that
// page, control bytes included (0x01 shows as a smiling face).
WCHAR wide_of(uint8_t byte) {
  return static_cast<WCHAR>(code_point_of(CodePage::cp852, byte));
}

CHAR_INFO char_info_of(ConsoleCell cell) {
  CHAR_INFO info{};
  info.Char.UnicodeChar = wide_of(cell.character);
  info.Attributes = cell.attribute;
  return info;
}

KeyEvent key_of_record(const KEY_EVENT_RECORD& record) {
  KeyEvent key;
  key.key_down = record.bKeyDown != FALSE;
  key.repeat_count = record.wRepeatCount;
  key.virtual_key = record.wVirtualKeyCode;
  key.scan_code = record.wVirtualScanCode;
  key.character = byte_for(CodePage::cp852, record.uChar.UnicodeChar);
  key.control_state = record.dwControlKeyState;
  return key;
}

InputEvent event_of_record(const INPUT_RECORD& record) {
  InputEvent event;
  switch (record.EventType) {
    case KEY_EVENT:
      event.type = InputEventType::key;
      event.key = key_of_record(record.Event.KeyEvent);
      break;
    case MOUSE_EVENT:
      event.type = InputEventType::mouse;
      break;
    default:
      event.type = InputEventType::other;
      break;
  }
  return event;
}

// Inclusive rectangles in int, so that moved edges cannot overflow.
struct Span {
  int left, top, right, bottom;
  bool empty() const { return left > right || top > bottom; }
};

Span intersection(const Span& a, const Span& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

SMALL_RECT small_rect_of(const Span& s) {
  return {static_cast<SHORT>(s.left), static_cast<SHORT>(s.top), static_cast<SHORT>(s.right),
          static_cast<SHORT>(s.bottom)};
}

// The control handler the layer registered; the console calls the trampoline on a thread of
// its own, which passes the event on.
std::atomic<ControlHandler> registered_handler{nullptr};

BOOL WINAPI control_trampoline(DWORD event) {
  const ControlHandler handler = registered_handler.load();
  return handler != nullptr && handler(event) ? TRUE : FALSE;
}

}  // namespace

Win32Console::Win32Console(HANDLE input, HANDLE output) : input_(input), output_(output) {
  DWORD mode = 0;
  input_is_console_ =
      input_ != nullptr && input_ != INVALID_HANDLE_VALUE && GetConsoleMode(input_, &mode) != FALSE;
  if (!input_is_console_) scripted_input_ = std::make_unique<ScriptedInput>(input_);
}

bool Win32Console::buffer_size(CellPosition& size) {
  if (!known_size_.has_value()) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output_, &info)) return false;
    known_size_ = CellPosition{info.dwSize.X, info.dwSize.Y};
  }
  size = *known_size_;
  return true;
}

bool Win32Console::inside_buffer(CellPosition position) {
  CellPosition size;
  return buffer_size(size) && position.column >= 0 && position.row >= 0 &&
         position.column < size.column && position.row < size.row;
}

bool Win32Console::read_screen_buffer_info(ScreenBufferInfo& info) {
  CONSOLE_SCREEN_BUFFER_INFO console;
  if (!GetConsoleScreenBufferInfo(output_, &console)) {
    known_size_.reset();
    return false;
  }
  info.size = {console.dwSize.X, console.dwSize.Y};
  known_size_ = info.size;
  info.cursor = {console.dwCursorPosition.X, console.dwCursorPosition.Y};
  info.attribute = console.wAttributes;
  info.window = {console.srWindow.Left, console.srWindow.Top, console.srWindow.Right,
                 console.srWindow.Bottom};
  info.largest_window = {console.dwMaximumWindowSize.X, console.dwMaximumWindowSize.Y};
  return true;
}

bool Win32Console::set_text_attribute(uint16_t attribute) {
  return SetConsoleTextAttribute(output_, attribute) != FALSE;
}

// A fill that starts outside the buffer is refused here: some consoles would run it on from
// the linear index. The count written is not looked at, since not every console reports it.
bool Win32Console::fill_characters(uint8_t character, int32_t count, CellPosition start) {
  if (!inside_buffer(start)) return false;
  if (count <= 0) return true;
  DWORD written = 0;
  return FillConsoleOutputCharacterW(output_, wide_of(character), static_cast<DWORD>(count),
                                     {start.column, start.row}, &written) != FALSE;
}

bool Win32Console::fill_attributes(uint16_t attribute, int32_t count, CellPosition start) {
  if (!inside_buffer(start)) return false;
  if (count <= 0) return true;
  DWORD written = 0;
  return FillConsoleOutputAttribute(output_, attribute, static_cast<DWORD>(count),
                                    {start.column, start.row}, &written) != FALSE;
}

bool Win32Console::write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) {
  CellPosition size;
  if (!buffer_size(size) || !inside_buffer(start)) return false;
  const int32_t n = std::min<int32_t>(count, size.column - start.column);
  if (n <= 0) return true;
  std::vector<CHAR_INFO> row(static_cast<size_t>(n));
  std::transform(cells, cells + n, row.begin(), char_info_of);
  SMALL_RECT area{start.column, start.row, static_cast<SHORT>(start.column + n - 1), start.row};
  return WriteConsoleOutputW(output_, row.data(), {static_cast<SHORT>(n), 1}, {0, 0}, &area) !=
         FALSE;
}

bool Win32Console::fill_rectangle(const SMALL_RECT& area, ConsoleCell fill) {
  const int width = area.Right - area.Left + 1;
  const int height = area.Bottom - area.Top + 1;
  std::vector<CHAR_INFO> cells(static_cast<size_t>(width) * static_cast<size_t>(height),
                               char_info_of(fill));
  SMALL_RECT written = area;
  return WriteConsoleOutputW(output_, cells.data(),
                             {static_cast<SHORT>(width), static_cast<SHORT>(height)}, {0, 0},
                             &written) != FALSE;
}

// The console moves the cells: the source clipped to the part whose destination lies in the
// buffer and in the clip, the clip being exactly that destination. The uncovered cells are
// then filled here, row band by row band, so that no console's own rule for rectangles
// reaching past the buffer, or for fills under a clip, comes into play.
bool Win32Console::scroll_rectangle(const CellRect& source, const CellRect* clip,
                                    CellPosition destination, ConsoleCell fill) {
  CellPosition size;
  if (!buffer_size(size)) return false;
  const Span whole{0, 0, size.column - 1, size.row - 1};
  const Span from = intersection({source.left, source.top, source.right, source.bottom}, whole);
  if (from.empty()) return false;
  const Span limit = clip != nullptr
                         ? intersection({clip->left, clip->top, clip->right, clip->bottom}, whole)
                         : whole;
  // Every source cell moves by (dx, dy), measured from the source as given.
  const int dx = destination.column - source.left;
  const int dy = destination.row - source.top;
  const Span to =
      intersection({from.left + dx, from.top + dy, from.right + dx, from.bottom + dy}, limit);
  bool done = true;
  if (!to.empty()) {
    const SMALL_RECT moved =
        small_rect_of({to.left - dx, to.top - dy, to.right - dx, to.bottom - dy});
    const SMALL_RECT landing = small_rect_of(to);
    const CHAR_INFO fill_info = char_info_of(fill);
    done = ScrollConsoleScreenBufferW(output_, &moved, &landing,
                                      {static_cast<SHORT>(to.left), static_cast<SHORT>(to.top)},
                                      &fill_info) != FALSE;
  }
  // The uncovered part of the source inside the clip: the bands above and below the landed
  // cells, and left and right of them on the rows they reach.
  const Span uncovered = intersection(from, limit);
  if (uncovered.empty()) return done;
  if (to.empty()) return fill_rectangle(small_rect_of(uncovered), fill) && done;
  const Span bands[] = {
      {uncovered.left, uncovered.top, uncovered.right, std::min(uncovered.bottom, to.top - 1)},
      {uncovered.left, std::max(uncovered.top, to.bottom + 1), uncovered.right, uncovered.bottom},
      {uncovered.left, std::max(uncovered.top, to.top), std::min(uncovered.right, to.left - 1),
       std::min(uncovered.bottom, to.bottom)},
      {std::max(uncovered.left, to.right + 1), std::max(uncovered.top, to.top), uncovered.right,
       std::min(uncovered.bottom, to.bottom)},
  };
  for (const Span& band : bands) {
    if (!band.empty()) done = fill_rectangle(small_rect_of(band), fill) && done;
  }
  return done;
}

bool Win32Console::read_cursor_visible(bool& visible) {
  CONSOLE_CURSOR_INFO info;
  if (!GetConsoleCursorInfo(output_, &info)) return false;
  visible = info.bVisible != FALSE;
  return true;
}

bool Win32Console::set_cursor_visible(bool visible) {
  CONSOLE_CURSOR_INFO info;
  if (!GetConsoleCursorInfo(output_, &info)) return false;
  info.bVisible = visible ? TRUE : FALSE;
  return SetConsoleCursorInfo(output_, &info) != FALSE;
}

bool Win32Console::set_cursor_position(CellPosition position) {
  if (!inside_buffer(position)) return false;
  return SetConsoleCursorPosition(output_, {position.column, position.row}) != FALSE;
}

bool Win32Console::set_window_rect(const CellRect& window) {
  const SMALL_RECT rect{window.left, window.top, window.right, window.bottom};
  return SetConsoleWindowInfo(output_, TRUE, &rect) != FALSE;
}

bool Win32Console::set_buffer_size(CellPosition size) {
  known_size_.reset();
  return SetConsoleScreenBufferSize(output_, {size.column, size.row}) != FALSE;
}

CellPosition Win32Console::largest_window_size() {
  const COORD largest = GetLargestConsoleWindowSize(output_);
  return {largest.X, largest.Y};
}

bool Win32Console::set_active_buffer() {
  return SetConsoleActiveScreenBuffer(output_) != FALSE;
}

bool Win32Console::write_raw(const uint8_t* bytes, size_t count, size_t& written) {
  written = 0;
  while (written < count) {
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - written, 1u << 20));
    if (!WriteFile(output_, bytes + written, chunk, &done, nullptr)) return written > 0;
    if (done == 0) break;
    written += done;
  }
  return true;
}

bool Win32Console::next_input(InputEvent& event, bool take) {
  if (scripted_input_ != nullptr) {
    if (!(take ? scripted_input_->take(event.key) : scripted_input_->peek(event.key))) return false;
    event.type = InputEventType::key;
    return true;
  }
  // The console's read waits for an event: it is made only when the peek saw one.
  INPUT_RECORD record;
  DWORD count = 0;
  if (!PeekConsoleInputW(input_, &record, 1, &count) || count == 0) return false;
  if (take && (!ReadConsoleInputW(input_, &record, 1, &count) || count == 0)) return false;
  event = event_of_record(record);
  return true;
}

void Win32Console::wait_for_input(std::chrono::milliseconds timeout) {
  if (scripted_input_ != nullptr) {
    scripted_input_->wait(timeout);
    return;
  }
  WaitForSingleObject(input_, static_cast<DWORD>(std::max<int64_t>(timeout.count(), 0)));
}

bool Win32Console::input_ended() {
  return scripted_input_ != nullptr && scripted_input_->ended();
}

// As the user's closing of the console window does it: the handler hears of the close on a
// thread of its own, then the process ends with the status of a closed console. The reason
// goes to standard error first.
void Win32Console::close_console(std::string_view reason) {
  if (closing_.exchange(true)) return;
  std::thread([reason = std::string(reason)] {
    control_trampoline(CTRL_CLOSE_EVENT);
    if (!reason.empty()) {
      const std::string line = reason + "\r\n";
      DWORD written = 0;
      WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
                &written, nullptr);
    }
    ExitProcess(CLOSED_CONSOLE_STATUS);
  }).detach();
}

// The mode bits are the console's own; INPUT_MODE_PROCESSED is its processed-input bit.
bool Win32Console::read_input_mode(uint32_t& mode) {
  DWORD console_mode = 0;
  if (!input_is_console_ || !GetConsoleMode(input_, &console_mode)) return false;
  mode = console_mode;
  return true;
}

bool Win32Console::set_input_mode(uint32_t mode) {
  return input_is_console_ && SetConsoleMode(input_, mode) != FALSE;
}

bool Win32Console::set_control_handler(ControlHandler handler, bool add) {
  if (add) {
    registered_handler = handler;
    return SetConsoleCtrlHandler(control_trampoline, TRUE) != FALSE;
  }
  ControlHandler expected = handler;
  registered_handler.compare_exchange_strong(expected, nullptr);
  return SetConsoleCtrlHandler(control_trampoline, FALSE) != FALSE;
}

// The keyboard layout's character for the key, as 852; dead keys (bit 31) give none. The
// layout is the window system's, loaded on the first key that needs it: a console program
// that links the window system pays for it at every start.
uint8_t Win32Console::virtual_key_to_char(uint16_t virtual_key) {
  using MapVirtualKey = UINT(WINAPI*)(UINT, UINT);
  static const auto map_virtual_key = [] {
    HMODULE user = LoadLibraryW(L"user32.dll");
    return user == nullptr ? nullptr
                           : reinterpret_cast<MapVirtualKey>(
                                 reinterpret_cast<void*>(GetProcAddress(user, "MapVirtualKeyW")));
  }();
  if (map_virtual_key == nullptr) return unshifted_character(virtual_key);
  const UINT mapped = map_virtual_key(virtual_key, MAPVK_VK_TO_CHAR);
  if (mapped == 0 || (mapped & 0x80000000u) != 0) return 0;
  return byte_for(CodePage::cp852, static_cast<char32_t>(mapped & 0xFFFF));
}

// The console's own bell: a BEL written to it sounds and leaves the cells and the cursor as
// they are. (Not the window system's alert: a console program that loads the window system
// pays for it at every start.)
void Win32Console::ring_bell() {
  DWORD written = 0;
  WriteConsoleW(output_, L"\a", 1, &written, nullptr);
}

}  // namespace textscreen::platform
