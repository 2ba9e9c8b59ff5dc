// The calculators' window with nothing behind it: waits in its console for Enter, then opens a
// centred window of a 640x480 client area with the calculators' frame (caption, system menu,
// minimise box), titled "bare", and blits one 640x480 frame with GDI, black but for a "K" in
// the text cell at column 39, row 0, where tripcost's heading has its "K". Then only a plain
// message loop, until the window is closed or Esc is pressed in it.
// bench/windows/window_latency_wine.sh times its opening beside tripcost.exe's: the least
// that opening a window costs under Wine.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr int CELL_WIDTH = 8;
constexpr int LIT_COLUMN = 39;
constexpr DWORD WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t LIT = 0x00FFFF55;  // light yellow, as 0x00RRGGBB

// An 8x16 "K", bit 7 the leftmost pixel.
constexpr uint8_t K_GLYPH[16] = {0x00, 0x00, 0xE6, 0x66, 0x66, 0x6C, 0x78, 0x78,
                                 0x6C, 0x66, 0x66, 0xE6, 0x00, 0x00, 0x00, 0x00};

std::vector<uint32_t> frame(static_cast<size_t>(WIDTH) * HEIGHT);

void draw_frame() {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < CELL_WIDTH; ++x) {
      if ((K_GLYPH[y] & (0x80 >> x)) != 0) {
        frame[static_cast<size_t>(y) * WIDTH + LIT_COLUMN * CELL_WIDTH + x] = LIT;
      }
    }
  }
}

void blit(HDC device) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = WIDTH;
  info.bmiHeader.biHeight = -HEIGHT;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(device, 0, 0, WIDTH, HEIGHT, 0, 0, 0, HEIGHT, frame.data(), &info,
                    DIB_RGB_COLORS);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC device = BeginPaint(window, &paint);
      blit(device);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wparam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// Reads the console's input events until Enter is pressed; false when the input ends.
bool wait_for_enter() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  INPUT_RECORD record;
  DWORD read = 0;
  while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
        record.Event.KeyEvent.wVirtualKeyCode == VK_RETURN) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main() {
  // The start screen's prompt: the bench waits for it before it presses Enter.
  const wchar_t prompt[] = L"bare: Enter opens the window\r\n";
  DWORD written = 0;
  WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), prompt, sizeof prompt / sizeof prompt[0] - 1,
                &written, nullptr);
  if (!wait_for_enter()) return 1;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.lpszClassName = L"bare_window";
  if (RegisterClassExW(&window_class) == 0) return 1;
  RECT outer{0, 0, WIDTH, HEIGHT};
  AdjustWindowRect(&outer, WINDOW_STYLE, FALSE);
  const int outer_width = outer.right - outer.left;
  const int outer_height = outer.bottom - outer.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
  draw_frame();
  HWND window = CreateWindowExW(0, window_class.lpszClassName, L"bare", WINDOW_STYLE, x > 0 ? x : 0,
                                y > 0 ? y : 0, outer_width, outer_height, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);  // the first frame, painted at once

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
